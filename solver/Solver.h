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

#include "rules/Board.h"
#include "solver/BitPosition.h"

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

// When a search gives up before it has its answer: once `Deadline` has
// passed, or once `*Stop` is raised, from any thread. Both are looked at
// every few thousand nodes (a fraction of a millisecond), so a search that
// ends sooner gives its answer whatever they say.
struct TSolveLimit {
  std::chrono::steady_clock::time_point Deadline = std::chrono::steady_clock::time_point::max();
  const std::atomic<bool>* Stop = nullptr;
};

// The column perfect play chooses and its score.
struct TSolverChoice {
  int Column = -1;
  int Score = 0;
};

class TSolver {
 public:
  // A transposition table of about 2^(tableBits + 1) entries of 4 bytes
  // (24: just under 128 MiB).
  explicit TSolver(int tableBits = 24);

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
  // does no better than the best one so far. `position` must have an open
  // column. A stopped search leaves the table holding only what it finished,
  // so the next search, of any grid, still starts from true values.
  std::optional<TSolverChoice> BestColumn(const TBitPosition& position,
                                          const TSolveLimit& limit = {});

  // Nodes searched since the solver was made.
  std::uint64_t Nodes() const { return nodes_; }

 private:
  int Search(const TBitPosition& position, int low, int high);
  int NegaMax(const TBitPosition& position, int alpha, int beta);
  // The table entry for `position` and its `tag`, the key's part the entry
  // keeps; nothing when the table is too small to tell its key apart.
  std::uint32_t* Entry(const TBitPosition& position, std::uint32_t& tag);
  // Throws TStopped when the limit of the running search is reached, else
  // sets the next check.
  void CheckLimit();

  // Gives the table's memory back to the system.
  struct TRelease {
    void* Mapping;
    std::size_t Bytes;
    void operator()(std::uint32_t*) const;
  };

  // Entry (key mod size) holds (key / size) above the bound, which with the
  // index gives back the whole key: four bytes hold twice the entries of a
  // plain key and bound.
  std::unique_ptr<std::uint32_t[], TRelease> table_;
  std::size_t tableSize_;
  std::uint64_t nodes_ = 0;
  // The limit of the search under way, looked at when the node count
  // reaches `nextCheck_`; none for the unlimited calls, which never do.
  static constexpr std::uint64_t kNoCheck = ~std::uint64_t{0};
  const TSolveLimit* limit_ = nullptr;
  std::uint64_t nextCheck_ = kNoCheck;
};

// The answer of `zerud-engine solve`: seven fields, "x" for a full column.
std::string FormatColumnScores(const TColumnScores& scores);

}  // namespace zerud
