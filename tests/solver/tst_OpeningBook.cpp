#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "BookMaker.h"
#include "solver/OpeningBook.h"
#include "solver/Solver.h"

namespace zerud {
namespace {

void SortByCode(std::vector<TBookEntry>& entries) {
  std::sort(entries.begin(), entries.end(),
            [](const TBookEntry& a, const TBookEntry& b) { return a.Code < b.Code; });
}

// A made-up score from -`spread` to `spread` for each of `grids`: only the
// book's file and the solver's use of it are under test, not its scores.
void AddMadeUpScores(const std::vector<TBitPosition>& grids, int spread,
                     std::vector<TBookEntry>& entries) {
  for (const TBitPosition& grid : grids) {
    const std::uint32_t code = *CanonicalBookCode(grid);
    entries.push_back({code, static_cast<int>(code % (2 * spread + 1)) - spread});
  }
}

// Grids and mirror images: every grid of a game counted once by perft is
// one canonical grid, or one of a mirrored pair, and comes back whole from
// its code.
TEST(OpeningBookTest, EachGridOfPlayHasOneCodeForItAndItsMirror) {
  const std::uint64_t perft[] = {1, 7, 49, 238, 1120, 4263};
  const auto levels = BookGridsByPieces(5);
  for (int pieces = 0; pieces <= 5; ++pieces) {
    std::uint64_t grids = 0;
    for (const TBitPosition& grid : levels[pieces]) {
      const std::uint32_t code = *CanonicalBookCode(grid);
      EXPECT_EQ(code, *CanonicalBookCode(grid.Mirrored()));
      const std::optional<TBitPosition> back = PositionOfBookCode(code);
      ASSERT_TRUE(back);
      EXPECT_EQ(back->Key(), grid.Key());
      EXPECT_EQ(back->Pieces(), pieces);
      grids += grid.Key() == grid.MirroredKey() ? 1 : 2;
    }
    EXPECT_EQ(grids, perft[pieces]) << pieces;
  }
  // Codes that describe no grid: a column of 7, 9 pieces, a colour bit
  // beyond the pieces.
  for (const std::uint32_t code : {7u << 26, 5u << 26 | 4u << 23, 1u << 26 | 2u}) {
    EXPECT_FALSE(PositionOfBookCode(code)) << code;
  }
  TBitPosition nine;
  for (const int column : {0, 1, 2, 3, 0, 1, 2, 3, 5}) nine.PlayColumn(column);
  EXPECT_FALSE(BookCode(nine));
}

class OpeningBookFileTest : public testing::Test {
 protected:
  void SetUp() override {
    for (const auto& level : BookGridsByPieces(4)) AddMadeUpScores(level, 21, entries_);
    SortByCode(entries_);
    TOpeningBook::FromEntries(entries_, 4).Save(path_);
    std::ifstream file(path_, std::ios::binary);
    bytes_.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  }
  void TearDown() override { std::remove(path_.c_str()); }

  // The reason FromFile gives for `bytes`, or "" when it takes them.
  std::string Refusal(const std::string& bytes) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << bytes;
    try {
      TOpeningBook::FromFile(path_);
      return "";
    } catch (const std::runtime_error& error) {
      return error.what();
    }
  }

