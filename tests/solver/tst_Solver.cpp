#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <vector>

#include "solver/Solver.h"

namespace zerud {
namespace {

// The plain definition: every column tried, to the end of the game.
int BruteForce(TBoard& board, char mover, int pieces);

int ColumnValue(TBoard& board, int column, char mover, int pieces) {
  const int row = LandingRow(board, column);
  board.Set(row, column, mover);
  int direction, c, r, winner = 0;
  bool full = false;
  int value;
  if (CheckGameEnd(board, direction, c, r, winner, full) && winner != 0) {
    value = (43 - pieces) / 2;
  } else {
    value = full ? 0 : -BruteForce(board, mover == '1' ? '2' : '1', pieces + 1);
  }
  board.Set(row, column, kEmptyCell);
  return value;
}

int BruteForce(TBoard& board, char mover, int pieces) {
  int best = -kCells;
  for (int column = 0; column < kColumns; ++column) {
    if (LandingRow(board, column) >= 0) {
      best = std::max(best, ColumnValue(board, column, mover, pieces));
    }
  }
  return best;
}

std::string BruteForceAnswer(TBoard board, char mover, int pieces) {
  TColumnScores scores;
  for (int column = 0; column < kColumns; ++column) {
    if (LandingRow(board, column) >= 0) {
      scores[column] = ColumnValue(board, column, mover, pieces);
    }
  }
  return FormatColumnScores(scores);
}

// A grid of `pieces` pieces from random moves, each avoiding a four.
std::optional<TBoard> RandomGrid(std::mt19937& random, int pieces) {
  TBoard board;
  for (int n = 0; n < pieces; ++n) {
    std::vector<int> quiet;
    for (int column = 0; column < kColumns; ++column) {
      const int row = LandingRow(board, column);
      if (row < 0) continue;
      TBoard after = board;
      after.Set(row, column, n % 2 ? kPlayer2Cell : kPlayer1Cell);
      if (!IsGameOver(after)) quiet.push_back(column);
    }
    if (quiet.empty()) return std::nullopt;
    const int column = quiet[random() % quiet.size()];
    board.Set(LandingRow(board, column), column, n % 2 ? kPlayer2Cell : kPlayer1Cell);
  }
  return board;
}

TEST(SolverTest, ColumnScoresEqualPlainMinimaxNearTheEnd) {
  // A table of one bucket keeps almost nothing; a large one all. The
  // search built for any processor is checked as well as the one that
  // counts bits in one instruction.
  for (const auto& [tableMib, plain] : {std::pair<std::size_t, bool>{0, true}, {128, false}}) {
    std::mt19937 random(2024);
    TSolver solver(
        TSolverOptions{.TableMib = tableMib, .Book = nullptr, .PlainInstructions = plain});
    int compared = 0;
    for (const int pieces : {34, 35, 36, 37, 38, 40, 41}) {
      for (int tries = 0; tries < 40; ++tries) {
        const std::optional<TBoard> board = RandomGrid(random, pieces);
        if (!board) continue;
        std::string why;
        const std::optional<TSolverGrid> grid = ToSolverGrid(*board, why);
        ASSERT_TRUE(grid) << why;
        const char mover = PlayerCell(grid->PlayerToMove);
        const std::string expected = BruteForceAnswer(*board, mover, pieces);
        EXPECT_EQ(FormatColumnScores(solver.ScoreColumns(grid->Position)), expected)
            << board->ToString() << " with " << tableMib << " MiB";
        // Outcomes only: the signs of the same scores.
        const TColumnScores outcomes = solver.ScoreColumns(grid->Position, true);
        TColumnScores signs = solver.ScoreColumns(grid->Position);
        for (auto& score : signs) {
          if (score) score = (*score > 0) - (*score < 0);
        }
        EXPECT_EQ(outcomes, signs) << board->ToString();
        ++compared;
      }
    }
    EXPECT_GT(compared, 100);
  }
}

// Scores checked with earlier solvers. Grids whose pieces all lie in the
// left columns have the smallest keys, which a small table keeps whole
// (checked with a solver that stored whole keys). Grids of 16 pieces from
// play are far enough from the end that the look-ahead in the full-size
// table decides much of the search (checked with one that looked entries up
// one by one).
TEST(SolverTest, GridsScoreAsBefore) {
  const struct {
    std::size_t TableMib;
    const char* Board;
    const char* Scores;
  } cases[] = {
      {0, "210000012000002100000120000021000001200000", "x x -1 0 -3 -5 -3"},
      {0, "120000012000002100000210000012000001200000", "x x -1 -2 -2 -2 -3"},
      {128, "000000000020000021000001201000212201022111", "-2 0 -1 0 -1 -1 -2"},
      {128, "000000000000000000200001212020112101021212", "2 -2 -2 4 2 2 -2"},
      {128, "000000000120000021000201100010220002021112", "-5 -12 -5 -5 -2 2 -5"},
      {128, "000000000010000002100000120021221002111220", "-2 0 0 -2 2 0 1"},
  };
  for (const auto& c : cases) {
    TSolver solver(TSolverOptions{.TableMib = c.TableMib, .Book = nullptr});
    std::string why;
    const std::optional<TSolverGrid> grid = ToSolverGrid(*TBoard::FromString(c.Board), why);
    ASSERT_TRUE(grid) << why;
    EXPECT_EQ(FormatColumnScores(solver.ScoreColumns(grid->Position)), c.Scores) << c.Board;
  }
}

// The column the hint shows: the highest score, the middle first among
// equals, held to the scores of every column.
TEST(SolverTest, BestColumnIsTheHighestScoreMiddleFirst) {
  std::mt19937 random(7);
  std::vector<TBoard> boards;
  for (const int pieces : {16, 20, 24, 30, 34, 38, 41}) {
    for (int tries = 0; tries < 12; ++tries) {
      if (const std::optional<TBoard> board = RandomGrid(random, pieces)) boards.push_back(*board);
    }
  }
  TSolver solver;
  for (const TBoard& board : boards) {
    std::string why;
    const TBitPosition position = ToSolverGrid(board, why)->Position;
    const TColumnScores scores = solver.ScoreColumns(position);
    TSolverChoice expected;
    for (const int column : {3, 2, 4, 1, 5, 0, 6}) {
      if (scores[column] && (expected.Column < 0 || *scores[column] > expected.Score)) {
        expected = TSolverChoice{column, *scores[column]};
      }
    }
    // A fresh table too: the pruned searches must not lean on ScoreColumns's.
    TSolver fresh(TSolverOptions{.TableMib = 8, .Book = nullptr});
    for (TSolver* used : {&solver, &fresh}) {
      const std::optional<TSolverChoice> choice = used->BestColumn(position);
      ASSERT_TRUE(choice) << board.ToString();
      EXPECT_EQ(choice->Column, expected.Column) << board.ToString();
      EXPECT_EQ(choice->Score, expected.Score) << board.ToString();
    }
  }
  EXPECT_GT(boards.size(), 60u);
}

// A search stopped by its limit answers nothing, however far it got, and
// what it leaves in the table is true: a grid searched again and again,
// each time stopped after a few thousand nodes, ends with its real value.
TEST(SolverTest, StoppedSearchAnswersNothingAndLeavesTrueValues) {
  const TBoard board = *TBoard::FromString("000000000120000021000201100010220002021112");
  std::string why;
  const TBitPosition position = ToSolverGrid(board, why)->Position;
  const std::atomic<bool> raised{true};
  const auto past = std::chrono::steady_clock::now();
  // With two threads, the first one's search alone is stopped as well.
  for (const auto& [threads, limit] : {std::pair{1, TSolveLimit{.Stop = &raised}},
                                       {1, TSolveLimit{.Deadline = past}},
                                       {2, TSolveLimit{.Stop = &raised}}}) {
    TSolver solver(TSolverOptions{.Threads = threads});
    EXPECT_FALSE(solver.BestColumn(position, limit)) << threads;
    int stops = 1;
    std::optional<TSolverChoice> choice;
    while (!(choice = solver.BestColumn(position, limit)) && stops < 100000) ++stops;
    ASSERT_TRUE(choice);
    EXPECT_GT(stops, 5);
    EXPECT_EQ(choice->Column, 5);
    EXPECT_EQ(choice->Score, 2);
    EXPECT_EQ(FormatColumnScores(solver.ScoreColumns(position)), "-5 -12 -5 -5 -2 2 -5");
    // An unlimited search afterwards is never stopped.
    const TBoard other = *TBoard::FromString("000000000010000002100000120021221002111220");
    const std::uint64_t before = solver.Nodes();
    choice = solver.BestColumn(ToSolverGrid(other, why)->Position);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->Column, 4);
    EXPECT_GT(solver.Nodes() - before, 40000u);
  }
}

// The move order decides how much is searched: this grid took 692 k nodes
// when moves were ordered by their threats alone, about 150 k now.
TEST(SolverTest, MoveOrderKeepsTheSearchSmall) {
  std::string why;
  const TBoard board = *TBoard::FromString("000000000000000220000012000002100010112012");
  TSolver solver(TSolverOptions{.TableMib = 64, .Book = nullptr});
  EXPECT_EQ(solver.Solve(ToSolverGrid(board, why)->Position), -5);
  EXPECT_LT(solver.Nodes(), 200000u);
}

TEST(SolverTest, GridsItCannotTakeAreRefusedWithTheirReason) {
  const struct {
    const char* Board;
    const char* Reason;  // empty when the grid is taken
    int PlayerToMove;    // 0 when refused
  } cases[] = {
      {"000000000000000000000000000000000000000000", "", 1},
      {"000000000000000000000000000000000000000100", "", 2},
      {"000000000000000000000000000000000000000200", "", 1},
      {"000000000000000000000000000000000000001100",
       "the players' piece counts differ by more than one", 0},
      {"000000000000000000000000000000100000000000", "a piece floats above an empty cell", 0},
      {"000000000000000000000000000000000000000221", "", 1},
      {"000000000000000000000000000000200000111122", "the grid already holds four in a row", 0},
      {"112211222112211122112221122111221122211221", "", 1},
  };
  for (const auto& c : cases) {
    std::string why;
    const std::optional<TSolverGrid> grid = ToSolverGrid(*TBoard::FromString(c.Board), why);
    EXPECT_EQ(why, c.Reason) << c.Board;
    EXPECT_EQ(grid ? grid->PlayerToMove : 0, c.PlayerToMove) << c.Board;
  }
}

}  // namespace
}  // namespace zerud
