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
const std::string kDrawn = "112211222112211122112221122111221122211221";
// Player 1 on row 5, columns 1 .. 4.
const std::string kRowFour = std::string(35, '0') + "0111100";
const std::string kBadBoard = "error a board is 42 characters 0, 1 or 2\n";

TEST(EngineTest, EndAnswersEveryNonBlankLineInOrder) {
  const std::string input = kRowFour + "\n\n" + kEmpty + "\r\n  \nnot a board\n" +
                            std::string(41, '0') + "\n" + kEmpty + "3\n" + kDrawn + "\n" + kEmpty;
  const TRun run = Engine({"end"}, input);
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, "1 0 1 1 5 1\n0 0 -1 -1 -1 -1\n" + kBadBoard + kBadBoard + kBadBoard +
                         "1 1 -1 -1 -1 -1\n0 0 -1 -1 -1 -1\n");
  EXPECT_EQ(run.Err, "");
}

TEST(EngineTest, EvalPrintsScoresAndConversionErrors) {
  // The row scores -70; 22 lines hold "0000" and score 3; two short
  // diagonals through the row hold neither.
  const std::string good = TableFile("engine_good.txt", "1111|-70\n0000|3\n");
  EXPECT_EQ(Engine({"eval", "--scores", good}, kEmpty + "\n" + kRowFour + "\n").Out, "75\n-4\n");
  const std::string bad = TableFile("engine_bad.txt", "1|oops\n0000|3\n");
  EXPECT_EQ(Engine({"eval", "--scores", bad}, kRowFour + "\n" + kEmpty + "\n").Out,
            "error 'oops' n'est pas une valeur entière correcte\n75\n");
}

TEST(EngineTest, ChooseAnswersColumnsAndRejectsBadRequests) {
  const std::string scores = TableFile("engine_choose.txt", "2222|1000\n1111|-1000\n");
  // Player 2 wins at column 3 on the bottom row.
  const std::string win = std::string(28, '0') + "1110000" + "2220110";
  const TRun run = Engine({"choose", "--scores", scores, "--level", "2"},
                          win + " 8\n" + kEmpty + " 2\n" + kEmpty + "\n" + kEmpty + " 43\n" +
                              kEmpty + " x\n" + kDrawn + " 42\n");
  EXPECT_EQ(run.Status, 0);
  const std::string badNumber = "error the move number must be an integer from 1 to 42\n";
  EXPECT_EQ(run.Out, "3\n0\nerror expected \"BOARD MOVENUMBER\"\n" + badNumber + badNumber +
                         "error the grid is full\n");
  // The opening move is random, the same for the same seed.
  const std::vector<std::string> open = {"choose", "--scores", scores, "--level",
                                         "5",      "--seed",   "9"};
  const std::string openings = kEmpty + " 1\n" + kEmpty + " 1\n" + kEmpty + " 1\n";
  EXPECT_EQ(Engine(open, openings).Out, Engine(open, openings).Out);
  EXPECT_EQ(Engine(open, openings).Out.size(), 6u);
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
    const std::string levelText = std::to_string(level);
    std::istringstream answer(
        Engine({"bench", "--scores", scores, "--level", levelText}, board + " 5\n").Out);
    long long benchColumn = -1, benchNodes = 0, micros = -1;
    answer >> benchColumn >> benchNodes >> micros;
    EXPECT_EQ(benchColumn, column) << level;
    EXPECT_EQ(benchNodes, nodes) << level;
    EXPECT_GE(micros, 0);
    EXPECT_EQ(Engine({"choose", "--scores", scores, "--level", levelText}, board + " 5\n").Out,
              std::to_string(column) + "\n")
        << level;
  }
}

TEST(EngineTest, SolveAnswersColumnScoresAndRefusesGridsItCannotTake) {
  // Player 1 to move, three in a row on the bottom with both ends open:
  // it wins at once at either end, or two pieces later.
  const std::string threeInARow = std::string(29, '0') + "222000" + "0111000";
  const TRun run = Engine({"solve"}, threeInARow + "\n" + kDrawn + "\n" + std::string(28, '0') +
                                         "0222000" + "0111100\n" + std::string(40, '0') + "11\n");
  EXPECT_EQ(run.Status, 0);
  EXPECT_EQ(run.Out, "18 17 17 17 18 17 17\n" + std::string("x x x x x x x\n") +
                         "error the grid already holds four in a row\n"
                         "error the players' piece counts differ by more than one\n");
}

TEST(EngineTest, PerftCountsTheGridsReachedAtEachPly) {
  EXPECT_EQ(Engine({"perft", "8"}).Out,
            "0 1\n1 7\n2 49\n3 238\n4 1120\n5 4263\n6 16422\n7 54859\n8 184275\n");
  EXPECT_EQ(Engine({"perft", "0"}).Out, "0 1\n");
}

TEST(EngineTest, UsageGoesToStderrOnWrongArgumentsAndToStdoutOnHelp) {
  const std::string scores = TableFile("engine_usage.txt", "0|1\n");
  // Each set of arguments, words split at blanks, S standing for a table file.
  for (const char* wrong :
       {"", "play", "eval", "eval --scores", "end --scores S", "choose --scores S",
        "choose --scores S --level 6", "choose --scores S --level 1",
        "choose --scores S --level two", "choose --scores S --level 2 --seed 4294967296",
        "eval --scores S --level 3", "eval --scores S --seed 3", "perft", "perft -1", "perft x",
        "perft 3 4", "solve --scores S", "solve --level 3", "--help end"}) {
    std::vector<std::string> args;
    std::istringstream words(wrong);
    for (std::string word; words >> word;) args.push_back(word == "S" ? scores : word);
    const TRun run = Engine(args, kEmpty + "\n");
    EXPECT_EQ(run.Status, 2) << wrong;
    EXPECT_EQ(run.Out, "") << wrong;
    EXPECT_NE(run.Err.find("usage: zerud-engine"), std::string::npos) << wrong;
  }
  // Asked for, the same usage goes to stdout.
  const TRun help = Engine({"--help"}, kEmpty + "\n");
  EXPECT_EQ(help.Status, 0);
  EXPECT_EQ(help.Err, "");
  EXPECT_EQ("zerud-engine: no command\n" + help.Out, Engine({}).Err);
  // A seed takes all 32 bits.
  const TRun seeded = Engine({"choose", "--scores", scores, "--level", "2", "--seed", "4294967295"},
                             kEmpty + " 1\n");
  EXPECT_EQ(seeded.Status, 0);
  const TRun missing = Engine({"eval", "--scores", "/nonexistent/scores.txt"}, kEmpty + "\n");
  EXPECT_EQ(missing.Status, 2);
  EXPECT_EQ(missing.Out, "");
  EXPECT_NE(missing.Err.find("Impossible d'ouvrir le fichier /nonexistent/scores.txt"),
            std::string::npos);
}

}  // namespace
}  // namespace zerud
