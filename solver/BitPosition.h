// The grid as the solver sees it: two 64-bit masks, seen from the side to
// move. Bit (column * 7 + height) is the cell `height` rows above the bottom
// of `column`; the seventh bit of each column stays empty, so shifting a
// mask never carries a piece from one column into the next.
#pragma once

#include <bit>
#include <cstdint>

#include "rules/Board.h"

namespace zerud {

class TBitPosition {
 public:
  static constexpr int kStride = kRows + 1;  // six cells and an empty guard bit
  static_assert(kColumns * kStride <= 64);

  // The empty grid, player 1 to move.
  TBitPosition() = default;
  // The grid whose pieces of the side to move are `mine` and whose filled
  // cells are `filled`, holding `pieces` pieces.
  TBitPosition(std::uint64_t mine, std::uint64_t filled, int pieces)
      : mine_(mine), filled_(filled), pieces_(pieces) {}

  int Pieces() const { return pieces_; }
  // Unique for each grid and side to move: the filled cells plus the
  // pieces of the side to move.
  std::uint64_t Key() const { return mine_ + filled_; }

  std::uint64_t Mine() const { return mine_; }
  std::uint64_t Filled() const { return filled_; }

  // The key of the grid seen in a mirror (column c as column 6 - c): the
  // same value for perfect play.
  std::uint64_t MirroredKey() const { return Mirror(Key()); }
  // The grid seen in a mirror.
  TBitPosition Mirrored() const { return TBitPosition(Mirror(mine_), Mirror(filled_), pieces_); }

  // A mask with its columns in the opposite order.
  static constexpr std::uint64_t Mirror(std::uint64_t bits) {
    constexpr std::uint64_t column = (std::uint64_t{1} << kStride) - 1;
    return ((bits & column) << 6 * kStride) | ((bits >> 6 * kStride) & column) |
           ((bits & column << kStride) << 4 * kStride) |
           ((bits >> 4 * kStride) & column << kStride) |
           ((bits & column << 2 * kStride) << 2 * kStride) |
           ((bits >> 2 * kStride) & column << 2 * kStride) | (bits & column << 3 * kStride);
  }

  static constexpr std::uint64_t ColumnMask(int column) {
    return ((std::uint64_t{1} << kRows) - 1) << (column * kStride);
  }
  bool CanPlay(int column) const { return (filled_ & TopCell(column)) == 0; }
  // The cells where a piece would land now, one per open column.
  std::uint64_t Playable() const { return (filled_ + kBottomRow) & kGrid; }

  // Puts a piece of the side to move on `cell` (one of Playable()); the
  // other side is to move afterwards.
  void Play(std::uint64_t cell) {
    mine_ ^= filled_;
    filled_ |= cell;
    ++pieces_;
  }
  void PlayColumn(int column) { Play(Playable() & ColumnMask(column)); }

  // True when a piece in `column` makes four for the side to move.
  bool WinsAt(int column) const {
    return (OpenFours(mine_) & Playable() & ColumnMask(column)) != 0;
  }
  bool CanWinNow() const { return (OpenFours(mine_) & Playable()) != 0; }

  // The playable cells after which the other side cannot win at once:
  // when it threatens two playable cells nothing helps (0), when it
  // threatens one that cell is forced, and a cell just below one of its
  // threats hands it the win. Only valid when the side to move cannot win
  // at once.
  std::uint64_t SafeMoves() const {
    std::uint64_t playable = Playable();
    const std::uint64_t theirs = OpenFours(mine_ ^ filled_);
    const std::uint64_t forced = playable & theirs;
    if (forced != 0) {
      if ((forced & (forced - 1)) != 0) return 0;
      playable = forced;
    }
    return playable & ~(theirs >> 1);
  }

  // The empty cells that would complete a four for the side to move once
  // it has played `cell`: the threats that move makes, for ordering.
  std::uint64_t ThreatsAfter(std::uint64_t cell) const {
    return OpenFours(mine_ | cell) & ~(filled_ | cell) & kGrid;
  }

  // The empty cells that would complete a four for the side to move.
  std::uint64_t Threats() const { return OpenFours(mine_); }

  // An upper bound on the score from row parity alone, or `kNoBound`. When
  // every open column holds an even number of pieces, the other side can
  // answer each move on top of it, and so takes every empty cell of rows 1,
  // 3 and 5 (counted from 0 at the bottom) while this side gets rows 0, 2
  // and 4. If this side's pieces and its rows hold no four, it cannot win
  // (at most 0); if the other side's pieces and rows then hold one, it loses
  // (at most -1).
  static constexpr int kNoBound = 100;
  int ParityBound() const {
    if ((Playable() & kOddRows) != 0) return kNoBound;
    const std::uint64_t empty = kGrid & ~filled_;
    if (HasFour(mine_ | (empty & ~kOddRows))) return kNoBound;
    return HasFour((mine_ ^ filled_) | (empty & kOddRows)) ? -1 : 0;
  }

  // The playable cell on rows 1, 3 or 5 when there is exactly one, else 0:
  // the piece after which every open column holds an even number of
  // pieces, so that the other side faces the bound above.
  std::uint64_t LoneOddRowCell() const {
    const std::uint64_t cells = Playable() & kOddRows;
    return (cells & (cells - 1)) == 0 ? cells : 0;
  }

  // True when `pieces` hold four in a line.
  static constexpr bool HasFour(std::uint64_t pieces) {
    for (const int step : {1, kStride, kStride - 1, kStride + 1}) {
      const std::uint64_t pairs = pieces & (pieces >> step);
      if ((pairs & (pairs >> 2 * step)) != 0) return true;
    }
    return false;
  }

 private:
  static constexpr std::uint64_t kBottomRow = [] {
    std::uint64_t bits = 0;
    for (int c = 0; c < kColumns; ++c) bits |= std::uint64_t{1} << (c * kStride);
    return bits;
  }();
  static constexpr std::uint64_t kGrid = kBottomRow * ((std::uint64_t{1} << kRows) - 1);
  // Rows 1, 3 and 5 of every column.
  static constexpr std::uint64_t kOddRows = kBottomRow * 0b101010;
  static constexpr std::uint64_t TopCell(int column) {
    return std::uint64_t{1} << (kRows - 1 + column * kStride);
  }

  // The empty cells that would complete four in a row with `pieces`.
  std::uint64_t OpenFours(std::uint64_t pieces) const {
    // Upwards: three pieces straight below the cell.
    std::uint64_t cells = (pieces << 1) & (pieces << 2) & (pieces << 3);
    // Along a row (step 7) and both diagonals (steps 6 and 8): the cell
    // beside three in a line, or in a gap of one between one and two.
    for (const int step : {kStride, kStride - 1, kStride + 1}) {
      std::uint64_t pair = (pieces << step) & (pieces << 2 * step);
      cells |= pair & (pieces << 3 * step);
      cells |= pair & (pieces >> step);
      pair = (pieces >> step) & (pieces >> 2 * step);
      cells |= pair & (pieces << step);
      cells |= pair & (pieces >> 3 * step);
    }
    return cells & (kGrid ^ filled_);
  }

  std::uint64_t mine_ = 0;
  std::uint64_t filled_ = 0;
  int pieces_ = 0;
};

}  // namespace zerud
