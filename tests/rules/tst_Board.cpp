#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "rules/Board.h"

namespace zerud {
namespace {

// Puts `piece` on the cells named "rc rc ...", row then column.
TBoard BoardWith(char piece, const char* cells, TBoard board = TBoard()) {
  for (const char* p = cells; p[0] && p[1]; p += p[2] ? 3 : 2)
    board.Set(p[0] - '0', p[1] - '0', piece);
  return board;
}

// "over full direction column row winner", -7 where CheckGameEnd wrote nothing.
std::string End(const TBoard& board) {
  int direction = -7, column = -7, row = -7, winner = -7;
  bool full = false;
  const bool over = CheckGameEnd(board, direction, column, row, winner, full);
  EXPECT_EQ(IsGameOver(board), over) << board.ToString();
  std::ostringstream out;
  out << over << ' ' << full << ' ' << direction << ' ' << column << ' ' << row << ' ' << winner;
  return out.str();
}

// A full grid without any four, 21 pieces each.
const TBoard kDrawn = *TBoard::FromString("112211222112211122112221122111221122211221");

TEST(BoardTest, LandingRowAndOtherPlayer) {
  EXPECT_EQ(OtherPlayer(1), 2);
  EXPECT_EQ(OtherPlayer(2), 1);
  EXPECT_EQ(OtherPlayer(0), 1);
  TBoard board;
  for (int n = 0; n < kRows; ++n) {
    EXPECT_EQ(LandingRow(board, 2), 5 - n);
    board.Set(5 - n, 2, n % 2 ? '1' : '2');
  }
  EXPECT_EQ(LandingRow(board, 2), -1);
  EXPECT_EQ(LandingRow(board, 3), 5);
  // Numbers that name no column have no room and read nothing outside the grid.
  for (int c : {-1, 7, 1000, -2147483647 - 1}) EXPECT_EQ(LandingRow(board, c), -1);
}

TEST(BoardTest, BoardTextRoundTripsAndRejectsBadText) {
  std::string text(42, '0');
  text[0] = '2';   // the top-left cell
  text[41] = '1';  // the bottom-right cell
  const auto board = TBoard::FromString(text);
  ASSERT_TRUE(board);
  EXPECT_EQ(board->At(0, 0), '2');
  EXPECT_EQ(board->At(5, 6), '1');
  EXPECT_EQ(board->ToString(), text);
  EXPECT_FALSE(TBoard::FromString(text.substr(1)));
  EXPECT_FALSE(TBoard::FromString(text + "0"));
  text[5] = '3';
  EXPECT_FALSE(TBoard::FromString(text));
}

TEST(BoardTest, ExtractLineReadsEachDirectionInRunningOrderAndTouchesOnlyItsEntry) {
  TBoard board;
  for (int i = 0; i < kCells; ++i) board.Cells[i] = "012"[i % 3];
  TLineBuffer lines;
  ExtractLine(kDirectionRow, board, 0, 1, lines);        // cells 7 .. 13
  ExtractLine(kDirectionDownRight, board, 1, 0, lines);  // cells 1, 9, 17, 25, 33, 41
  ExtractLine(kDirectionColumn, board, 2, 0, lines);     // cells 2, 9, 16, 23, 30, 37
  ExtractLine(kDirectionDownLeft, board, 6, 2, lines);   // cells 20, 26, 32, 38
  EXPECT_EQ(lines.Text(1), "1201201");
  EXPECT_EQ(lines.Text(2), "102102");
  EXPECT_EQ(lines.Text(3), "201201");
  EXPECT_EQ(lines.Text(4), "2222");
  ExtractLine(kDirectionDownLeft, board, 0, 0, lines);  // a one-cell corner diagonal
  EXPECT_EQ(lines.Text(4), "0");
  ExtractLine(kDirectionRow, board, 0, 5, lines);  // replaced, not appended to
  EXPECT_EQ(lines.Text(1).size(), 7u);
  // Directions the grid does not have change nothing.
  for (int direction : {0, 5, -1}) ExtractLine(direction, board, 0, 0, lines);
  EXPECT_EQ(lines.Text(2), "102102");
  EXPECT_EQ(lines.Text(3), "201201");
}

TEST(BoardTest, CheckGameEndReportsTheFirstFourFoundAndWhereItBegins) {
  // name, cells of player 1, cells of player 2, expected end
  const std::array<const char*, 4> cases[] = {
      {"row", "51 52 53 54", "", "1 0 1 1 5 1"},
      {"five in a row: the first four", "", "50 51 52 53 54", "1 0 1 0 5 2"},
      {"column: its top piece", "", "23 33 43 53", "1 0 3 3 2 2"},
      {"down-right from the left edge", "20 31 42 53", "", "1 0 2 0 2 1"},
      {"down-right from the top edge", "", "12 23 34 45", "1 0 2 2 1 2"},
      {"shortest down-right", "", "03 14 25 36", "1 0 2 3 0 2"},
      {"down-left from the right edge", "26 35 44 53", "", "1 0 4 6 2 1"},
      {"down-left from the top edge", "05 14 23 32", "", "1 0 4 5 0 1"},
      {"shortest down-left", "03 12 21 30", "", "1 0 4 3 0 1"},
      {"down-left, inside a longer line", "", "24 33 42 51", "1 0 4 4 2 2"},
      // Two fours: rows first, then down-right, columns, down-left.
      {"row before column", "50 51 52 53 43 33 23", "", "1 0 1 0 5 1"},
      {"down-right before column", "", "20 31 42 53 43 33 23", "1 0 2 0 2 2"},
      {"column before down-left", "", "26 35 44 53 43 33 23", "1 0 3 3 2 2"},
      {"upper row first", "50 51 52 53", "43 44 45 46", "1 0 1 3 4 2"},
      // Threes and mixed lines: 1 1 1 2 2 2 1 on the bottom row, 1 1 2 up column 0.
      {"no four", "50 51 52 56 40 30", "53 54 55 20", "0 0 -7 -7 -7 -7"},
      {"empty grid", "", "", "0 0 -7 -7 -7 -7"},
  };
  for (const auto& [name, ones, twos, expected] : cases) {
    EXPECT_EQ(End(BoardWith('2', twos, BoardWith('1', ones))), expected) << name;
  }
}

TEST(BoardTest, FullGridIsOverWithOrWithoutAFour) {
  EXPECT_EQ(End(kDrawn), "1 1 -7 -7 -7 -7");
  // The last piece fills the grid and makes the top row begin 1 1 1 1.
  EXPECT_EQ(End(BoardWith('1', "02 03", kDrawn)), "1 1 1 0 0 1");
}

// The cells as "rc rc ...", then the winner.
std::string Winning(const TBoard& board) {
  const TWinningLine line = WinningLine(board);
  std::string text;
  for (int i = 0; i < line.Length; ++i)
    text += std::to_string(line.Cells[i].Row) + std::to_string(line.Cells[i].Column) + ' ';
  return text + std::to_string(line.Winner);
}

TEST(BoardTest, WinningLineIsTheWholeRunOfTheWinner) {
  // name, cells of player 1, cells of player 2, expected cells and winner
  const std::array<const char*, 4> cases[] = {
      {"five in a row: all five", "", "50 51 52 53 54", "50 51 52 53 54 2"},
      {"row, then another piece", "51 52 53 54", "55", "51 52 53 54 1"},
      {"column from its top piece", "", "23 33 43 53", "23 33 43 53 2"},
      {"down-left", "26 35 44 53", "", "26 35 44 53 1"},
      {"no four", "50 51 52", "53", "0"},
  };
  for (const auto& [name, ones, twos, expected] : cases) {
    EXPECT_EQ(Winning(BoardWith('2', twos, BoardWith('1', ones))), expected) << name;
  }
  EXPECT_EQ(Winning(kDrawn), "0");
}

}  // namespace
}  // namespace zerud
