#include "solver/Searcher.h"

#include <algorithm>
#include <array>
#include <bit>

#include "rules/MoveOrder.h"

namespace zerud {

namespace {

// Looking up every move's grid before searching pays where subtrees are
// large, not in the last few cells.
constexpr int kLookAheadBelow = 38;

// Grids with fewer pieces share their table entry with their mirror image.
// Later ones are rarely met in both images, and their own key keeps the
// grids after their moves in entries near their own, in memory at hand.
constexpr int kMirroredBelow = 20;

// The limit is looked at once every this many nodes: a clock reading at
// every node would cost about as much as the node itself, and a few
// thousand nodes take well under a millisecond.
constexpr std::uint64_t kNodesPerCheck = 4096;

// Threads tell each other the grids they are in only near the root, where
// a grid's search is long enough to be worth avoiding twice. They name a
// grid by its table key, found in the look-ahead.
constexpr int kSharedBelow = 24;
static_assert(kSharedBelow <= kLookAheadBelow);

// The grid's entry in the table: shared with its mirror image while it
// holds few pieces.
std::uint64_t TableKey(const TBitPosition& position) {
  const std::uint64_t key = position.Key();
  return position.Pieces() < kMirroredBelow ? std::min(key, position.MirroredKey()) : key;
}

// How many lines of four pass through each cell (3 in a corner, 13 in the
// middle of the grid): among moves that make as many threats, the one
// that can take part in more fours goes first.
constexpr int kCellBits = kColumns * TBitPosition::kStride;
constexpr std::array<int, kCellBits> kLinesThrough = [] {
  std::array<int, kCellBits> lines{};
  for (int column = 0; column < kColumns; ++column) {
    for (int row = 0; row < kRows; ++row) {
      for (int direction = kDirectionRow; direction <= kDirectionDownLeft; ++direction) {
        const int rowStep = kDirectionRowStep[direction];
        const int columnStep = kDirectionColumnStep[direction];
        // The lines whose cell `offset` is this one. The steps count rows
        // from the top and `row` from the bottom: upside down, the grid has
        // as many lines through each cell.
        for (int offset = 0; offset < 4; ++offset) {
          const int firstRow = row - offset * rowStep, lastRow = firstRow + 3 * rowStep;
          const int firstColumn = column - offset * columnStep;
          const int lastColumn = firstColumn + 3 * columnStep;
          if (firstRow >= 0 && lastRow < kRows && std::min(firstColumn, lastColumn) >= 0 &&
              std::max(firstColumn, lastColumn) < kColumns) {
            ++lines[column * TBitPosition::kStride + row];
          }
        }
      }
    }
  }
  return lines;
}();
static_assert(kLinesThrough[0] == 3 && kLinesThrough[3 * TBitPosition::kStride + 2] == 13);
// A threat weighs as much as eight lines: threats come first unless the
// cells differ in lines by more than that (the middle against an edge).
constexpr int kThreatWeight = 8;

// Whether this processor counts bits in one instruction.
bool HasBitCount() {
#if defined(__x86_64__)
  static const bool has = __builtin_cpu_supports("popcnt");
  return has;
#else
  return false;
#endif
}

}  // namespace

TSearcher::TSearcher(TTranspositionTable& table, const TOpeningBook* book, bool shared,
                     bool bitCount)
    : table_(table),
      book_(book),
      shared_(shared),
      negaMax_(bitCount && HasBitCount() ? &TSearcher::NegaMaxBitCount : &TSearcher::NegaMax) {}

void TSearcher::SetLimit(const TSolveLimit* limit, const std::atomic<bool>* quit,
                         std::uint64_t nodes) {
  limit_ = limit;
  quit_ = quit;
  lastNode_ = nodes == kNoCheck ? kNoCheck : nodes_ + nodes;
  nextCheck_ =
      limit != nullptr || quit != nullptr || nodes != kNoCheck ? nodes_ + kNodesPerCheck : kNoCheck;
}

void TSearcher::CheckLimit() {
  if (nodes_ >= lastNode_) throw TStopped{};
  if (quit_ != nullptr && quit_->load(std::memory_order_relaxed)) throw TStopped{};
  if (limit_ != nullptr && limit_->Reached()) throw TStopped{};
  nextCheck_ = nodes_ + kNodesPerCheck;
}

// Narrows [low, high] around the score with null-window searches, from 0
// outwards one value at a time: most scores lie near 0, and each search
// there leaves the table ready for the next.
int TSearcher::Search(const TBitPosition& position, int low, int high) {
  if (book_ != nullptr) {
    if (const std::optional<int> score = book_->Find(position)) return *score;
  }
  while (low < high) {
    const int guess = low >= 0 ? low : high <= 0 ? high - 1 : 0;
    const int score = (this->*negaMax_)(position, guess, guess + 1);
    if (score <= guess) {
      high = score;
    } else {
      low = score;
    }
  }
  return low;
}

// The score of a grid whose side to move cannot win at once, when it lies
// inside [alpha, beta]; else the tightest bound the search found on its
// side: a result at or below alpha is an upper bound, at or above beta a
// lower bound. A bound beyond the window lets Search skip windows.
template <TSearcher::TNegaMax kRecurse>
[[gnu::always_inline]] inline int TSearcher::Node(const TBitPosition& position, int alpha,
                                                  int beta) {
  if (++nodes_ == nextCheck_) CheckLimit();
  const int pieces = position.Pieces();
  // Step 1. Every move hands the other side a four: lost at its next piece.
  const std::uint64_t safe = position.SafeMoves();
  if (safe == 0) return -(kCells - pieces) / 2;
  // The table entries of the grids after the moves are fetched from memory
  // now, while this grid's own bounds are worked out: the wait for them is
  // most of a node's time.
  const bool lookAhead = pieces < kLookAheadBelow;
  std::array<std::uint64_t, kColumns> childKeys{};
  if (lookAhead) {
    for (int column = 0; column < kColumns; ++column) {
      const std::uint64_t cell = safe & TBitPosition::ColumnMask(column);
      if (cell == 0) continue;
      TBitPosition after = position;
      after.Play(cell);
      childKeys[column] = TableKey(after);
      table_.Prefetch(childKeys[column]);
    }
  }
  // Step 2. Two cells left and neither side wins with them.
  if (pieces >= kCells - 2) return 0;
  // Step 3. Bounds: the other side cannot win at its next piece, nor this
  // side at this one; the book knows early grids outright.
  const int lowest = -(kCells - 2 - pieces) / 2;
  if (alpha < lowest) {
    alpha = lowest;
    if (alpha >= beta) return alpha;
  }
  if (book_ != nullptr && pieces <= book_->MaxPieces()) {
    if (const std::optional<int> score = book_->Find(position)) return *score;
  }
  int highest = std::min((kCells - 1 - pieces) / 2, position.ParityBound());
  // Step 4. What the table knows of this grid or its mirror image, which
  // share one entry.
  const std::uint64_t canonical = TableKey(position);
  TTranspositionTable::TBound stored;
  if (table_.Find(canonical, stored)) {
    if (!stored.Lower) {
      highest = std::min(highest, stored.Value);
    } else if (alpha < stored.Value) {
      alpha = stored.Value;
      if (alpha >= beta) return alpha;
    }
  }
  if (beta > highest) {
    beta = highest;
    if (alpha >= beta) return beta;
  }
  const auto keep = [&](bool lower, int value) { table_.Store(canonical, {lower, value}); };
  // Step 5. When one column alone holds an odd number of pieces, a piece
  // there leaves the other side a grid of even columns, where row parity
  // may bound its score from above and so this side's from below.
  if (const std::uint64_t cell = position.LoneOddRowCell() & safe) {
    TBitPosition after = position;
    after.Play(cell);
    const int bound = after.ParityBound();
    if (bound != TBitPosition::kNoBound && -bound >= beta) {
      keep(true, -bound);
      return -bound;
    }
  }
  // Step 6. The moves that make the most threats first, then those on the
  // most lines of four. A move just below one of this side's threats
  // counts one threat less: the other side may answer on the threat's cell.
  // A move two below one counts four more: it opens the cell just below the
  // threat, where the other side may never play (this side would win on
  // top of it), and such closed columns decide many endgames. So does a
  // move that leaves two threats one above the other, which wins as soon as
  // the lower one can be played.
  std::array<int, kColumns> moves{};  // the columns, best first
  std::array<int, kColumns> order{};
  int count = 0;
  const std::uint64_t ownThreats = position.Threats();
  for (const int column : kCentreFirst) {
    const std::uint64_t cell = safe & TBitPosition::ColumnMask(column);
    if (cell == 0) continue;
    const std::uint64_t above = ownThreats & TBitPosition::ColumnMask(column);
    const std::uint64_t made = position.ThreatsAfter(cell);
    int threats = std::popcount(made);
    if ((cell << 1 & above) != 0) threats -= 1;
    if ((cell << 2 & above) != 0) threats += 4;
    if ((made & made << 1) != 0) threats += 4;
    const int score = kThreatWeight * threats + kLinesThrough[std::countr_zero(cell)];
    count = InsertByScore(moves.data(), order.data(), count, column, score);
  }
  // Step 7. A move whose grid is known bad enough for the other side
  // refutes at once, without searching the moves before it; one whose grid
  // is known good enough for it cannot raise alpha, and is not searched.
  std::array<bool, kColumns> failsLow{};
  int best = -kCells;  // the highest bound on a move's score so far
  if (lookAhead) {
    for (int i = 0; i < count; ++i) {
      TTranspositionTable::TBound child;
      if (!table_.Find(childKeys[moves[i]], child)) {
        if (book_ == nullptr || pieces >= book_->MaxPieces()) continue;
        TBitPosition after = position;
        after.Play(safe & TBitPosition::ColumnMask(moves[i]));
        const std::optional<int> exact = book_->Find(after);
        if (!exact) continue;
        if (-*exact >= beta) {
          keep(true, -*exact);
          return -*exact;
        }
        failsLow[i] = -*exact <= alpha;
        if (failsLow[i]) best = std::max(best, -*exact);
      } else if (!child.Lower) {
        if (-child.Value >= beta) {
          keep(true, -child.Value);
          return -child.Value;
        }
      } else {
        failsLow[i] = -child.Value <= alpha;
        if (failsLow[i]) best = std::max(best, -child.Value);
      }
    }
  }
  // Step 8. Search the others; a refutation ends the node. When threads
  // share the search, a move whose grid another thread is searching waits
  // for the end (the first move never waits): by then that thread has
  // usually left its answer in the table. A mark left behind by a stopped
  // search only costs a little order.
  const bool share = shared_ && pieces < kSharedBelow;
  std::array<bool, kColumns> waits{};
  for (int pass = 0; pass < (share ? 2 : 1); ++pass) {
    for (int i = 0; i < count; ++i) {
      if (failsLow[i] || (pass == 1 && !waits[i])) continue;
      TBitPosition after = position;
      after.Play(safe & TBitPosition::ColumnMask(moves[i]));
      const std::uint64_t childKey = childKeys[moves[i]];
      if (share && pass == 0 && i > 0 && table_.Busy(childKey)) {
        waits[i] = true;
        continue;
      }
      if (share) table_.MarkBusy(childKey);
      const int score = -(this->*kRecurse)(after, -beta, -alpha);
      if (share) table_.ClearBusy(childKey);
      if (score >= beta) {
        keep(true, score);
        return score;
      }
      best = std::max(best, score);
      alpha = std::max(alpha, score);
    }
  }
  best = std::min(best, highest);
  keep(false, best);
  return best;
}

int TSearcher::NegaMax(const TBitPosition& position, int alpha, int beta) {
  return Node<&TSearcher::NegaMax>(position, alpha, beta);
}

#if defined(__x86_64__)
[[gnu::target("popcnt")]] int TSearcher::NegaMaxBitCount(const TBitPosition& position, int alpha,
                                                         int beta) {
  return Node<&TSearcher::NegaMaxBitCount>(position, alpha, beta);
}
#else
int TSearcher::NegaMaxBitCount(const TBitPosition& position, int alpha, int beta) {
  return NegaMax(position, alpha, beta);
}
#endif

}  // namespace zerud
