#include "SelfPlay.h"

#include "rules/Search.h"

namespace zerud::bench {

TBoard Mirrored(TBoard board) {
  for (char& cell : board.Cells) {
    if (cell != kEmptyCell) cell = cell == kPlayer1Cell ? kPlayer2Cell : kPlayer1Cell;
  }
  return board;
}

TGame PlayGame(const std::vector<int>& opening, const TPlayer& first, const TPlayer& second,
               const std::function<void(const TBoard&, int, int)>& onMove) {
  TGame game;
  TBoard board;
  int player = 1;
  for (int moveNumber = 1; moveNumber <= kCells; ++moveNumber) {
    int column;
    if (moveNumber <= static_cast<int>(opening.size())) {
      column = opening[moveNumber - 1];
    } else {
      if (onMove) onMove(board, player, moveNumber);
      column = player == 1 ? first(Mirrored(board), moveNumber) : second(board, moveNumber);
    }
    board.Set(LandingRow(board, column), column, PlayerCell(player));
    game.Pieces = moveNumber;
    int direction, c, row, winner = 0;
    bool full;
    if (CheckGameEnd(board, direction, c, row, winner, full)) {
      game.Winner = winner > 0 ? winner : 0;
      break;
    }
    player = OtherPlayer(player);
  }
  game.Final = board;
  return game;
}

TPlayer SearchPlayer(const TPatternTable& table, int level) {
  return [&table, level](const TBoard& board, int moveNumber) {
    TSearchState state;
    state.MaxDepth = 2 * level;
    TRandomSource random(1);
    return ChooseMachineColumn(board, moveNumber, state, table, random);
  };
}

}  // namespace zerud::bench
