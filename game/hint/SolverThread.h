// A thread of its own for perfect play, for an object of the window's
// thread: one job at a time, a newer job replacing the one waiting and
// stopping the one under way, and one solver whose table is kept from job to
// job (what it learnt of one grid serves the grids that follow in a game).
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace zerud {

class TSolver;

class TSolverThread {
 public:
  // Runs on the thread with its solver, null when the system had no memory
  // for its table, and the flag raised to stop it. A job posts its answer
  // to the window's thread itself, and gives up once the flag is raised.
  using TJob = std::function<void(TSolver* solver, const std::atomic<bool>& stop)>;

  TSolverThread();
  // Stops the job under way and waits for the thread, which notices within
  // a millisecond or so.
  ~TSolverThread();

  // Replaces the job waiting, and stops the one under way.
  void Start(TJob job);
  // Drops the job waiting and stops the one under way.
  void Drop();

 private:
  void Run();

  std::mutex mutex_;
  std::condition_variable wake_;
  TJob pending_;
  bool quit_ = false;
  std::atomic<bool> stop_{false};
  // Made at the first job, on the thread.
  std::unique_ptr<TSolver> solver_;
  bool solverTried_ = false;
  // Last: starts once everything above is ready.
  std::thread thread_;
};

}  // namespace zerud
