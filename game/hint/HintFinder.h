// The hint ("Conseil"): the column to advise the side to move, found on a
// worker thread so that the window never waits for it. Perfect play first,
// within a time budget; when that cannot finish in time, the column the
// machine's "Expert" search would choose for that side.
#pragma once

#include <QObject>
#include <chrono>
#include <cstdint>
#include <memory>

#include "game/hint/SolverThread.h"
#include "rules/Board.h"
#include "rules/PatternTable.h"

namespace zerud {

struct THint {
  enum class TValue {
    None,      // nothing to advise (Column -1)
    Win,       // perfect play wins with this column, the quickest win there is
    Draw,      // perfect play draws with it
    Loss,      // every column loses against perfect play; this one the latest
    Estimate,  // perfect play took too long: the machine's choice at "Expert"
  };
  int Column = -1;
  TValue Value = TValue::None;
  // Perfect play's score of the column for Win, Draw and Loss, as
  // `zerud-engine solve` writes it (0 for a draw; a win whose last piece is
  // placed on a grid of n pieces scores (43 - n) / 2, a loss the opposite);
  // 0 for an estimate.
  int Score = 0;

  friend bool operator==(const THint&, const THint&) = default;
};

// Lives on the window's thread; a solver thread of its own does the
// searching, one request at a time.
class THintFinder : public QObject {
  Q_OBJECT

 public:
  static constexpr std::chrono::milliseconds kDefaultBudget{2000};

  explicit THintFinder(QObject* parent = nullptr);
  // Stops the search under way and waits for the worker, which notices
  // within a millisecond or so.
  ~THintFinder() override;

  // How long perfect play may search before the hint falls back on the
  // machine's search; 0: that search at once. Applies from the next Find.
  void SetBudget(std::chrono::milliseconds budget);

  // Starts finding the hint for the side to move on `grid` (the side with
  // fewer pieces, red when both have as many), with `table` for the
  // machine's search. Returns at once; Found follows from the event loop.
  // The request before it, if still under way, is dropped: its Found never
  // comes. A full grid, a grid with a four on it (the game is over) and one
  // that play cannot reach (floating pieces, piece counts more than one
  // apart) get no hint, nor does a table whose weight is not a whole number
  // once the machine's search meets it.
  void Find(const TBoard& grid, const TPatternTable& table);
  // Drops the request under way: no Found for it.
  void Cancel();
  // From Find to its Found, unless cancelled.
  bool Busy() const { return busy_; }

 signals:
  // The hint of the last Find, on the window's thread.
  void Found(zerud::THint hint);

 private:
  void Deliver(std::uint64_t request, THint hint);

  std::chrono::milliseconds budget_ = kDefaultBudget;
  std::uint64_t request_ = 0;  // the number of the last Find
  bool busy_ = false;
  std::unique_ptr<TSolverThread> thread_;
};

}  // namespace zerud
