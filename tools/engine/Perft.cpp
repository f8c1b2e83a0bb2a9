#include "Perft.h"

#include <algorithm>
#include <vector>

#include "rules/Board.h"

namespace zerud {

namespace {

// A grid reached in play packs into 7 bits a column: a marker bit just above
// the column's top piece, and under it a 1 for each piece of player 1.
using TKey = std::uint64_t;
constexpr int kBitsPerColumn = kRows + 1;

TKey Pack(const TBoard& board) {
  TKey key = 0;
  for (int column = 0; column < kColumns; ++column) {
    TKey bits = 0;
    int height = 0;
    for (int row = kRows - 1; row >= 0 && board.At(row, column) != kEmptyCell; --row, ++height) {
      if (board.At(row, column) == kPlayer1Cell) bits |= TKey{1} << height;
    }
    bits |= TKey{1} << height;
    key |= bits << (column * kBitsPerColumn);
  }
  return key;
}

TBoard Unpack(TKey key) {
  TBoard board;
  for (int column = 0; column < kColumns; ++column) {
    const TKey bits = (key >> (column * kBitsPerColumn)) & ((TKey{1} << kBitsPerColumn) - 1);
    int height = kRows;
    while (!(bits & (TKey{1} << height))) --height;
    for (int h = 0; h < height; ++h) {
      board.Set(kRows - 1 - h, column, (bits >> h) & 1 ? kPlayer1Cell : kPlayer2Cell);
    }
  }
  return board;
}

}  // namespace

void Perft(int plies, const std::function<void(int, std::uint64_t)>& onPly) {
  std::vector<TKey> level = {Pack(TBoard())};
  for (int ply = 0; ply <= plies; ++ply) {
    onPly(ply, level.size());
    if (ply == plies) break;
    const char piece = PlayerCell(ply % 2 == 0 ? 1 : 2);
    std::vector<TKey> next;
    for (const TKey key : level) {
      TBoard board = Unpack(key);
      if (IsGameOver(board)) continue;
      for (int column = 0; column < kColumns; ++column) {
        const int row = LandingRow(board, column);
        if (row < 0) continue;
        board.Set(row, column, piece);
        next.push_back(Pack(board));
        board.Set(row, column, kEmptyCell);
      }
    }
    std::sort(next.begin(), next.end());
    next.erase(std::unique(next.begin(), next.end()), next.end());
    level = std::move(next);
  }
}

}  // namespace zerud
