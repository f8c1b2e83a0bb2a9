// The analysis: what perfect play makes of each column for the side to
// move, found on a solver thread so that the window never waits for it.
#pragma once

#include <QObject>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

#include "game/hint/SolverThread.h"
#include "rules/Board.h"

namespace zerud {

// A column's value for the side to move: +n, it wins with its n-th piece
// from now on (this one being the first); -n, it loses to the other side's
// n-th piece from now on; 0, a draw.
//
// `score` is the solver's score of the column on a grid of `pieces` pieces:
// a win whose last piece is placed on a grid of m pieces scores
// (43 - m) / 2, so the side to move, placing its k-th piece on a grid of
// pieces + 2 (k - 1), scores (43 - pieces) / 2 - (k - 1); a loss is the
// other side's win, whose k-th piece lands on pieces + 1 + 2 (k - 1).
int ColumnValue(int score, int pieces);

// The better of two values: a quicker win, a draw before a loss, a later loss.
int ValueRank(int value);

struct TAnalysis {
  // Nothing for a full column and for a column not valued yet.
  std::array<std::optional<int>, kColumns> Values{};
  // Every column with room has its value.
  bool Complete = false;

  friend bool operator==(const TAnalysis&, const TAnalysis&) = default;
};

// Lives on the window's thread; values one grid at a time.
class TAnalyser : public QObject {
  Q_OBJECT

 public:
  explicit TAnalyser(QObject* parent = nullptr);
  ~TAnalyser() override;

  // Starts valuing every column of `grid` for `playerToMove` (needed when
  // both have as many pieces: the machine may have begun with yellow).
  // Returns at once; Analysed follows from the event loop as each column
  // is valued, the middle first. The request before it, if still under way,
  // is dropped: nothing more of it comes. A grid with a four, a full one,
  // and one that play cannot reach are Complete with no value at all.
  void Analyse(const TBoard& grid, int playerToMove);
  // Drops the request under way.
  void Cancel();

 signals:
  void Analysed(zerud::TAnalysis analysis);

 private:
  void Deliver(std::uint64_t request, const TAnalysis& analysis);

  std::uint64_t request_ = 0;  // the number of the last Analyse
  bool busy_ = false;
  std::unique_ptr<TSolverThread> thread_;
};

}  // namespace zerud
