#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Engine.h"
#include "rules/Search.h"

namespace zerud {
namespace {

struct TRun {
  int Status;
  std::string Out;
  std::string Err;
};

TRun Engine(const std::vector<std::string>& args, const std::string& input = "") {
  std::istringstream in(input);
  std::ostringstream out, err;
  const int status = RunEngine(args, in, out, err);
  return {status, out.str(), err.str()};
}

std::string TableFile(const std::string& name, const std::string& text) {
  const std::string path = testing::TempDir() + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

const std::string kEmpty(42, '0');
// Player 1 on row 5, columns 1 .. 4.
const std::string kRowFour = std::string(35, '0') + "0111100";

TEST(EngineTest, EndAnswersEveryNonBlankLineInOrder) {
  const std::string input = kRowFour + "\n\n" + kEmpty + "\r\n  \nnot a board\n" +
                            std::string(41, '0') + "\n" + kEmpty + "3\n" + kEmpty;
  const TRun run = Engine({"end"}, input);
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out,
            "1 0 1 1 5 1\n"
            "0 0 -1 -1 -1 -1\n"
            "error a board is 42 characters 0, 1 or 2\n"
            "error a board is 42 characters 0, 1 or 2\n"
            "error a board is 42 characters 0, 1 or 2\n"
            "0 0 -1 -1 -1 -1\n");
  EXPECT_EQ(run.Err, "");
}

TEST(EngineTest, EndReportsAFullDrawnGrid) {
  const TRun run = Engine({"end"}, "112211222112211122112221122111221122211221\n");
  EXPECT_EQ(run.Out, "1 1 -1 -1 -1 -1\n");
}

TEST(EngineTest, EvalPrintsScoresAndConversionErrors) {
  const std::string good = TableFile("engine_good.txt", "1111|-70\n0000|3\n");
  // The row scores -70; 22 lines hold "0000" and score 3; two short
  // diagonals through the row hold neither.
  EXPECT_EQ(Engine({"eval", "--scores", good}, kEmpty + "\n" + kRowFour + "\n").Out, "75\n-4\n");
  const std::string bad = TableFile("engine_bad.txt", "1|oops\n0000|3\n");
  EXPECT_EQ(Engine({"eval", "--scores", bad}, kRowFour + "\n" + kEmpty + "\n").Out,
            "error 'oops' n'est pas une valeur entière correcte\n75\n");
}

TEST(EngineTest, ChooseAnswersColumnsAndRejectsBadRequests) {
  const std::string scores = TableFile("engine_choose.txt", "2222|1000\n1111|-1000\n");
  // Player 2 wins at column 3 on the bottom row.
  const std::string win = std::string(28, '0') + "1110000" + "2220110";
  std::string fullGrid = "112211222112211122112221122111221122211221";
  const TRun run = Engine({"choose", "--scores", scores, "--level", "2"},
                          win + " 8\n" + kEmpty + " 2\n" + kEmpty + "\n" + kEmpty + " 43\n" +
                              kEmpty + " x\n" + fullGrid + " 42\n");
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out,
            "3\n"
            "0\n"
            "error expected \"BOARD MOVENUMBER\"\n"
            "error the move number must be an integer from 1 to 42\n"
            "error the move number must be an integer from 1 to 42\n"
            "error the grid is full\n");
}

TEST(EngineTest, ChooseOpensWithTheSeededRandomColumn) {
  const std::string scores = TableFile("engine_open.txt", "");
  const std::string input = kEmpty + " 1\n" + kEmpty + " 1\n" + kEmpty + " 1\n";
  const TRun first = Engine({"choose", "--scores", scores, "--level", "5", "--seed", "9"}, input);
  const TRun again = Engine({"choose", "--scores", scores, "--level", "5", "--seed", "9"}, input);
  EXPECT_EQ(first.Out, again.Out);
  EXPECT_EQ(first.Out.size(), 6u);
}

TEST(EngineTest, LevelSetsTheSearchDepthToTwiceTheLevel) {
  const std::string text = "2222|1000\n1111|-1000\n0220|5\n0110|-5\n0|1\n";
  const std::string scores = TableFile("engine_depth.txt", text);
  const TPatternTable table = TPatternTable::FromText(text);
  const std::string board = std::string(28, '0') + "0001000" + "0012200";
  for (int level = 2; level <= 5; ++level) {
    TSearchState state;
    state.MaxDepth = 2 * level;
    TRandomSource random(1);
    long long nodes = 0;
    const int column = ChooseMachineColumn(*TBoard::FromString(board), 5, state, table, random,
                                           [&nodes] { ++nodes; });
    const std::vector<std::string> args = {"--scores", scores, "--level", std::to_string(level)};
    std::vector<std::string> bench = {"bench"}, choose = {"choose"};
    bench.insert(bench.end(), args.begin(), args.end());
    choose.insert(choose.end(), args.begin(), args.end());
    std::istringstream answer(Engine(bench, board + " 5\n").Out);
    int benchColumn = -1;
    long long benchNodes = 0, micros = -1;
    answer >> benchColumn >> benchNodes >> micros;
    EXPECT_EQ(benchColumn, column) << level;
    EXPECT_EQ(benchNodes, nodes) << level;
    EXPECT_GE(micros, 0);
    EXPECT_EQ(Engine(choose, board + " 5\n").Out, std::to_string(column) + "\n") << level;
  }
}

TEST(EngineTest, PerftCountsTheGridsReachedAtEachPly) {
  EXPECT_EQ(Engine({"perft", "8"}).Out,
            "0 1\n1 7\n2 49\n3 238\n4 1120\n5 4263\n6 16422\n7 54859\n8 184275\n");
  EXPECT_EQ(Engine({"perft", "0"}).Out, "0 1\n");
}

TEST(EngineTest, WrongArgumentsPrintTheUsageAndExitWithTwo) {
  const std::string scores = TableFile("engine_usage.txt", "0|1\n");
  const std::vector<std::vector<std::string>> wrong = {
      {},
      {"play"},
      {"eval"},
      {"eval", "--scores"},
      {"end", "--scores", scores},
      {"choose", "--scores", scores},
      {"choose", "--scores", scores, "--level", "6"},
      {"choose", "--scores", scores, "--level", "1"},
      {"choose", "--scores", scores, "--level", "two"},
      {"eval", "--scores", scores, "--level", "3"},
      {"eval", "--scores", scores, "--seed", "3"},
      {"eval", "--scores", "/nonexistent/scores.txt"},
      {"perft"},
      {"perft", "-1"},
      {"perft", "x"},
      {"perft", "3", "4"},
  };
  for (const auto& args : wrong) {
    const TRun run = Engine(args, kEmpty + "\n");
    std::string joined;
    for (const auto& arg : args) joined += arg + ' ';
    EXPECT_EQ(run.Status, 2) << joined;
    EXPECT_EQ(run.Out, "") << joined;
    EXPECT_NE(run.Err.find("usage: zerud-engine"), std::string::npos) << joined;
  }
  EXPECT_NE(Engine({"eval", "--scores", "/nonexistent/scores.txt"})
                .Err.find("Impossible d'ouvrir le fichier /nonexistent/scores.txt"),
            std::string::npos);
}

}  // namespace
}  // namespace zerud
