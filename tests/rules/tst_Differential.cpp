// The game's fast machine player against the plain one: same scores, same
// errors, same end tests, same node values and number of nodes in the plain
// order, same choices, on random grids and random tables.
#include <gtest/gtest.h>

#include "Literal.h"
#include "RandomCases.h"
#include "rules/Errors.h"
#include "rules/Evaluation.h"
#include "rules/SearchPosition.h"

namespace zerud {
namespace {

using namespace testing_cases;

// A result or the text of the error that replaced it.
struct TOutcome {
  double Value = 0;
  std::string Error;
  long long Nodes = 0;
  std::array<int, TSearchState::kBestMovesSize + 1> BestMoves{};
  bool operator==(const TOutcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const TOutcome& outcome) {
  out << "value " << outcome.Value << " error '" << outcome.Error << "' nodes " << outcome.Nodes
      << " best";
  for (int move : outcome.BestMoves) out << ' ' << move;
  return out;
}

template <typename F>
TOutcome Outcome(F&& action) {
  TOutcome outcome;
  try {
    outcome.Value = action(outcome.Nodes);
  } catch (const TConvertError& error) {
    outcome.Error = error.what();
  }
  return outcome;
}

// Every tenth grid then changes cell by cell, the incremental position of
// the search following along.
TEST(DifferentialTest, EvaluationMatchesThePlainScanAlsoAsCellsChange) {
  std::mt19937 random(20261207);
  for (int round = 0; round < 4000; ++round) {
    const std::vector<std::string> entries = RandomEntries(random, round % 3 == 0);
    const TPatternTable table = TPatternTable::FromText(JoinLines(entries));
    ASSERT_EQ(table.Entries(), entries);
    int next;
    TBoard board =
        round % 4 == 0 ? RandomCells(random) : RandomPlayedGrid(random, round % 43, next);
    TSearchPosition position(board, table);
    for (int step = 0; step <= (round % 10 == 0 ? 60 : 0); ++step) {
      if (step > 0) {
        const int index = std::uniform_int_distribution<int>(0, kCells - 1)(random);
        board.Cells[index] = "0012"[std::uniform_int_distribution<int>(0, 3)(random)];
        position.Put(index, board.Cells[index]);
        ASSERT_EQ(position.Cells(), board.Cells);
      }
      ASSERT_EQ(position.IsOver(), IsGameOver(board)) << board.ToString();
      TLineBuffer lines;
      const TOutcome plain =
          Outcome([&](long long&) { return literal::EvaluateBoard(board, lines, entries); });
      ASSERT_EQ(Outcome([&](long long&) { return EvaluateBoard(board, lines, table); }), plain)
          << board.ToString() << "\n"
          << JoinLines(entries);
      ASSERT_EQ(Outcome([&](long long&) { return position.Evaluate(); }), plain)
          << board.ToString() << " step " << step;
    }
  }
}

// Node values, BestMoves afterwards, node counts and errors of MaxNode and
// MinNode called on their own, with random windows.
void CompareNodes(bool floatingPieces, int rounds, unsigned seed) {
  std::mt19937 random(seed);
  for (int round = 0; round < rounds; ++round) {
    const std::vector<std::string> entries = RandomEntries(random, round % 4 == 0);
    const TPatternTable table = TPatternTable::FromText(JoinLines(entries));
    int next;
    const TBoard board = floatingPieces   ? RandomCells(random)
                         : round % 3 == 0 ? RandomQuietGrid(random, 30 + round % 13)
                                          : RandomPlayedGrid(random, round % 43, next);
    const int maxDepth = std::uniform_int_distribution<int>(1, 5)(random);
    const int depth = std::uniform_int_distribution<int>(1, 2)(random);
    const double bounds[] = {-1000000.0, -500.0, -20.0, 0.0, 20.0, 500.0, 1000000.0};
    double alpha = bounds[std::uniform_int_distribution<int>(0, 3)(random)];
    double beta = bounds[std::uniform_int_distribution<int>(3, 6)(random)];
    const bool maximising = round % 2 == 0;

    auto search = [&](bool fast) {
      TSearchState state;
      state.MaxDepth = maxDepth;
      for (int d = 1; d <= TSearchState::kBestMovesSize; ++d) state.BestMoves[d] = d % 7;
      TOutcome outcome = Outcome([&](long long& nodes) {
        const TEventPump pump = [&nodes] { ++nodes; };
        if (fast) {
          const TSearchContext context{state, table, pump};
          return maximising ? MaxNode(board, depth, alpha, beta, context)
                            : MinNode(board, depth, alpha, beta, context);
        }
        const literal::TContext context{state, entries, pump};
        return maximising ? literal::MaxNode(board, depth, alpha, beta, context)
                          : literal::MinNode(board, depth, alpha, beta, context);
      });
      outcome.BestMoves = state.BestMoves;
      return outcome;
    };
    ASSERT_EQ(search(true), search(false))
        << board.ToString() << " depth " << depth << " max " << maxDepth << " window " << alpha
        << ' ' << beta << (maximising ? " max" : " min") << "\n"
        << JoinLines(entries);
  }
}

TEST(DifferentialTest, NodesMatchOnPlayedGrids) { CompareNodes(false, 1500, 11); }

TEST(DifferentialTest, NodesMatchOnGridsWithFloatingPieces) { CompareNodes(true, 1500, 12); }

// Tables where many columns tie (one weight for everything, coarse
// weights, only fours counting), where fours sit next to the root bounds,
// and where a quiet table hides wins and losses several moves deep.
const char* const kTiesAndTraps[] = {
    "0|1",
    "22|1\n11|-1",
    "2222|1\n1111|-1",
    "2222|999999\n1111|-999999\n2|1\n1|-1",
    "2222|100000\n1111|-100000\n0220|5\n0110|-5\n0|1",
    "1111|100\n2222|-100\n0222|40\n0111|-40",
};

// The machine's choice at the game's levels, every third table one of the
// tables above, held to the plain algorithm; at level 5, where that takes
// minutes, to the plain order of MaxNode, itself held to it above.
void CompareChoices(int level, int rounds, unsigned seed) {
  std::mt19937 random(seed);
  for (int round = 0; round < rounds; ++round) {
    const std::vector<std::string> entries =
        round % 3 == 1
            ? TPatternTable::FromText(kTiesAndTraps[round / 3 % std::size(kTiesAndTraps)]).Entries()
            : RandomEntries(random, round % 5 == 0);
    const TPatternTable table = TPatternTable::FromText(JoinLines(entries));
    int next;
    const TBoard board = round % 7 == 5   ? RandomCells(random)
                         : round % 3 == 0 ? RandomQuietGrid(random, 30 + round % 12)
                                          : RandomPlayedGrid(random, 1 + round % 42, next);
    auto choose = [&](bool fast) {
      TSearchState state;
      state.MaxDepth = 2 * level;
      TOutcome outcome = Outcome([&](long long& nodes) {
        const TEventPump pump = [&nodes] { ++nodes; };
        TRandomSource unused(1);
        if (fast) return ChooseMachineColumn(board, 2, state, table, unused, pump);
        if (level < 5) return literal::ChooseMachineColumn(board, state, entries, pump);
        MaxNode(board, 1, kRootAlpha, kRootBeta, {state, table, pump});
        const int column = state.BestMoves[1];
        return LandingRow(board, column) < 0 ? LeftmostOpenColumn(board) : column;
      });
      if (!fast) state.ClearBestMoves();
      outcome.BestMoves = state.BestMoves;
      // The choice is searched in another order: the nodes differ.
      outcome.Nodes = 0;
      return outcome;
    };
    const TOutcome fast = choose(true);
    ASSERT_EQ(fast, choose(false)) << board.ToString() << " level " << level << "\n"
                                   << JoinLines(entries);
    ASSERT_EQ(fast.BestMoves, (std::array<int, TSearchState::kBestMovesSize + 1>{}));
  }
}

TEST(DifferentialTest, ChoicesMatchAtLevelTwo) { CompareChoices(2, 2000, 21); }
TEST(DifferentialTest, ChoicesMatchAtLevelThree) { CompareChoices(3, 300, 22); }
TEST(DifferentialTest, ChoicesMatchAtLevelFour) { CompareChoices(4, 40, 23); }
TEST(DifferentialTest, ChoicesMatchAtLevelFive) { CompareChoices(5, 100, 24); }

}  // namespace
}  // namespace zerud
