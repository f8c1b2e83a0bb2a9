#include "game/hint/SolverThread.h"

#include <exception>
#include <new>

#include "solver/Solver.h"

namespace zerud {

TSolverThread::TSolverThread() : thread_([this] { Run(); }) {}

TSolverThread::~TSolverThread() {
  {
    const std::lock_guard lock(mutex_);
    quit_ = true;
    pending_ = nullptr;
    stop_ = true;
  }
  wake_.notify_one();
  thread_.join();
}

void TSolverThread::Start(TJob job) {
  {
    const std::lock_guard lock(mutex_);
    pending_ = std::move(job);
    stop_ = true;
  }
  wake_.notify_one();
}

void TSolverThread::Drop() {
  const std::lock_guard lock(mutex_);
  pending_ = nullptr;
  stop_ = true;
}

void TSolverThread::Run() {
  for (;;) {
    TJob job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return quit_ || pending_; });
      if (quit_) return;
      job = std::move(pending_);
      pending_ = nullptr;
      // Under the lock: a Start or Drop from now on stops this job.
      stop_ = false;
    }
    if (!solverTried_) {
      solverTried_ = true;
      try {
        solver_ = std::make_unique<TSolver>();
      } catch (const std::bad_alloc&) {
        // The jobs go on without perfect play.
      }
    }
    try {
      job(solver_.get(), stop_);
    } catch (const std::exception&) {
      // No answer; the window goes on.
    }
  }
}

}  // namespace zerud
