#include "game/HintFinder.h"

#include <QMetaObject>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <thread>

#include "rules/Errors.h"
#include "rules/Random.h"
#include "rules/Search.h"
#include "solver/Solver.h"

namespace zerud {

namespace {

using TClock = std::chrono::steady_clock;

// The machine's level whose choice stands in for perfect play: "Expert".
constexpr int kExpertLevel = 5;
// The machine's search draws no random number here (see Estimate): any seed
// gives the same column.
constexpr std::uint32_t kSeed = 1;

// Unwinds the machine's search of a dropped request.
struct TDropped {};

// The same grid with red and yellow exchanged.
THint FromSolver(const TSolverChoice& choice) {
  const THint::TValue value = choice.Score > 0   ? THint::TValue::Win
                              : choice.Score < 0 ? THint::TValue::Loss
                                                 : THint::TValue::Draw;
  return THint{choice.Column, value, choice.Score};
}

}  // namespace

class THintFinder::TWorker {
 public:
  struct TRequest {
    std::uint64_t Number = 0;
    TBoard Grid;
    TPatternTable Table;
    bool Solve = true;  // false for a budget of 0
    TClock::time_point Deadline;
  };

  explicit TWorker(THintFinder* owner) : owner_(owner), thread_([this] { Run(); }) {}

  ~TWorker() {
    {
      const std::lock_guard lock(mutex_);
      quit_ = true;
      pending_.reset();
      stop_ = true;
    }
    wake_.notify_one();
    thread_.join();
  }

  // Replaces the request waiting, and stops the one under way.
  void Start(TRequest request) {
    {
      const std::lock_guard lock(mutex_);
      pending_ = std::move(request);
      stop_ = true;
    }
    wake_.notify_one();
  }

  void Drop() {
    const std::lock_guard lock(mutex_);
    pending_.reset();
    stop_ = true;
  }

 private:
  void Run() {
    for (;;) {
      TRequest request;
      {
        std::unique_lock lock(mutex_);
        wake_.wait(lock, [this] { return quit_ || pending_; });
        if (quit_) return;
        request = std::move(*pending_);
        pending_.reset();
        // Under the lock: a Start or Drop from now on stops this request.
        stop_ = false;
      }
      THint hint;
      try {
        hint = Hint(request);
      } catch (const std::exception&) {
        // Nothing to advise; the window goes on.
      }
      if (stop_) continue;
      THintFinder* const owner = owner_;
      QMetaObject::invokeMethod(
          owner, [owner, number = request.Number, hint] { owner->Deliver(number, hint); },
          Qt::QueuedConnection);
    }
  }

  THint Hint(const TRequest& request) {
    std::string why;
    const std::optional<TSolverGrid> grid = ToSolverGrid(request.Grid, why);
    if (!grid || LeftmostOpenColumn(request.Grid) < 0) return {};
    // Step 1. Perfect play, until the deadline.
    if (request.Solve) {
      try {
        if (!solver_) solver_ = std::make_unique<TSolver>();
        const std::optional<TSolverChoice> choice =
            solver_->BestColumn(grid->Position, TSolveLimit{request.Deadline, &stop_});
        if (choice) return FromSolver(*choice);
      } catch (const std::bad_alloc&) {
        // No memory for the table: the machine's search needs little.
      }
      if (stop_) return {};
    }
    // Step 2. The machine's choice at "Expert".
    return Estimate(request.Grid, grid->PlayerToMove, request.Table);
  }

  // The column the machine's search chooses for the side to move. The
  // search plays yellow: for red, the colours change places. On the empty
  // grid the machine would open with a random column, which is no advice:
  // the hint asks for a search whatever the number of pieces.
  THint Estimate(const TBoard& grid, int playerToMove, const TPatternTable& table) {
    const TBoard board = playerToMove == 1 ? SwapColours(grid) : grid;
    const int pieces = PieceCount(board);
    TSearchState state;
    state.MaxDepth = 2 * kExpertLevel;
    TRandomSource random(kSeed);
    try {
      const int column =
          ChooseMachineColumn(board, std::max(pieces + 1, 2), state, table, random, [this] {
            if (stop_.load(std::memory_order_relaxed)) {
              throw TDropped{};
            }
          });
      return THint{column, THint::TValue::Estimate};
    } catch (const TDropped&) {
      return {};
    } catch (const TGameError&) {
      // The table's bad weight: the machine's own move reports it.
      return {};
    }
  }

  THintFinder* const owner_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<TRequest> pending_;
  bool quit_ = false;
  // Raised to stop the request under way; read by the searches.
  std::atomic<bool> stop_{false};
  // Made at the first request, kept for the next ones: what it learnt of
  // one grid serves the grids that follow in the same game.
  std::unique_ptr<TSolver> solver_;
  // Last: starts once everything above is ready.
  std::thread thread_;
};

THintFinder::THintFinder(QObject* parent)
    : QObject(parent), worker_(std::make_unique<TWorker>(this)) {}

// The worker stops before the object it posts its answers to goes; an answer
// already posted goes with the object, undelivered.
THintFinder::~THintFinder() { worker_.reset(); }

void THintFinder::SetBudget(std::chrono::milliseconds budget) {
  budget_ = std::max(budget, std::chrono::milliseconds(0));
}

void THintFinder::Find(const TBoard& grid, const TPatternTable& table) {
  ++request_;
  busy_ = true;
  worker_->Start(
      TWorker::TRequest{request_, grid, table, budget_.count() > 0, TClock::now() + budget_});
}

void THintFinder::Cancel() {
  busy_ = false;
  worker_->Drop();
}

void THintFinder::Deliver(std::uint64_t request, THint hint) {
  if (request != request_ || !busy_) return;
  busy_ = false;
  emit Found(hint);
}

}  // namespace zerud
