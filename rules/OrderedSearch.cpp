#include "rules/OrderedSearch.h"

#include <algorithm>
#include <cstdint>

#include "rules/MoveOrder.h"
#include "rules/SearchPosition.h"
#include "rules/TranspositionTable.h"

namespace zerud {

namespace {

// Values are the grid's score held within the root bounds: the root's choice
// only depends on which side of a bound a value lies, and every value then
// fits in 32 bits.
constexpr int kBound = 1000000;
constexpr int kInfinity = kBound + 1;

// Slots of the table for a depth limit: 2^16 (1 MiB) at the deepest level,
// about the number of grids a search there remembers. A larger table saves
// hardly a node, and the fresh pages a new search touches cost more time
// than those nodes.
int TableSizeBits(int maxDepth) { return std::clamp(2 * maxDepth - 4, 10, 16); }

class TOrderedSearch {
 public:
  TOrderedSearch(const TBoard& board, const TSearchContext& context)
      : position_(board, context.Table),
        context_(context),
        maxDepth_(context.State.MaxDepth),
        memory_(TableSizeBits(maxDepth_)) {
    for (int column = 0; column < kColumns; ++column) {
      key_ |= std::uint64_t{1} << (7 * column);
      for (int row = kRows - 1; row >= 0 && board.At(row, column) != kEmptyCell; --row) {
        key_ += PieceBit(column, board.At(row, column));
        ++heights_[column];
      }
    }
  }

  int RootChoice();

 private:
  void Pump() {
    if (!context_.Pump) return;
    context_.Pump();
    if (context_.State.MaxDepth != maxDepth_) throw TLevelChanged{};
  }

  // The key holds 7 bits per column: 2^height plus a bit for each piece of
  // player 2, so that every grid without floating pieces has its own key.
  // A piece dropped at the column's height adds this to it.
  std::uint64_t PieceBit(int column, char piece) const {
    return std::uint64_t(piece == kPlayer2Cell ? 2 : 1) << (7 * column + heights_[column]);
  }
  void Play(int column, char piece) {
    position_.Put((kRows - 1 - heights_[column]) * kColumns + column, piece);
    key_ += PieceBit(column, piece);
    ++heights_[column];
  }
  void TakeBack(int column, char piece) {
    --heights_[column];
    key_ -= PieceBit(column, piece);
    position_.Put((kRows - 1 - heights_[column]) * kColumns + column, kEmptyCell);
  }

  static int Held(double score) {
    return static_cast<int>(std::clamp(score, -double(kBound), double(kBound)));
  }
  int Score() const { return Held(position_.Evaluate()); }
  // The score after dropping `piece` into `column`, without playing it.
  int ScoreAfter(int column, char piece) const {
    return Held(static_cast<double>(
        position_.WeightSumAfter((kRows - 1 - heights_[column]) * kColumns + column, piece)));
  }

  int OpenColumns(int (&columns)[kColumns]) const;
  template <bool kMaximising>
  int OrderedColumns(int (&columns)[kColumns], int first);
  template <bool kMaximising>
  int Node(int depth, int alpha, int beta);
  template <bool kMaximising>
  int LeafParent(int alpha, int beta);
  int RootValue(int column, int alpha, int beta);
  void RootIteration(int (&order)[kColumns], int count, int& best, int& bestColumn);

