#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Engine.h"
#include "solver/OpeningBook.h"
#include "solver/Solver.h"

namespace zerud {
namespace {

// A grid of the book's last row, solved without it: a second to two each.
void ExpectSolved(const TBitPosition& grid, int score, std::uint32_t code) {
  TSolver solver(TSolverOptions{.Book = nullptr});
  EXPECT_EQ(solver.Solve(grid), score) << std::hex << code;
}

// The book against the solver on a fixed sample: each grid of fewer pieces
// against the book's scores of the grids after its moves, two of the most
// pieces solved outright. Before the book is complete, the first grids its
// maker has solved.
TEST(BookScoresTest, BookAgreesWithTheSolver) {
  std::string progressPath = ZERUD_BOOK_FILE;
  progressPath.append(".progress");
  std::ifstream progress(progressPath);
  if (std::ifstream(ZERUD_BOOK_FILE).good()) {
    const TOpeningBook book = TOpeningBook::FromFile(ZERUD_BOOK_FILE);
    ASSERT_EQ(book.MaxPieces(), TOpeningBook::kMaxPieces);
    int solved = 0;
    for (std::size_t i = 0; i < book.Size(); i += book.Size() / 40) {
      const TBookEntry entry = book.At(i);
      const TBitPosition grid = *PositionOfBookCode(entry.Code);
      if (grid.Pieces() == book.MaxPieces()) {
        if (solved++ < 2) ExpectSolved(grid, entry.Score, entry.Code);
        continue;
      }
      int best = -kCells;
      for (int column = 0; column < kColumns; ++column) {
        if (!grid.CanPlay(column)) continue;
        TBitPosition after = grid;
        after.PlayColumn(column);
        best =
            std::max(best, grid.WinsAt(column) ? WinNowScore(grid.Pieces()) : -*book.Find(after));
      }
      EXPECT_EQ(entry.Score, best) << std::hex << entry.Code;
    }
    EXPECT_GT(solved, 0);
  } else if (progress) {
    std::string line;
    for (int n = 0; n < 3 && std::getline(progress, line); ++n) {
      std::istringstream fields(line);
      std::uint32_t code;
      int score;
      ASSERT_TRUE(fields >> std::hex >> code >> std::dec >> score) << line;
      ExpectSolved(*PositionOfBookCode(code), score, code);
    }
  } else {
    GTEST_SKIP() << "no opening book and no work towards one";
  }
}

std::string Engine(const std::vector<std::string>& args, const std::string& input, int* status) {
  std::istringstream in(input);
  std::ostringstream out, err;
  *status = RunEngine(args, in, out, err);
  return out.str() + err.str();
}

// Grids whose column scores are known (the solver's own table): `score`
// answers the best of them, --weak its sign, whatever the threads and the
// table. The grid of 12 pieces is searched long enough for the second
// thread to join the first.
TEST(BookScoresTest, ScoreAnswersTheBestColumnWithAnyThreadsAndTable) {
  const struct {
    const char* Board;
    int Score;
  } cases[] = {
      {"210000012000002100000120000021000001200000", 0},
      {"120000012000002100000210000012000001200000", -1},
      {"000000000020000021000001201000212201022111", 0},
      {"000000000000000000200001212020112101021212", 4},
      {"000000000120000021000201100010220002021112", 2},
      {"000000000010000002100000120021221002111220", 2},
      {"112211222112211122112221122111221122211221", 0},
      {"000000000000000220000012000002100010112012", -5},
  };
  std::string input, exact, weak;
  for (const auto& c : cases) {
    input += c.Board + std::string("\n");
    exact += std::to_string(c.Score) + "\n";
    weak += std::to_string((c.Score > 0) - (c.Score < 0)) + "\n";
  }
  for (const std::vector<std::string>& options :
       {std::vector<std::string>{"--threads", "1", "--table-mib", "64"},
        {"--threads", "2", "--table-mib", "64"},
        {"--threads", "2", "--table-mib", "1"}}) {
    std::vector<std::string> args = {"score", "--book", "none"};
    args.insert(args.end(), options.begin(), options.end());
    int status = -1;
    EXPECT_EQ(Engine(args, input, &status), exact) << options[1] << ' ' << options[3];
    EXPECT_EQ(status, 0);
    args.push_back("--weak");
    EXPECT_EQ(Engine(args, input, &status), weak) << options[1] << ' ' << options[3];
  }
  int status = -1;
  for (const std::vector<std::string>& wrong : {std::vector<std::string>{"score", "--threads", "0"},
                                                {"score", "--table-mib", "x"},
                                                {"solve", "--weak"},
                                                {"book"},
                                                {"book", "--out", "f", "--verify", "f", "3"},
                                                {"book", "--verify", "f"}}) {
    EXPECT_NE(Engine(wrong, "", &status).find("usage: zerud-engine"), std::string::npos);
    EXPECT_EQ(status, 2);
  }
  const std::string missing = testing::TempDir() + "no-such-book.bin";
  EXPECT_NE(
      Engine({"book", "--verify", missing, "3"}, "", &status).find("is refused: cannot be opened"),
      std::string::npos);
  EXPECT_EQ(status, 1);
}

}  // namespace
}  // namespace zerud
