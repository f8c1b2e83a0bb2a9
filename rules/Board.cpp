#include "rules/Board.h"

#include <algorithm>

namespace zerud {

namespace {

constexpr std::string_view kFourOfPlayer1 = "1111";
constexpr std::string_view kFourOfPlayer2 = "2222";

constexpr TLine MakeLine(int direction, int row, int column) {
  int length = 0;
  for (int r = row, c = column; r >= 0 && r < kRows && c >= 0 && c < kColumns;
       r += kDirectionRowStep[direction], c += kDirectionColumnStep[direction]) {
    ++length;
  }
  return TLine{direction, row, column, length};
}

constexpr std::array<TLine, kLineCount> MakeScoringLines() {
  std::array<TLine, kLineCount> lines{};
  int n = 0;
  for (int r = kRows - 1; r >= 0; --r) lines[n++] = MakeLine(kDirectionRow, r, 0);
  for (int c = 0; c <= 3; ++c) lines[n++] = MakeLine(kDirectionDownRight, 0, c);
  for (int r = 1; r <= 2; ++r) lines[n++] = MakeLine(kDirectionDownRight, r, 0);
  for (int c = 0; c < kColumns; ++c) lines[n++] = MakeLine(kDirectionColumn, 0, c);
  for (int c = 6; c >= 3; --c) lines[n++] = MakeLine(kDirectionDownLeft, 0, c);
  for (int r = 1; r <= 2; ++r) lines[n++] = MakeLine(kDirectionDownLeft, r, 6);
  return lines;
}

constexpr std::array<TLine, kLineCount> kScoringLines = MakeScoringLines();
static_assert(std::all_of(kScoringLines.begin(), kScoringLines.end(),
                          [](const TLine& line) { return line.Length >= 4; }));

// Start cells of every line of the grid, in the order of the complete end
// test: rows top first, down-right diagonals from the top edge then the left
// edge, columns, down-left diagonals from the top edge (right to left) then
// the right edge.
struct TStartCell {
  int Direction;
  int Row;
  int Column;
};

// 6 rows, 12 down-right diagonals, 7 columns, 12 down-left diagonals.
constexpr int kEndTestLines = 37;

constexpr std::array<TStartCell, kEndTestLines> MakeEndTestOrder() {
  std::array<TStartCell, kEndTestLines> cells{};
  int n = 0;
  for (int r = 0; r < kRows; ++r) cells[n++] = {kDirectionRow, r, 0};
  for (int c = 0; c < kColumns; ++c) cells[n++] = {kDirectionDownRight, 0, c};
  for (int r = 1; r < kRows; ++r) cells[n++] = {kDirectionDownRight, r, 0};
  for (int c = 0; c < kColumns; ++c) cells[n++] = {kDirectionColumn, 0, c};
  for (int c = kColumns - 1; c >= 0; --c) cells[n++] = {kDirectionDownLeft, 0, c};
  for (int r = 1; r < kRows; ++r) cells[n++] = {kDirectionDownLeft, r, kColumns - 1};
  if (n != kEndTestLines) throw "every line of the end test needs its start cell";
  return cells;
}

constexpr std::array<TStartCell, kEndTestLines> kEndTestOrder = MakeEndTestOrder();

}  // namespace

std::optional<TBoard> TBoard::FromString(std::string_view text) {
  if (text.size() != kCells) return std::nullopt;
  TBoard board;
  for (int i = 0; i < kCells; ++i) {
    if (text[i] != kEmptyCell && text[i] != kPlayer1Cell && text[i] != kPlayer2Cell) {
      return std::nullopt;
    }
    board.Cells[i] = text[i];
  }
  return board;
}

int LandingRow(const TBoard& board, int column) {
  // A column the grid does not have has no room either: callers already treat
  // -1 as "cannot be played", so a stray number never reaches a cell.
  if (column < 0 || column >= kColumns) return -1;
  for (int row = kRows - 1; row >= 0; --row) {
    if (board.At(row, column) == kEmptyCell) return row;
  }
  return -1;
}

void ExtractLine(int direction, const TBoard& board, int column, int row, TLineBuffer& lines) {
  if (direction < kDirectionRow || direction > kDirectionDownLeft) return;  // no such entry
  lines.Clear(direction);
  const int dr = kDirectionRowStep[direction];
  const int dc = kDirectionColumnStep[direction];
  for (int r = row, c = column; r >= 0 && r < kRows && c >= 0 && c < kColumns; r += dr, c += dc) {
    lines.Append(direction, board.At(r, c));
  }
}

TBoard SwapColours(TBoard board) {
  for (char& cell : board.Cells) {
    if (cell != kEmptyCell) cell = cell == kPlayer1Cell ? kPlayer2Cell : kPlayer1Cell;
  }
  return board;
}

int PieceCount(const TBoard& board) {
  return kCells - static_cast<int>(std::count(board.Cells.begin(), board.Cells.end(), kEmptyCell));
}

bool IsBoardFull(const TBoard& board) {
  return std::find(board.Cells.begin(), board.Cells.end(), kEmptyCell) == board.Cells.end();
}

bool CheckGameEnd(const TBoard& board, int& direction, int& column, int& row, int& winner,
                  bool& full) {
  // The full-grid flag is always written.
  full = IsBoardFull(board);
  // The first line holding a four, in the fixed order.
  TLineBuffer lines;
  for (const TStartCell& start : kEndTestOrder) {
    ExtractLine(start.Direction, board, start.Column, start.Row, lines);
    const std::string_view text = lines.Text(start.Direction);
    std::size_t at = text.find(kFourOfPlayer1);
    int owner = 1;
    if (at == std::string_view::npos) {
      at = text.find(kFourOfPlayer2);
      owner = 2;
    }
    if (at == std::string_view::npos) continue;
    // The four's first cell is the k-th cell of the line.
    const int k = static_cast<int>(at);
    direction = start.Direction;
    row = start.Row + k * kDirectionRowStep[start.Direction];
    column = start.Column + k * kDirectionColumnStep[start.Direction];
    winner = owner;
    return true;
  }
  return full;
}

TWinningLine WinningLine(const TBoard& board) {
  TWinningLine line;
  int direction = 0, column = 0, row = 0, winner = 0;
  bool full = false;
  if (!CheckGameEnd(board, direction, column, row, winner, full) || winner == 0) return line;
  line.Winner = winner;
  // A line of this grid holds at most kColumns cells.
  for (int r = row, c = column;
       r >= 0 && r < kRows && c >= 0 && c < kColumns && board.At(r, c) == PlayerCell(winner);
       r += kDirectionRowStep[direction], c += kDirectionColumnStep[direction]) {
    line.Cells[line.Length++] = TCell{r, c};
  }
  return line;
}

bool IsGameOver(const TBoard& board) {
  if (IsBoardFull(board)) return true;
  TLineBuffer lines;
  for (const TLine& line : kScoringLines) {
    ExtractLine(line.Direction, board, line.Column, line.Row, lines);
    const std::string_view text = lines.Text(line.Direction);
    if (text.find(kFourOfPlayer1) != std::string_view::npos ||
        text.find(kFourOfPlayer2) != std::string_view::npos) {
      return true;
    }
  }
  return false;
}

const std::array<TLine, kLineCount>& ScoringLines() { return kScoringLines; }

}  // namespace zerud
