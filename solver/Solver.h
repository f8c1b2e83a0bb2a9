// Perfect play: the exact value of a grid for the side to move.
//
// A score is 0 for a draw, positive when the side to move wins, negative
// when it loses; a win whose winning piece is placed on a grid holding n
// pieces scores (43 - n) / 2 rounded down, so a sooner end weighs more.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rules/Board.h"
#include "solver/BitPosition.h"
#include "solver/OpeningBook.h"
#include "solver/Searcher.h"
#include "solver/TranspositionTable.h"

namespace zerud {

// A grid the solver can take: the side to move and its bit masks, or the
// reason it cannot. The side to move is the one with fewer pieces, player 1
// when both have as many.
struct TSolverGrid {
  TBitPosition Position;
  int PlayerToMove = 1;
};
// Nothing with a reason in `why` for a grid with a floating piece, piece
// counts more than one apart, or a four already on it.
std::optional<TSolverGrid> ToSolverGrid(const TBoard& board, std::string& why);

// The score of each column for the side to move; nothing for a full column.
using TColumnScores = std::array<std::optional<int>, kColumns>;

// The column perfect play chooses and its score.
struct TSolverChoice {
  int Column = -1;
  int Score = 0;
};

// How a solver searches: with how many threads, over a table of how many
// MiB, and with which opening book (none when null).
struct TSolverOptions {
  int Threads = 1;
  std::size_t TableMib = 128;
  std::shared_ptr<const TOpeningBook> Book = TOpeningBook::FromProgramFolder();
  // Searches with the instructions of every processor, as where the one
  // that counts bits is missing (for the tests of that search).
  bool PlainInstructions = false;
};

class TSolver {
 public:
  // Throws std::bad_alloc when the system has no memory for the table.
  explicit TSolver(const TSolverOptions& options = {});

  // The exact score of `position`, which must not hold a four.
  int Solve(const TBitPosition& position);
  // Only the sign of the score: 1 won, 0 drawn, -1 lost. Much faster.
  int SolveOutcome(const TBitPosition& position);
  // The score of playing each column of `position`: exact, or only its
  // sign when `outcomeOnly`.
  TColumnScores ScoreColumns(const TBitPosition& position, bool outcomeOnly = false);
  // The column of `position` with the highest score, the middle first among
  // equals (the quickest win, a draw, or the slowest loss), and its score;
  // nothing when `limit` stops the search first. Far faster than
  // ScoreColumns: each column is searched only far enough to show that it
  // does no better than the best one so far, or, for a grid in the book,
  // that it keeps the book's score. `position` must have an open
  // column. A stopped search leaves the table holding only what it finished,
  // so the next search, of any grid, still starts from true values.
  std::optional<TSolverChoice> BestColumn(const TBitPosition& position,
                                          const TSolveLimit& limit = {});

  // Nodes searched since the solver was made, by all its threads.
  std::uint64_t Nodes() const;

 private:
  // TSearcher::Search of `position` on every thread, each starting from
  // [low, high]: the answer of the first to finish. Throws TStopped when
  // `limit` stops them all first.
  int Search(const TBitPosition& position, int low, int high, const TSolveLimit* limit = nullptr);

  std::shared_ptr<const TOpeningBook> book_;
  std::unique_ptr<TTranspositionTable> table_;
  std::vector<TSearcher> searchers_;  // one a thread, the first on the caller's
};

// The answer of `zerud-engine solve`: seven fields, "x" for a full column.
std::string FormatColumnScores(const TColumnScores& scores);

}  // namespace zerud
