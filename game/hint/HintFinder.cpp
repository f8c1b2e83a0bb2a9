#include "game/hint/HintFinder.h"

#include <QMetaObject>
#include <algorithm>
#include <atomic>
#include <optional>
#include <string>

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

THint FromSolver(const TSolverChoice& choice) {
  const THint::TValue value = choice.Score > 0   ? THint::TValue::Win
                              : choice.Score < 0 ? THint::TValue::Loss
                                                 : THint::TValue::Draw;
  return THint{choice.Column, value, choice.Score};
}

struct TRequest {
  TBoard Grid;
  TPatternTable Table;
  bool Solve = true;  // false for a budget of 0
  TClock::time_point Deadline;
};

// The column the machine's search chooses for the side to move. The search
// plays yellow: for red, the colours change places. On the empty grid the
// machine would open with a random column, which is no advice: the hint asks
// for a search whatever the number of pieces.
THint Estimate(const TBoard& grid, int playerToMove, const TPatternTable& table,
               const std::atomic<bool>& stop) {
  const TBoard board = playerToMove == 1 ? SwapColours(grid) : grid;
  const int pieces = PieceCount(board);
  TSearchState state;
  state.MaxDepth = 2 * kExpertLevel;
  TRandomSource random(kSeed);
  try {
    const int column =
        ChooseMachineColumn(board, std::max(pieces + 1, 2), state, table, random, [&stop] {
          if (stop.load(std::memory_order_relaxed)) {
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

THint Hint(const TRequest& request, TSolver* solver, const std::atomic<bool>& stop) {
  std::string why;
  const std::optional<TSolverGrid> grid = ToSolverGrid(request.Grid, why);
  if (!grid || LeftmostOpenColumn(request.Grid) < 0) return {};
  // Step 1. Perfect play, until the deadline.
  if (request.Solve && solver != nullptr) {
    const std::optional<TSolverChoice> choice =
        solver->BestColumn(grid->Position, TSolveLimit{request.Deadline, &stop});
    if (choice) return FromSolver(*choice);
    if (stop) return {};
  }
  // Step 2. The machine's choice at "Expert".
  return Estimate(request.Grid, grid->PlayerToMove, request.Table, stop);
}

}  // namespace

THintFinder::THintFinder(QObject* parent)
    : QObject(parent), thread_(std::make_unique<TSolverThread>()) {}

// The thread stops before the object it posts its answers to goes; an answer
// already posted goes with the object, undelivered.
THintFinder::~THintFinder() { thread_.reset(); }

void THintFinder::SetBudget(std::chrono::milliseconds budget) {
  budget_ = std::max(budget, std::chrono::milliseconds(0));
}

void THintFinder::Find(const TBoard& grid, const TPatternTable& table) {
  const std::uint64_t number = ++request_;
  busy_ = true;
  TRequest request{grid, table, budget_.count() > 0, TClock::now() + budget_};
  thread_->Start(
      [this, number, request = std::move(request)](TSolver* solver, const std::atomic<bool>& stop) {
        const THint hint = Hint(request, solver, stop);
        if (stop) return;
        QMetaObject::invokeMethod(
            this, [this, number, hint] { Deliver(number, hint); }, Qt::QueuedConnection);
      });
}

void THintFinder::Cancel() {
  busy_ = false;
  thread_->Drop();
}

void THintFinder::Deliver(std::uint64_t request, THint hint) {
  if (request != request_ || !busy_) return;
  busy_ = false;
  emit Found(hint);
}

}  // namespace zerud