  TSearchPosition position_;
  const TSearchContext& context_;
  const int maxDepth_;
  int limit_ = 0;  // depth limit of the current iteration
  std::uint64_t key_ = 0;
  int heights_[kColumns] = {};
  TTranspositionTable memory_;
};

int TOrderedSearch::OpenColumns(int (&columns)[kColumns]) const {
  int count = 0;
  for (int column : kCentreFirst) {
    if (heights_[column] < kRows) columns[count++] = column;
  }
  return count;
}

// The open columns, `first` (a column remembered as best) ahead of the
// others, the others by the score of the grid after the move, best first.
template <bool kMaximising>
int TOrderedSearch::OrderedColumns(int (&columns)[kColumns], int first) {
  const char piece = kMaximising ? kPlayer2Cell : kPlayer1Cell;
  int scores[kColumns];
  int count = 0;
  for (int column : kCentreFirst) {
    if (heights_[column] == kRows) continue;
    int score = kMaximising ? ScoreAfter(column, piece) : -ScoreAfter(column, piece);
    if (column == first) score = kInfinity;
    count = InsertByScore(columns, scores, count, column, score);
  }
  return count;
}

// Fail-soft alpha-beta: a value at or below alpha is an upper bound of the
// grid's value, one at or above beta a lower bound, one between them exact.
template <bool kMaximising>
int TOrderedSearch::Node(int depth, int alpha, int beta) {
  Pump();
  if (depth >= limit_ || position_.IsOver()) return Score();
  if (depth + 1 >= limit_) return LeafParent<kMaximising>(alpha, beta);

  // What an earlier visit of the same grid proved: bounds at this depth
  // limit, and the best column at any.
  using TTable = TTranspositionTable;
  int first = TTable::kNoColumn;
  if (const TTable::TEntry& entry = memory_.Slot(key_); TTable::KeyOf(entry.Tag) == key_) {
    first = TTable::ColumnOf(entry.Tag);
    if (TTable::DepthLimitOf(entry.Tag) == limit_) {
      if (entry.Lower >= beta || entry.Lower == entry.Upper) return entry.Lower;
      if (entry.Upper <= alpha) return entry.Upper;
      alpha = std::max(alpha, entry.Lower);
      beta = std::min(beta, entry.Upper);
    }
  }

  const char piece = kMaximising ? kPlayer2Cell : kPlayer1Cell;
  int columns[kColumns];
  const int count = OrderedColumns<kMaximising>(columns, first);
  int best = kMaximising ? -kInfinity : kInfinity;
  int bestColumn = TTable::kNoColumn;
  int low = alpha, high = beta;
  for (int i = 0; i < count; ++i) {
    const int column = columns[i];
    Play(column, piece);
    const int value = Node<!kMaximising>(depth + 1, low, high);
    TakeBack(column, piece);
    if (kMaximising ? value > best : value < best) {
      best = value;
      bestColumn = column;
    }
    (kMaximising ? low : high) = kMaximising ? std::max(low, value) : std::min(high, value);
    if (low >= high) break;
  }

  TTable::TEntry& entry = memory_.Slot(key_);
  if (TTable::KeyOf(entry.Tag) != key_ || TTable::DepthLimitOf(entry.Tag) != limit_) {
    entry.Lower = -kInfinity;
    entry.Upper = kInfinity;
  }
  if (best > alpha) entry.Lower = best;
  if (best < beta) entry.Upper = best;
  entry.Tag = TTable::Tag(key_, limit_, bestColumn);
  return best;
}

// A node whose children are all leaves: each child, still a node of its
// own that calls the pump, is scored without playing its piece.
template <bool kMaximising>
int TOrderedSearch::LeafParent(int alpha, int beta) {
  const char piece = kMaximising ? kPlayer2Cell : kPlayer1Cell;
  int best = kMaximising ? -kInfinity : kInfinity;
  for (int column : kCentreFirst) {
    if (heights_[column] == kRows) continue;
    Pump();
    const int value = ScoreAfter(column, piece);
    best = kMaximising ? std::max(best, value) : std::min(best, value);
    if (kMaximising ? best >= beta : best <= alpha) break;
  }
  return best;
}

// The value of the root's column for player 1 to answer.
int TOrderedSearch::RootValue(int column, int alpha, int beta) {
  Play(column, kPlayer2Cell);
  const int value = Node<false>(2, alpha, beta);
  TakeBack(column, kPlayer2Cell);
  return value;
}

// The greatest value and the leftmost column holding it, the columns tried
// in `order`: a column left of the best so far needs a value at least as
// great to take its place, one to the right a greater value. Both tests
// are windows of width one: the values are whole numbers. Afterwards the
// best column leads `order`.
void TOrderedSearch::RootIteration(int (&order)[kColumns], int count, int& best, int& bestColumn) {
  bestColumn = -1;
  for (int i = 0; i < count; ++i) {
    const int column = order[i];
    int value;
    if (bestColumn < 0) {
      value = RootValue(column, -kInfinity, kInfinity);
    } else {
      const int floor = column < bestColumn ? best - 1 : best;
      value = RootValue(column, floor, floor + 1);
      if (value > floor) value = RootValue(column, floor, kInfinity);
    }
    if (bestColumn < 0 || value > best || (value == best && column < bestColumn)) {
      best = value;
      bestColumn = column;
    }
  }
  std::rotate(order, std::find(order, order + count, bestColumn),
              std::find(order, order + count, bestColumn) + 1);
}

int TOrderedSearch::RootChoice() {
  Pump();
  if (maxDepth_ <= 1 || position_.IsOver()) return 0;
  int order[kColumns];
  const int count = OpenColumns(order);
  int best = 0, bestColumn = 0;
  // Shallower searches first, their depth limits two apart (of the same
  // side's last move, as the full search): they fill the memory with the
  // best columns to try first in the deeper ones.
  for (limit_ = 2 + maxDepth_ % 2; limit_ <= maxDepth_; limit_ += 2)
    RootIteration(order, count, best, bestColumn);
  // A value reaching a root bound: the plain root keeps no column.
  return best >= kBound || best <= -kBound ? 0 : bestColumn;
}

}  // namespace

bool HasFloatingPiece(const TBoard& board) {
  for (int row = 0; row + 1 < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      if (board.At(row, column) != kEmptyCell && board.At(row + 1, column) == kEmptyCell) {
        return true;
      }
    }
  }
  return false;
}

bool OrderedSearchApplies(const TBoard& board, const TPatternTable& table, int maxDepth) {
  if (maxDepth > TTranspositionTable::kMaxDepthLimit || HasFloatingPiece(board)) return false;
  for (int length = TPatternTable::kMinLineLength, codes = 81;
       length <= TPatternTable::kMaxLineLength; ++length, codes *= 3) {
    const TLineWeight* weights = table.WeightsOfLength(length);
    for (int code = 0; code < codes; ++code) {
      if (weights[code].BadEntry >= 0) return false;
    }
  }
  return true;
}

int OrderedRootChoice(const TBoard& board, const TSearchContext& context) {
  TOrderedSearch search(board, context);
  return search.RootChoice();
}

}  // namespace zerud
