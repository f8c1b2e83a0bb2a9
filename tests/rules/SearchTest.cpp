#include <gtest/gtest.h>

#include <set>

#include "Literal.h"
#include "RandomCases.h"
#include "rules/Errors.h"
#include "rules/Search.h"

namespace zerud {
namespace {

using TBestMoves = std::array<int, TSearchState::kBestMovesSize + 1>;

const TPatternTable& ShippedTable() {
  static const TPatternTable table = TPatternTable::FromFile(ZERUD_SCORES_FILE);
  return table;
}

TBoard Grid(const char* rows) { return *TBoard::FromString(rows); }

// The grid of a drawn game with column `open` emptied.
TBoard AllFullBut(int open) {
  TBoard board = Grid(
      "1122112"
      "2211221"
      "1122112"
      "2211221"
      "1122112"
      "2211221");
  for (int r = 0; r < kRows; ++r) board.Set(r, open, '0');
  return board;
}

// Five pieces in the middle of the bottom rows, the machine to move.
TBoard MiddleGame() {
  return Grid(
      "0000000"
      "0000000"
      "0000000"
      "0001000"
      "0002100"
      "0012200");
}

struct TChoice {
  int Column;
  long long Nodes;
};

TChoice Choose(const TBoard& board, int level, const TPatternTable& table, int moveNumber = 2) {
  TSearchState state;
  state.MaxDepth = 2 * level;
  TRandomSource random(3);
  long long nodes = 0;
  const int column =
      ChooseMachineColumn(board, moveNumber, state, table, random, [&nodes] { ++nodes; });
  EXPECT_EQ(state.BestMoves, TBestMoves{});
  return {column, nodes};
}

TEST(SearchTest, EmptyTablePlaysTheLeftmostColumnThatIsNotFull) {
  const TPatternTable empty;
  EXPECT_EQ(Choose(TBoard(), 2, empty).Column, 0);
  TBoard board;
  for (int r = 0; r < kRows; ++r) board.Set(r, 0, r % 2 ? '1' : '2');
  for (int level = 2; level <= 3; ++level) EXPECT_EQ(Choose(board, level, empty).Column, 1);
}

TEST(SearchTest, OnlyOpenColumnIsPlayedWhereverItIs) {
  for (int open : {0, 4, 6}) {
    EXPECT_EQ(Choose(AllFullBut(open), 2, ShippedTable()).Column, open);
    EXPECT_EQ(Choose(AllFullBut(open), 5, ShippedTable()).Column, open);
  }
}

TEST(SearchTest, FullColumnIsNeverChosenEvenWhenScoresReachTheBounds) {
  TBoard board;
  for (int r = 0; r < kRows; ++r) board.Set(r, 0, r % 2 ? '1' : '2');
  // Every line scores past a bound: the root either improves nothing or is
  // cut off, and BestMoves[1] stays 0, a full column.
  for (const char* text : {"0|2000000", "0|-2000000"}) {
    const TPatternTable table = TPatternTable::FromText(text);
    EXPECT_EQ(Choose(board, 2, table).Column, 1) << text;
    EXPECT_EQ(Choose(TBoard(), 2, table).Column, 0) << text;
  }
  // A grid already over: the root scores it and chooses nothing.
  TBoard over = board;
  for (int c = 1; c <= 4; ++c) over.Set(5, c, '1');
  EXPECT_EQ(Choose(over, 3, ShippedTable()).Column, 1);
  // A full grid leaves nothing to play.
  const TBoard full = AllFullBut(3);
  TBoard filled = full;
  for (int r = 0; r < kRows; ++r) filled.Set(r, 3, r % 2 ? '1' : '2');
  EXPECT_EQ(Choose(filled, 2, ShippedTable()).Column, -1);
}

TEST(SearchTest, MachineOpeningIsARandomColumnWithoutSearch) {
  std::set<int> seen;
  for (std::uint32_t seed = 0; seed < 200; ++seed) {
    TSearchState state;
    state.BestMoves[1] = 5;
    TRandomSource random(seed);
    long long nodes = 0;
    const int column =
        ChooseMachineColumn(TBoard(), 1, state, ShippedTable(), random, [&nodes] { ++nodes; });
    EXPECT_EQ(nodes, 0);
    EXPECT_EQ(state.BestMoves, TBestMoves{});
    ASSERT_GE(column, 0);
    ASSERT_LE(column, 6);
    seen.insert(column);
    TRandomSource again(seed);
    EXPECT_EQ(again.Below(7), column);
  }
  EXPECT_EQ(seen.size(), 7u);
}

TEST(SearchTest, SameGridLevelAndTableGiveTheSameColumn) {
  const TBoard board = MiddleGame();
  for (int level = 2; level <= 5; ++level) {
    const TChoice first = Choose(board, level, ShippedTable());
    const TChoice second = Choose(board, level, ShippedTable());
    EXPECT_EQ(first.Column, second.Column);
    EXPECT_EQ(first.Nodes, second.Nodes);
  }
}

TEST(SearchTest, DepthLimitCountsTheRootAsDepthOne) {
  for (const auto& [maxDepth, nodes] : {std::pair{1, 1LL}, {2, 8LL}, {0, 1LL}}) {
    TSearchState state;
    state.MaxDepth = maxDepth;
    long long count = 0;
    const TEventPump pump = [&count] { ++count; };
    MaxNode(TBoard(), 1, kRootAlpha, kRootBeta, TSearchContext{state, ShippedTable(), pump});
    EXPECT_EQ(count, nodes) << maxDepth;
  }
}

TEST(SearchTest, NodesDeeperThanTwentyKeepNoBestMove) {
  // Nodes from depth 19 down to the full grid, past the end of BestMoves.
  const TBoard board = Grid(
      "0000000"
      "1122112"
      "2211221"
      "1122112"
      "2211221"
      "1122112");
  std::vector<std::pair<double, long long>> results;
  std::vector<TBestMoves> tables;
  for (const bool fast : {true, false}) {
    TSearchState state;
    state.MaxDepth = 40;
    long long nodes = 0;
    const TEventPump pump = [&nodes] { ++nodes; };
    const double value =
        fast ? MaxNode(board, 19, kRootAlpha, kRootBeta, {state, ShippedTable(), pump})
             : literal::MaxNode(board, 19, kRootAlpha, kRootBeta,
                                {state, ShippedTable().Entries(), pump});
    results.emplace_back(value, nodes);
    tables.push_back(state.BestMoves);
  }
  EXPECT_EQ(results[0], results[1]);
  EXPECT_EQ(tables[0], tables[1]);
  EXPECT_GT(results[0].second, 7);
  for (int d = 1; d < 19; ++d) EXPECT_EQ(tables[0][d], 0);
}

TEST(SearchTest, ErrorEndsTheSearchAndStillClearsBestMoves) {
  const TPatternTable table = TPatternTable::FromText("2222|100\n0|oops");
  TSearchState state;
  TRandomSource random(1);
  try {
    ChooseMachineColumn(TBoard(), 2, state, table, random);
    FAIL() << "no error";
  } catch (const TConvertError& error) {
    EXPECT_STREQ(error.what(), "'oops' n'est pas une valeur entière correcte");
  }
  EXPECT_EQ(state.BestMoves, TBestMoves{});
}

TEST(SearchTest, LevelRaisedDuringASearchDeepensTheRestOfIt) {
  const TBoard board = Grid(
      "0000000"
      "0000000"
      "0000000"
      "0000000"
      "0002000"
      "0011200");
  const long long levelTwo = Choose(board, 2, ShippedTable()).Nodes;
  const long long levelFour = Choose(board, 4, ShippedTable()).Nodes;
  auto raisedAfter = [&](bool fast, long long after) {
    TSearchState state;
    state.MaxDepth = 4;
    long long nodes = 0;
    const TEventPump pump = [&] {
      if (++nodes == after) state.MaxDepth = 8;
    };
    TRandomSource random(1);
    const int column =
        fast ? ChooseMachineColumn(board, 4, state, ShippedTable(), random, pump)
             : literal::ChooseMachineColumn(board, state, ShippedTable().Entries(), pump);
    return std::pair{column, nodes};
  };
  const auto early = raisedAfter(true, 30);
  EXPECT_GT(early.second, 20 * levelTwo);
  EXPECT_LT(early.second, levelFour);
  EXPECT_EQ(early, raisedAfter(false, 30));
  EXPECT_EQ(raisedAfter(true, levelTwo + 1).second, levelTwo);
}

TEST(SearchTest, NodeCountsOfFixedPositionsStayTheSame) {
  // A change of these numbers is a change of the machine's play.
  const TPatternTable table = TPatternTable::FromText(
      "2222|1000\n1111|-1000\n0222|50\n2220|50\n0111|-50\n1110|-50\n0220|5\n0110|-5\n0|1");
  const TBoard board = MiddleGame();
  const TChoice expected[] = {{5, 334}, {5, 8426}, {5, 205420}, {3, 4694016}};
  for (int level = 2; level <= 5; ++level) {
    const TChoice choice = Choose(board, level, table, 6);
    EXPECT_EQ(choice.Column, expected[level - 2].Column) << level;
    EXPECT_EQ(choice.Nodes, expected[level - 2].Nodes) << level;
  }
}

// Columns where a piece of `player` would make four at once.
std::vector<int> WinningColumns(const TBoard& board, int player) {
  std::vector<int> columns;
  for (int c = 0; c < kColumns; ++c) {
    const int row = LandingRow(board, c);
    if (row < 0) continue;
    TBoard after = board;
    after.Set(row, c, PlayerCell(player));
    int direction, column, r, winner = 0;
    bool full;
    if (CheckGameEnd(after, direction, column, r, winner, full) && winner == player) {
      columns.push_back(c);
    }
  }
  return columns;
}

// Random positions with the machine (player 2) to move: `wins` keeps those
// where it can win at once, otherwise those where it cannot but player 1
// threatens exactly one column, and playing there leaves player 1 no win.
std::vector<TBoard> Positions(bool wins, int wanted) {
  std::mt19937 random(wins ? 101 : 202);
  std::vector<TBoard> found;
  while (static_cast<int>(found.size()) < wanted) {
    int next;
    const TBoard board = testing_cases::RandomPlayedGrid(
        random, 2 * std::uniform_int_distribution<int>(3, 16)(random) + 1, next);
    if (next != 2 || IsGameOver(board)) continue;
    // Player 1 has just moved; player 2 is to move.
    const std::vector<int> mine = WinningColumns(board, 2);
    if (wins) {
      if (!mine.empty()) found.push_back(board);
      continue;
    }
    const std::vector<int> theirs = WinningColumns(board, 1);
    if (!mine.empty() || theirs.size() != 1) continue;
    TBoard blocked = board;
    blocked.Set(LandingRow(board, theirs[0]), theirs[0], '2');
    if (WinningColumns(blocked, 1).empty()) found.push_back(board);
  }
  return found;
}

TBoard Play(TBoard board, int column, int player) {
  board.Set(LandingRow(board, column), column, PlayerCell(player));
  return board;
}

// The search has no win score of its own and no bonus for a quick win: the
// table makes a four outweigh everything else, so a win at once scores
// above any grid without a four. A deeper win can score as much (one piece
// completing two fours scores twice), and the machine may then take the
// longer road: it must still be a sure win, with no chance left to player 1.
TEST(SearchTest, MachineTakesAWinInOneOrASureWinInTwoAtEveryLevel) {
  int direct = 0, total = 0;
  for (const TBoard& board : Positions(true, 25)) {
    const std::vector<int> wins = WinningColumns(board, 2);
    for (int level = 2; level <= 5; ++level, ++total) {
      const int column = Choose(board, level, ShippedTable()).Column;
      if (std::find(wins.begin(), wins.end(), column) != wins.end()) {
        ++direct;
        continue;
      }
      const TBoard after = Play(board, column, 2);
      EXPECT_TRUE(WinningColumns(after, 1).empty()) << board.ToString() << " level " << level;
      for (int reply = 0; reply < kColumns; ++reply) {
        if (LandingRow(after, reply) < 0) continue;
        EXPECT_FALSE(WinningColumns(Play(after, reply, 1), 2).empty())
            << board.ToString() << " level " << level << " played " << column;
      }
    }
  }
  EXPECT_GT(direct, total / 2);
}

// Value of the root for the machine at a level.
double RootValue(const TBoard& board, int level) {
  TSearchState state;
  state.MaxDepth = 2 * level;
  return MaxNode(board, 1, kRootAlpha, kRootBeta, TSearchContext{state, ShippedTable(), {}});
}

// Unless every move loses by force within the machine's horizon, it blocks.
TEST(SearchTest, MachineBlocksALossInOneUnlessEveryMoveLosesAtEveryLevel) {
  int blocked = 0, total = 0;
  for (const TBoard& board : Positions(false, 25)) {
    const int threat = WinningColumns(board, 1)[0];
    for (int level = 2; level <= 5; ++level, ++total) {
      const int column = Choose(board, level, ShippedTable()).Column;
      if (column == threat) {
        ++blocked;
        continue;
      }
      EXPECT_LT(RootValue(board, level), -50000) << board.ToString() << " level " << level;
    }
  }
  EXPECT_GT(blocked, total * 3 / 4);
}

}  // namespace
}  // namespace zerud
