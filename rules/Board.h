// The grid of the game and its rules: where a piece lands, how the grid is
// cut into lines, and when a game is over.
//
// Row 0 is the top row and row 5 the bottom row; pieces settle towards row 5.
// Column 0 is the leftmost column. Every cell holds one character: '0' empty,
// '1' a piece of player 1 (red), '2' a piece of player 2 (yellow).
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace zerud {

constexpr int kRows = 6;
constexpr int kColumns = 7;
constexpr int kCells = kRows * kColumns;
static_assert(kCells == 42);

constexpr char kEmptyCell = '0';
constexpr char kPlayer1Cell = '1';
constexpr char kPlayer2Cell = '2';

// The character a player writes into a cell: '1' for player 1, '2' for player 2.
constexpr char PlayerCell(int player) { return static_cast<char>('0' + player); }

// The grid: a plain value of 42 characters, row 0 first, each row from
// column 0 to column 6. A new grid is all '0'.
struct TBoard {
  std::array<char, kCells> Cells;

  TBoard() { Cells.fill(kEmptyCell); }

  char At(int row, int column) const { return Cells[row * kColumns + column]; }
  void Set(int row, int column, char cell) { Cells[row * kColumns + column] = cell; }
  // All cells back to '0', as for a new game.
  void Clear() { Cells.fill(kEmptyCell); }

  // The 42 characters, row 0 first.
  std::string ToString() const { return std::string(Cells.begin(), Cells.end()); }
  // Reads 42 characters '0', '1' or '2', row 0 first; nothing for any other
  // text. Pieces are taken as they are written, even floating ones.
  static std::optional<TBoard> FromString(std::string_view text);

  friend bool operator==(const TBoard&, const TBoard&) = default;
};

// 2 for player 1, and 1 for any other value.
constexpr int OtherPlayer(int player) { return player == 1 ? 2 : 1; }

// The same grid with the colours of the pieces exchanged: the machine's
// search plays yellow, so red's view of a grid is this one.
TBoard SwapColours(TBoard board);
// The pieces on the grid.
int PieceCount(const TBoard& board);

// The row a piece dropped into `column` (0 .. 6) reaches: the first '0' from
// row 5 upwards, or -1 when the column is full or outside 0 .. 6.
int LandingRow(const TBoard& board, int column);

// Directions of the lines, with the step (row, column) from one cell to the
// next in running order.
enum TDirection : int {
  kDirectionRow = 1,        // towards the right        (0, +1)
  kDirectionDownRight = 2,  // towards the bottom right (+1, +1)
  kDirectionColumn = 3,     // towards the bottom       (+1, 0)
  kDirectionDownLeft = 4,   // towards the bottom left  (+1, -1)
};
constexpr int kDirectionRowStep[5] = {0, 0, 1, 1, 1};
constexpr int kDirectionColumnStep[5] = {0, 1, 1, 0, -1};

// The four line texts of extraction, indexed by direction 1 .. 4 (entry 0 is
// unused). Each text holds at most 50 characters; a line of this grid never
// holds more than 7. Fixed storage: extracting never allocates.
class TLineBuffer {
 public:
  static constexpr int kCapacity = 50;

  TLineBuffer() { ClearAll(); }
  std::string_view Text(int direction) const {
    return std::string_view(texts_[direction].data(), lengths_[direction]);
  }
  void Clear(int direction) { lengths_[direction] = 0; }
  void ClearAll() { lengths_.fill(0); }
  // Appends one character; characters beyond the capacity are dropped.
  void Append(int direction, char cell) {
    if (lengths_[direction] < kCapacity) texts_[direction][lengths_[direction]++] = cell;
  }

 private:
  std::array<std::array<char, kCapacity>, 5> texts_{};
  std::array<int, 5> lengths_{};
};

// Clears the buffer's entry for `direction` (1 .. 4), then appends the
// character of every cell from the start cell (row, column) to the edge of
// the grid along the direction. Only that entry of the buffer changes; a
// direction outside 1 .. 4 changes nothing.
void ExtractLine(int direction, const TBoard& board, int column, int row, TLineBuffer& lines);

// True when no cell holds '0'.
bool IsBoardFull(const TBoard& board);

// The complete end test played after every move of a game. Returns true when
// the game is over: a four in a row, or a full grid. `full` is always
// written. `direction`, `column`, `row` and `winner` are written only when a
// four is found: the line's direction, the cell where the four begins in the
// line's running order, and the player (1 or 2) who owns it. Rows are
// searched first, then down-right diagonals, columns, down-left diagonals;
// the first four found is the one reported.
bool CheckGameEnd(const TBoard& board, int& direction, int& column, int& row, int& winner,
                  bool& full);

// One cell of the grid.
struct TCell {
  int Row = 0;
  int Column = 0;
  friend bool operator==(const TCell&, const TCell&) = default;
};

// The winning line of an ended grid: the whole run of the winner's pieces
// from the cell where CheckGameEnd's four begins, along its direction (four
// cells, or more when one piece joined two runs). Without a four in a row,
// Winner is 0 and Length 0.
struct TWinningLine {
  int Winner = 0;
  int Length = 0;
  std::array<TCell, kColumns> Cells{};
};
TWinningLine WinningLine(const TBoard& board);

// The quick end test of the search: true when the grid is full or any of the
// 25 lines of four cells or more holds four equal pieces in a row.
bool IsGameOver(const TBoard& board);

// One of the 25 lines that can hold four in a row: its direction, start cell
// and number of cells.
struct TLine {
  int Direction;
  int Row;
  int Column;
  int Length;
};
constexpr int kLineCount = 25;

// The 25 lines in the order the evaluation visits them: rows from the bottom
// (row 5) to the top, the down-right diagonals from (0,0), (0,1), (0,2),
// (0,3), (1,0), (2,0), the columns from left to right, the down-left
// diagonals from (0,6), (0,5), (0,4), (0,3), (1,6), (2,6).
const std::array<TLine, kLineCount>& ScoringLines();

}  // namespace zerud