  const std::string path_ = testing::TempDir() + "opening-book-test.bin";
  std::vector<TBookEntry> entries_;
  std::string bytes_;
};

TEST_F(OpeningBookFileTest, FindsEveryGridAndItsMirrorAndNothingElse) {
  const TOpeningBook book = TOpeningBook::FromFile(path_);
  EXPECT_EQ(book.Size(), entries_.size());
  EXPECT_LT(bytes_.size(), 40000u);
  for (std::size_t i = 0; i < entries_.size(); ++i) {
    const TBitPosition grid = *PositionOfBookCode(entries_[i].Code);
    EXPECT_EQ(book.Find(grid), entries_[i].Score);
    EXPECT_EQ(book.Find(grid.Mirrored()), entries_[i].Score);
    EXPECT_EQ(book.At(i).Code, entries_[i].Code);
  }
  // Beyond its pieces, and a grid with a floating colour it never held.
  TBitPosition five;
  for (const int column : {3, 3, 3, 3, 3}) five.PlayColumn(column);
  EXPECT_FALSE(book.Find(five));
  EXPECT_FALSE(book.Find(TBitPosition(0b11, 0b11, 2)));  // both pieces of the side to move
}

TEST_F(OpeningBookFileTest, RefusesDamagedAndForeignFilesWithTheirReason) {
  ASSERT_EQ(Refusal(bytes_), "");
  std::string altered = bytes_;
  altered[altered.size() / 2] ^= 0x10;
  std::string header = bytes_;
  header[12] ^= 1;  // the entry count
  const struct {
    std::string Bytes;
    const char* Reason;
  } cases[] = {
      {bytes_.substr(0, bytes_.size() - 1), "its size does not match its header"},
      {bytes_ + '\0', "its size does not match its header"},
      {altered, "its check sum does not match"},
      {header, "its size does not match its header"},
      {"", "not an opening book of this game"},
      {"0|1\n2|3\n", "not an opening book of this game"},
      {"ZRDBOOK1" + std::string(16, '\xff'), "its header is damaged"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Refusal(c.Bytes).rfind(c.Reason, 0), 0u) << Refusal(c.Bytes);
  }
  std::remove(path_.c_str());
  EXPECT_THROW(TOpeningBook::FromFile(path_), std::runtime_error);
}

// The solver asks the book at the root and inside its search: with a book
// of made-up scores for the grids of 4 pieces alone, a grid of 4 pieces
// scores as the book says, and one of 3 as the best of the book's scores
// after its moves.
TEST(OpeningBookTest, SolverTakesTheBookAtTheRootAndInsideTheSearch) {
  const auto levels = BookGridsByPieces(4);
  std::vector<TBookEntry> entries;
  AddMadeUpScores(levels[4], 3, entries);
  SortByCode(entries);
  const auto book = std::make_shared<const TOpeningBook>(TOpeningBook::FromEntries(entries, 4));
  TSolver solver(TSolverOptions{.TableMib = 8, .Book = book});
  for (const TBitPosition& grid : levels[4]) {
    EXPECT_EQ(solver.Solve(grid), *book->Find(grid));
  }
  for (const TBitPosition& grid : levels[3]) {
    int best = -kCells;
    for (int column = 0; column < kColumns; ++column) {
      TBitPosition after = grid;
      after.PlayColumn(column);
      best = std::max(best, -*book->Find(after));
    }
    EXPECT_EQ(solver.Solve(grid), best) << std::hex << *CanonicalBookCode(grid);
  }
  EXPECT_LT(solver.Nodes(), 20000u);
}

// With the grids of 3 pieces scored from those of 4 in the book too, the
// best column of a grid of 3 comes from the book: the first, middle first,
// whose grid scores the opposite of the grid's own score.
TEST(OpeningBookTest, BestColumnOfABookGridKeepsItsScoreMiddleFirst) {
  const auto levels = BookGridsByPieces(4);
  std::vector<TBookEntry> entries;
  AddMadeUpScores(levels[4], 3, entries);
  SortByCode(entries);
  const TOpeningBook four = TOpeningBook::FromEntries(entries, 4);
  std::vector<TSolverChoice> expected;
  for (const TBitPosition& grid : levels[3]) {
    TSolverChoice best;
    for (const int column : {3, 2, 4, 1, 5, 0, 6}) {
      TBitPosition after = grid;
      after.PlayColumn(column);
      if (best.Column < 0 || -*four.Find(after) > best.Score) {
        best = TSolverChoice{column, -*four.Find(after)};
      }
    }
    entries.push_back({*CanonicalBookCode(grid), best.Score});
    expected.push_back(best);
  }
  SortByCode(entries);
  TSolver solver(TSolverOptions{
      .TableMib = 8,
      .Book = std::make_shared<const TOpeningBook>(TOpeningBook::FromEntries(entries, 4))});
  for (std::size_t i = 0; i < levels[3].size(); ++i) {
    const std::optional<TSolverChoice> choice = solver.BestColumn(levels[3][i]);
    ASSERT_TRUE(choice);
    EXPECT_EQ(choice->Column, expected[i].Column);
    EXPECT_EQ(choice->Score, expected[i].Score);
  }
}

}  // namespace
}  // namespace zerud
