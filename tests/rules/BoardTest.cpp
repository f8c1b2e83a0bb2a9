#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "rules/Board.h"

namespace zerud {
namespace {

using TCells = std::initializer_list<std::pair<int, int>>;

TBoard BoardWith(char piece, TCells cells, TBoard board = TBoard()) {
  for (const auto& [row, column] : cells) board.Set(row, column, piece);
  return board;
}

struct TEnd {
  bool Over;
  bool Full;
  int Direction = -7, Column = -7, Row = -7, Winner = -7;
};

TEnd End(const TBoard& board) {
  TEnd end{};
  end.Direction = end.Column = end.Row = end.Winner = -7;
  end.Full = false;
  end.Over = CheckGameEnd(board, end.Direction, end.Column, end.Row, end.Winner, end.Full);
  return end;
}

// A full grid without any four, 21 pieces each.
TBoard FullDrawnGrid() {
  const char* rows[kRows] = {"1122112", "2211221", "1122112", "2211221", "1122112", "2211221"};
  TBoard board;
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c) board.Set(r, c, rows[r][c]);
  return board;
}

TEST(BoardTest, OtherPlayerSwapsAndMapsEverythingElseToOne) {
  EXPECT_EQ(OtherPlayer(1), 2);
  EXPECT_EQ(OtherPlayer(2), 1);
  EXPECT_EQ(OtherPlayer(0), 1);
  EXPECT_EQ(OtherPlayer(7), 1);
}

TEST(BoardTest, LandingRowStacksFromTheBottomAndReportsFullColumns) {
  TBoard board;
  for (int c = 0; c < kColumns; ++c) EXPECT_EQ(LandingRow(board, c), 5);
  for (int n = 0; n < kRows; ++n) {
    EXPECT_EQ(LandingRow(board, 2), 5 - n);
    board.Set(5 - n, 2, n % 2 ? '1' : '2');
  }
  EXPECT_EQ(LandingRow(board, 2), -1);
  EXPECT_EQ(LandingRow(board, 1), 5);
  EXPECT_EQ(LandingRow(board, 3), 5);
  // Numbers that name no column have no room and read nothing outside the grid.
  for (int c : {-1, 7, 1000, -2147483647 - 1}) EXPECT_EQ(LandingRow(board, c), -1);
}

TEST(BoardTest, BoardTextRoundTripsAndRejectsBadText) {
  std::string text(42, '0');
  text[0] = '2';   // row 0, column 0: the top-left cell
  text[41] = '1';  // row 5, column 6: the bottom-right cell
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
  for (int r = 0; r < kRows; ++r)
    for (int c = 0; c < kColumns; ++c) board.Set(r, c, "012"[(r * 7 + c) % 3]);
  TLineBuffer lines;
  ExtractLine(kDirectionRow, board, 0, 1, lines);  // cells 7 .. 13
  EXPECT_EQ(lines.Text(1), "1201201");
  ExtractLine(kDirectionDownRight, board, 1, 0, lines);  // cells 1, 9, 17, 25, 33, 41
  EXPECT_EQ(lines.Text(2), "102102");
  ExtractLine(kDirectionColumn, board, 2, 0, lines);  // cells 2, 9, 16, 23, 30, 37
  EXPECT_EQ(lines.Text(3), "201201");
  ExtractLine(kDirectionDownLeft, board, 6, 2, lines);  // cells 20, 26, 32, 38
  EXPECT_EQ(lines.Text(4), "2222");
  ExtractLine(kDirectionDownLeft, board, 0, 0, lines);  // a one-cell corner diagonal
  EXPECT_EQ(lines.Text(4), "0");
  EXPECT_EQ(lines.Text(1), "1201201");
  // Extraction replaces the entry instead of appending to it.
  ExtractLine(kDirectionRow, board, 0, 5, lines);
  EXPECT_EQ(lines.Text(1).size(), 7u);
}

struct TFourCase {
  const char* Name;
  char Piece;
  TCells Cells;
  int Direction, Column, Row, Winner;
};

TEST(BoardTest, CheckGameEndReportsWhereEachKindOfFourBegins) {
  const TFourCase cases[] = {
      {"row", '1', {{5, 1}, {5, 2}, {5, 3}, {5, 4}}, 1, 1, 5, 1},
      {"five in a row: the first four", '2', {{5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}}, 1, 0, 5, 2},
      {"column: its top piece", '2', {{2, 3}, {3, 3}, {4, 3}, {5, 3}}, 3, 3, 2, 2},
      {"down-right from the left edge", '1', {{2, 0}, {3, 1}, {4, 2}, {5, 3}}, 2, 0, 2, 1},
      {"down-right from the top edge", '2', {{1, 2}, {2, 3}, {3, 4}, {4, 5}}, 2, 2, 1, 2},
      {"down-left from the right edge", '1', {{2, 6}, {3, 5}, {4, 4}, {5, 3}}, 4, 6, 2, 1},
      {"down-left from the top edge", '1', {{0, 5}, {1, 4}, {2, 3}, {3, 2}}, 4, 5, 0, 1},
      {"down-left, inside a longer line", '2', {{2, 4}, {3, 3}, {4, 2}, {5, 1}}, 4, 4, 2, 2},
  };
  for (const TFourCase& c : cases) {
    const TEnd end = End(BoardWith(c.Piece, c.Cells));
    EXPECT_TRUE(end.Over) << c.Name;
    EXPECT_FALSE(end.Full) << c.Name;
    EXPECT_EQ(end.Direction, c.Direction) << c.Name;
    EXPECT_EQ(end.Column, c.Column) << c.Name;
    EXPECT_EQ(end.Row, c.Row) << c.Name;
    EXPECT_EQ(end.Winner, c.Winner) << c.Name;
    EXPECT_TRUE(IsGameOver(BoardWith(c.Piece, c.Cells))) << c.Name;
  }
}

TEST(BoardTest, CheckGameEndPrefersRowsThenDownRightThenColumnsThenDownLeft) {
  // One piece at (5, 3) completes a row and a column.
  TBoard rowAndColumn = BoardWith('1', {{5, 0}, {5, 1}, {5, 2}, {5, 3}, {4, 3}, {3, 3}, {2, 3}});
  TEnd end = End(rowAndColumn);
  EXPECT_EQ(end.Direction, 1);
  EXPECT_EQ(end.Row, 5);
  EXPECT_EQ(end.Column, 0);
  // A column and a down-right diagonal: the diagonal is found first.
  TBoard columnAndDiagonal =
      BoardWith('2', {{2, 0}, {3, 1}, {4, 2}, {5, 3}, {4, 3}, {3, 3}, {2, 3}});
  end = End(columnAndDiagonal);
  EXPECT_EQ(end.Direction, 2);
  // A column and a down-left diagonal: the column is found first.
  TBoard columnAndDownLeft =
      BoardWith('2', {{2, 6}, {3, 5}, {4, 4}, {5, 3}, {4, 3}, {3, 3}, {2, 3}});
  end = End(columnAndDownLeft);
  EXPECT_EQ(end.Direction, 3);
  EXPECT_EQ(end.Column, 3);
  EXPECT_EQ(end.Row, 2);
  // Two rows: the top one is searched first.
  TBoard twoRows = BoardWith('1', {{5, 0}, {5, 1}, {5, 2}, {5, 3}});
  twoRows = BoardWith('2', {{4, 3}, {4, 4}, {4, 5}, {4, 6}}, twoRows);
  end = End(twoRows);
  EXPECT_EQ(end.Winner, 2);
  EXPECT_EQ(end.Row, 4);
}

TEST(BoardTest, FullGridWithoutFourIsADrawAndLeavesTheFourOutputsAlone) {
  const TBoard board = FullDrawnGrid();
  const TEnd end = End(board);
  EXPECT_TRUE(end.Over);
  EXPECT_TRUE(end.Full);
  EXPECT_EQ(end.Direction, -7);
  EXPECT_EQ(end.Column, -7);
  EXPECT_EQ(end.Row, -7);
  EXPECT_EQ(end.Winner, -7);
  EXPECT_TRUE(IsGameOver(board));
  EXPECT_TRUE(IsBoardFull(board));
}

TEST(BoardTest, LastPieceThatFillsTheGridAndMakesAFourReportsBoth) {
  TBoard board = FullDrawnGrid();
  // Make the top row's columns 0 .. 3 read 1 1 1 1.
  board.Set(0, 2, '1');
  board.Set(0, 3, '1');
  const TEnd end = End(board);
  EXPECT_TRUE(end.Over);
  EXPECT_TRUE(end.Full);
  EXPECT_EQ(end.Direction, 1);
  EXPECT_EQ(end.Row, 0);
  EXPECT_EQ(end.Column, 0);
  EXPECT_EQ(end.Winner, 1);
}

TEST(BoardTest, ThreesAndMixedLinesDoNotEndTheGame) {
  TBoard board = BoardWith('1', {{5, 0}, {5, 1}, {5, 2}, {4, 0}, {3, 0}});
  board = BoardWith('2', {{5, 3}, {5, 4}, {5, 5}, {5, 6}, {2, 0}}, board);  // 2222 at 3 .. 6
  EXPECT_TRUE(IsGameOver(board));
  board.Set(5, 6, '1');  // 1 1 1 2 2 2 1: no four
  const TEnd end = End(board);
  EXPECT_FALSE(end.Over);
  EXPECT_FALSE(end.Full);
  EXPECT_EQ(end.Winner, -7);
  EXPECT_FALSE(IsGameOver(board));
  EXPECT_FALSE(IsGameOver(TBoard()));
}

TEST(BoardTest, IsGameOverSeesFoursOnTheShortestDiagonals) {
  // The four-cell diagonals at the corners: down-right from (2, 0) and
  // down-left from (0, 3).
  EXPECT_TRUE(IsGameOver(BoardWith('2', {{2, 0}, {3, 1}, {4, 2}, {5, 3}})));
  EXPECT_TRUE(IsGameOver(BoardWith('1', {{0, 3}, {1, 2}, {2, 1}, {3, 0}})));
  EXPECT_TRUE(IsGameOver(BoardWith('1', {{2, 6}, {3, 5}, {4, 4}, {5, 3}})));
  EXPECT_TRUE(IsGameOver(BoardWith('2', {{0, 3}, {1, 4}, {2, 5}, {3, 6}})));
}

}  // namespace
}  // namespace zerud
