#include "game/hint/Analysis.h"

#include <QMetaObject>
#include <string>

#include "rules/MoveOrder.h"
#include "solver/Searcher.h"
#include "solver/Solver.h"

namespace zerud {

namespace {

// The grid as the solver takes it with `playerToMove` to move, or nothing.
std::optional<TSolverGrid> SolverGrid(const TBoard& grid, int playerToMove) {
  std::string why;
  const std::optional<TSolverGrid> seen = ToSolverGrid(grid, why);
  if (!seen || seen->PlayerToMove == playerToMove) return seen;
  // As many pieces each and yellow to move: the same grid with the colours
  // exchanged, red to move, is the grid seen from yellow's side.
  if (seen->Position.Pieces() % 2 != 0) return std::nullopt;
  return ToSolverGrid(SwapColours(grid), why);
}

}  // namespace

int ColumnValue(int score, int pieces) {
  if (score > 0) return WinNowScore(pieces) - score + 1;
  if (score < 0) return -(WinNowScore(pieces + 1) + score + 1);
  return 0;
}

int ValueRank(int value) {
  constexpr int kBeyond = kCells + 1;
  return value > 0 ? kBeyond - value : value < 0 ? -kBeyond - value : 0;
}

TAnalyser::TAnalyser(QObject* parent)
    : QObject(parent), thread_(std::make_unique<TSolverThread>()) {}

// The thread stops before the object it posts its answers to goes.
TAnalyser::~TAnalyser() { thread_.reset(); }

// Each column is the other side's best answer to it, searched alone so that
// the stop flag can end it (a win at once and a full grid need no search).
void TAnalyser::Analyse(const TBoard& grid, int playerToMove) {
  const std::uint64_t number = ++request_;
  busy_ = true;
  thread_->Start(
      [this, number, grid, playerToMove](TSolver* solver, const std::atomic<bool>& stop) {
        TAnalysis analysis;
        const std::optional<TSolverGrid> seen = SolverGrid(grid, playerToMove);
        auto post = [this, number, &analysis] {
          QMetaObject::invokeMethod(
              this, [this, number, analysis] { Deliver(number, analysis); }, Qt::QueuedConnection);
        };
        int left = 0;
        for (int column = 0; seen && column < kColumns; ++column)
          left += seen->Position.CanPlay(column) ? 1 : 0;
        if (left == 0 || solver == nullptr) {
          analysis.Complete = true;
          post();
          return;
        }
        const TBitPosition& position = seen->Position;
        const int pieces = position.Pieces();
        TSolveLimit limit;
        limit.Stop = &stop;
        for (const int column : kCentreFirst) {
          if (!position.CanPlay(column)) continue;
          int score = 0;
          if (position.WinsAt(column)) {
            score = WinNowScore(pieces);
          } else {
            TBitPosition after = position;
            after.PlayColumn(column);
            if (after.Pieces() < kCells) {
              const std::optional<TSolverChoice> answer = solver->BestColumn(after, limit);
              if (!answer) return;
              score = -answer->Score;
            }
          }
          if (stop) return;
          analysis.Values[column] = ColumnValue(score, pieces);
          analysis.Complete = --left == 0;
          post();
        }
      });
}

void TAnalyser::Cancel() {
  busy_ = false;
  thread_->Drop();
}

void TAnalyser::Deliver(std::uint64_t request, const TAnalysis& analysis) {
  if (request != request_ || !busy_) return;
  if (analysis.Complete) busy_ = false;
  emit Analysed(analysis);
}

}  // namespace zerud
