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

TBoard Grid(const char* cells) { return *TBoard::FromString(cells); }

const TBoard kDrawn = Grid("112211222112211122112221122111221122211221");

TBoard Emptied(TBoard board, int column) {
  for (int r = 0; r < kRows; ++r) board.Set(r, column, '0');
  return board;
}

struct TChoice {
  int Column;
  long long Nodes;
  bool operator==(const TChoice&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TChoice& choice) {
  return out << "column " << choice.Column << " nodes " << choice.Nodes;
}

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

TEST(SearchTest, FullColumnIsNeverChosen) {
  const TPatternTable empty, high = TPatternTable::FromText("0|2000000"),
                             low = TPatternTable::FromText("0|-2000000");
  TBoard leftFull;
  for (int r = 0; r < kRows; ++r) leftFull.Set(r, 0, r % 2 ? '1' : '2');
  TBoard over = leftFull;  // 1 1 1 1 1 on the bottom row
  for (int c = 1; c <= 4; ++c) over.Set(5, c, '1');
  struct TCase {
    const char* Name;
    TBoard Board;
    const TPatternTable& Table;
    int Level, Expected;
  };
  const TCase cases[] = {
      // An empty table scores everything alike: the leftmost open column.
      {"empty table", TBoard(), empty, 2, 0},
      {"empty table, column 0 full", leftFull, empty, 2, 1},
      {"only column 0 open", Emptied(kDrawn, 0), ShippedTable(), 5, 0},
      {"only column 4 open", Emptied(kDrawn, 4), ShippedTable(), 2, 4},
      {"only column 6 open", Emptied(kDrawn, 6), ShippedTable(), 5, 6},
      // Every line scores past a bound: the root improves nothing or is cut
      // off, and BestMoves[1] stays 0, a full column.
      {"scores above the bound", leftFull, high, 2, 1},
      {"scores below the bound", leftFull, low, 2, 1},
      {"scores above the bound, column 0 open", TBoard(), high, 2, 0},
      {"scores below the bound, column 0 open", TBoard(), low, 2, 0},
      {"a grid already over", over, ShippedTable(), 3, 1},
      {"a full grid", kDrawn, ShippedTable(), 2, -1},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(Choose(c.Board, c.Level, c.Table).Column, c.Expected) << c.Name;
}

TEST(SearchTest, MachineOpeningIsARandomColumnWithoutSearch) {
  std::set<int> seen;
  for (std::uint32_t seed = 0; seed < 200; ++seed) {
    TSearchState state;
    state.BestMoves[1] = 5;
    TRandomSource random(seed), again(seed);
    long long nodes = 0;
    const int column =
        ChooseMachineColumn(TBoard(), 1, state, ShippedTable(), random, [&nodes] { ++nodes; });
    EXPECT_EQ(nodes, 0);
    EXPECT_EQ(state.BestMoves, TBestMoves{});
    EXPECT_EQ(again.Below(7), column);
    seen.insert(column);
  }
  EXPECT_EQ(seen, (std::set<int>{0, 1, 2, 3, 4, 5, 6}));
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
  TBoard topRowOpen = kDrawn;
  for (int c = 0; c < kColumns; ++c) topRowOpen.Set(0, c, '0');
  std::vector<std::tuple<double, long long, TBestMoves>> results;
  for (const bool fast : {true, false}) {
    TSearchState state;
    state.MaxDepth = 40;
    long long nodes = 0;
    const TEventPump pump = [&nodes] { ++nodes; };
    const double value =
        fast ? MaxNode(topRowOpen, 19, kRootAlpha, kRootBeta, {state, ShippedTable(), pump})
             : literal::MaxNode(topRowOpen, 19, kRootAlpha, kRootBeta,
                                {state, ShippedTable().Entries(), pump});
    results.emplace_back(value, nodes, state.BestMoves);
  }
  EXPECT_EQ(results[0], results[1]);
  EXPECT_GT(std::get<1>(results[0]), 7);
  for (int d = 1; d < 19; ++d) EXPECT_EQ(std::get<2>(results[0])[d], 0);
}

TEST(SearchTest, ErrorEndsTheSearchAndStillClearsBestMoves) {
  TSearchState state;
  TRandomSource random(1);
  try {
    ChooseMachineColumn(TBoard(), 2, state, TPatternTable::FromText("2222|100\n0|oops"), random);
    ADD_FAILURE() << "no error";
  } catch (const TConvertError& error) {
    EXPECT_STREQ(error.what(), "'oops' n'est pas une valeur entière correcte");
  }
  EXPECT_EQ(state.BestMoves, TBestMoves{});
}

// The ordered search gives way to the plain one at the first node that
// sees the new level; the plain search reads the level at every node.
TEST(SearchTest, LevelRaisedDuringASearchDeepensTheRestOfIt) {
  const TBoard board = Grid(
      "0000000000000000000000000000"
      "0002000"
      "0011200");
  const long long levelTwo = Choose(board, 2, ShippedTable()).Nodes;
  // Nodes of the plain search, the level raised at node `after`.
  enum TWay { kChoice, kPlainNodes, kLiteralNodes };
  auto raisedAfter = [&](TWay way, long long after) {
    TSearchState state;
    state.MaxDepth = 4;
    long long nodes = 0;
    const TEventPump pump = [&] {
      if (++nodes == after) state.MaxDepth = 8;
    };
    TRandomSource random(1);
    if (way == kChoice)
      return std::pair{ChooseMachineColumn(board, 4, state, ShippedTable(), random, pump), nodes};
    if (way == kPlainNodes) {
      MaxNode(board, 1, kRootAlpha, kRootBeta, {state, ShippedTable(), pump});
    } else {
      literal::MaxNode(board, 1, kRootAlpha, kRootBeta, {state, ShippedTable().Entries(), pump});
    }
    return std::pair{state.BestMoves[1], nodes};
  };
  const auto plainEarly = raisedAfter(kPlainNodes, 30);
  EXPECT_GT(plainEarly.second, 20 * raisedAfter(kPlainNodes, 0).second);
  EXPECT_LT(plainEarly.second, raisedAfter(kPlainNodes, 1).second);
  EXPECT_EQ(plainEarly, raisedAfter(kLiteralNodes, 30));
  // The choice: the whole search again at the new level, in the plain order.
  const auto early = raisedAfter(kChoice, 30);
  EXPECT_EQ(early.first, Choose(board, 4, ShippedTable()).Column);
  EXPECT_EQ(early.second, 30 + raisedAfter(kPlainNodes, 1).second);
  EXPECT_EQ(raisedAfter(kChoice, levelTwo + 1).second, levelTwo);
}

TEST(SearchTest, NodeCountsOfFixedPositionsStayTheSame) {
  // A change of these numbers is a change of the machine's search: the
  // ordered search of a choice, and the plain order of MaxNode.
  const TPatternTable table = TPatternTable::FromText(
      "2222|1000\n1111|-1000\n0222|50\n2220|50\n0111|-50\n1110|-50\n0220|5\n0110|-5\n0|1");
  const TBoard board = Grid(
      "000000000000000000000"
      "0001000"
      "0002100"
      "0012200");
  const TChoice ordered[] = {{5, 86}, {5, 510}, {5, 3033}, {3, 11373}};
  const TChoice plain[] = {{5, 334}, {5, 8426}, {5, 205420}, {3, 4694016}};
  for (int level = 2; level <= 5; ++level) {
    EXPECT_EQ(Choose(board, level, table, 6), ordered[level - 2]) << level;
    TSearchState state;
    state.MaxDepth = 2 * level;
    long long nodes = 0;
    MaxNode(board, 1, kRootAlpha, kRootBeta, {state, table, [&nodes] { ++nodes; }});
    EXPECT_EQ((TChoice{state.BestMoves[1], nodes}), plain[level - 2]) << level;
  }
  // Nothing of one search carries over into the next.
  EXPECT_EQ(Choose(board, 2, table, 6), ordered[0]);
}

TBoard Play(TBoard board, int column, int player) {
  board.Set(LandingRow(board, column), column, PlayerCell(player));
  return board;
}

// Columns where a piece of `player` would make four at once.
std::vector<int> WinningColumns(const TBoard& board, int player) {
  std::vector<int> columns;
  for (int c = 0; c < kColumns; ++c) {
    if (LandingRow(board, c) < 0) continue;
    int direction, column, row, winner = 0;
    bool full;
    CheckGameEnd(Play(board, c, player), direction, column, row, winner, full);
    if (winner == player) columns.push_back(c);
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
    const std::vector<int> mine = WinningColumns(board, 2);
    if (wins) {
      if (!mine.empty()) found.push_back(board);
      continue;
    }
    const std::vector<int> theirs = WinningColumns(board, 1);
    if (!mine.empty() || theirs.size() != 1) continue;
    if (WinningColumns(Play(board, theirs[0], 2), 1).empty()) found.push_back(board);
  }
  return found;
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

// Unless every move loses by force within the machine's horizon, it blocks.
TEST(SearchTest, MachineBlocksALossInOneUnlessEveryMoveLosesAtEveryLevel) {
  int blocked = 0, total = 0;
  for (const TBoard& board : Positions(false, 25)) {
    const int threat = WinningColumns(board, 1)[0];
    for (int level = 2; level <= 5; ++level, ++total) {
      if (Choose(board, level, ShippedTable()).Column == threat) {
        ++blocked;
        continue;
      }
      TSearchState state;
      state.MaxDepth = 2 * level;
      EXPECT_LT(MaxNode(board, 1, kRootAlpha, kRootBeta, {state, ShippedTable(), {}}), -50000)
          << board.ToString() << " level " << level;
    }
  }
  EXPECT_GT(blocked, total * 3 / 4);
}

}  // namespace
}  // namespace zerud
