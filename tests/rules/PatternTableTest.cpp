#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "Literal.h"
#include "rules/Errors.h"
#include "rules/Evaluation.h"
#include "rules/PatternTable.h"
#include "rules/Search.h"

namespace zerud {
namespace {

double Evaluate(const TBoard& board, const TPatternTable& table) {
  TLineBuffer lines;
  return EvaluateBoard(board, lines, table);
}

std::string ConvertErrorText(const std::function<void()>& action) {
  try {
    action();
  } catch (const TConvertError& error) {
    return error.what();
  }
  return "no error";
}

TEST(PatternTableTest, TextIsCutIntoEntriesWithoutByteOrderMarkOrCarriageReturns) {
  const TPatternTable table = TPatternTable::FromText(
      "\xEF\xBB\xBF"
      "2222|9\r\n0|1\r\n\n |x\n1111|-9");
  const std::vector<std::string> expected = {"2222|9", "0|1", "", " |x", "1111|-9"};
  EXPECT_EQ(table.Entries(), expected);
  EXPECT_TRUE(TPatternTable::FromText("").Empty());
  EXPECT_EQ(TPatternTable::FromText("22|1\n").Entries().size(), 1u);
}

TEST(PatternTableTest, MissingFileRaisesTheOpenErrorWithThePath) {
  try {
    TPatternTable::FromFile("/nonexistent/scores.txt");
    FAIL() << "no error";
  } catch (const TFileOpenError& error) {
    EXPECT_STREQ(error.what(), "Impossible d'ouvrir le fichier /nonexistent/scores.txt");
  }
  EXPECT_THROW(TPatternTable::FromFile("/"), TGameError);
}

TEST(PatternTableTest, FileIsReadLikeText) {
  const std::string path = testing::TempDir() + "zerud_scores_test.txt";
  std::ofstream(path, std::ios::binary) << "0000|2\r\n2|x\r\n";
  const TPatternTable table = TPatternTable::FromFile(path);
  std::remove(path.c_str());
  ASSERT_EQ(table.Entries().size(), 2u);
  EXPECT_EQ(table.Entries()[1], "2|x");
  EXPECT_EQ(Evaluate(TBoard(), table), 25 * 2);
}

TEST(PatternTableTest, ValuesAreSignedDecimalIntegersOfThirtyTwoBits) {
  EXPECT_EQ(TPatternTable::ParseValue("12"), 12);
  EXPECT_EQ(TPatternTable::ParseValue("-5"), -5);
  EXPECT_EQ(TPatternTable::ParseValue("+7"), 7);
  EXPECT_EQ(TPatternTable::ParseValue("  42 "), 42);
  EXPECT_EQ(TPatternTable::ParseValue("\t-3\t"), -3);
  EXPECT_EQ(TPatternTable::ParseValue("007"), 7);
  EXPECT_EQ(TPatternTable::ParseValue("2147483647"), 2147483647);
  EXPECT_EQ(TPatternTable::ParseValue("-2147483648"), -2147483647 - 1);
  for (const char* bad : {"", " ", "+", "-", "12a", "2147483648", "-2147483649", "1 2", "0x10",
                          "1.5", "--1", "5|3", "99999999999999999999"}) {
    EXPECT_EQ(ConvertErrorText([&] { TPatternTable::ParseValue(bad); }),
              std::string("'") + bad + "' n'est pas une valeur entière correcte");
  }
}

TEST(PatternTableTest, EmptyGridScoresTheFirstAllEmptyPatternOfEachLine) {
  // Every line holds "0000"; 17 lines hold six cells or more.
  EXPECT_EQ(Evaluate(TBoard(), TPatternTable::FromText("0000|3")), 75);
  EXPECT_EQ(Evaluate(TBoard(), TPatternTable::FromText("000000|2\n0000|1")), 17 * 2 + 8);
  EXPECT_EQ(Evaluate(TBoard(), TPatternTable::FromText("0000000|1")), 6);
  EXPECT_EQ(Evaluate(TBoard(), TPatternTable::FromText("2|5\n1|-5")), 0);
  EXPECT_EQ(Evaluate(TBoard(), TPatternTable()), 0);
}

TEST(PatternTableTest, FourForPlayerTwoScoresItsLineOnceAndTheOtherLinesAsUsual) {
  TBoard board;
  for (int c = 0; c < 4; ++c) board.Set(5, c, '2');
  EXPECT_EQ(Evaluate(board, TPatternTable::FromText("2222|1000\n0|1")), 1000 + 24);
  // Five in a row is still one line.
  board.Set(5, 4, '2');
  EXPECT_EQ(Evaluate(board, TPatternTable::FromText("2222|1000")), 1000);
}

TEST(PatternTableTest, FirstMatchingEntryInTableOrderDecides) {
  TBoard board;  // bottom row: 0 2 2 2 2 0 0
  for (int c = 1; c <= 4; ++c) board.Set(5, c, '2');
  const double fourFirst = Evaluate(board, TPatternTable::FromText("2222|100\n222|10"));
  const double threeFirst = Evaluate(board, TPatternTable::FromText("222|10\n2222|100"));
  EXPECT_EQ(fourFirst, 100);
  EXPECT_EQ(threeFirst, 10);
}

TEST(PatternTableTest, EntriesWithoutPatternOrTooLongNeverMatch) {
  const TPatternTable table = TPatternTable::FromText("|50\n0\n00000000|7\n0|1");
  EXPECT_EQ(Evaluate(TBoard(), table), 25);
  // A blank inside a pattern is a character that no line holds.
  EXPECT_EQ(Evaluate(TBoard(), TPatternTable::FromText(" 0|5\n0 |5")), 0);
}

TEST(PatternTableTest, BadValueRaisesOnlyWhenItIsAFirstMatch) {
  EXPECT_EQ(ConvertErrorText([] { Evaluate(TBoard(), TPatternTable::FromText("0|x1")); }),
            "'x1' n'est pas une valeur entière correcte");
  EXPECT_EQ(Evaluate(TBoard(), TPatternTable::FromText("0|7\n0|x1")), 175);
  // Several "|": the value is all that follows the first one.
  EXPECT_EQ(ConvertErrorText([] { Evaluate(TBoard(), TPatternTable::FromText("0|5|3")); }),
            "'5|3' n'est pas une valeur entière correcte");
  // Blanks around a value are fine.
  EXPECT_EQ(Evaluate(TBoard(), TPatternTable::FromText("0| 2 ")), 50);
}

TEST(PatternTableTest, ErrorComesFromTheFirstBadLineInVisitingOrder) {
  // The bottom row is visited first: its "2" meets "2|b" before the "1" of
  // row 4 meets "1|a".
  TBoard board;
  board.Set(5, 6, '2');
  board.Set(4, 6, '1');
  const TPatternTable table = TPatternTable::FromText("1|a\n2|b");
  EXPECT_EQ(ConvertErrorText([&] { Evaluate(board, table); }),
            "'b' n'est pas une valeur entière correcte");
  TLineBuffer lines;
  EXPECT_EQ(ConvertErrorText([&] { literal::EvaluateBoard(board, lines, table.Entries()); }),
            "'b' n'est pas une valeur entière correcte");
}

TEST(PatternTableTest, ShippedTableKeepsEveryReachableTotalInsideTheRootBounds) {
  const TPatternTable table = TPatternTable::FromFile(ZERUD_SCORES_FILE);
  // No single line may score more than a quarter of the bound: the search
  // meets at most the fours one piece completes (four lines) plus 21 lines
  // of the largest other weight.
  std::int64_t four = 0, other = 0;
  for (int length = 4; length <= 7; ++length) {
    int codes = 1;
    for (int k = 0; k < length; ++k) codes *= 3;
    for (int code = 0; code < codes; ++code) {
      const TLineWeight& weight = table.WeightOf(length, code);
      ASSERT_LT(weight.BadEntry, 0);
      std::string text;
      for (int k = 0, rest = code; k < length; ++k, rest /= 3) text += char('0' + rest % 3);
      const bool hasFour =
          text.find("1111") != std::string::npos || text.find("2222") != std::string::npos;
      std::int64_t& largest = hasFour ? four : other;
      largest = std::max<std::int64_t>(largest, std::abs(weight.Weight));
    }
  }
  EXPECT_LT(4 * four + 21 * other, 1000000);
  // A four outweighs everything else the grid can hold.
  EXPECT_GT(four, 2 * 24 * other);
}

}  // namespace
}  // namespace zerud

namespace zerud {
namespace {

TEST(PatternTableTest, TableReplacedDuringASearchKeepsScoringTheSearchWithTheOldOne) {
  // The window drops its table when it closes, which can happen from the
  // event pump in the middle of the machine's move.
  const std::string text = "2222|1000\n1111|-1000\n0220|5\n0110|-5\n0|1";
  TBoard board;
  board.Set(5, 3, '1');
  auto choose = [&](bool replace) {
    TPatternTable table = TPatternTable::FromText(text);
    TSearchState state;
    state.MaxDepth = 6;
    TRandomSource random(1);
    long long nodes = 0;
    const TEventPump pump = [&] {
      if (++nodes == 5 && replace) table = TPatternTable::FromText("0|x");
    };
    return std::pair{ChooseMachineColumn(board, 2, state, table, random, pump), nodes};
  };
  EXPECT_EQ(choose(true), choose(false));
}

}  // namespace
}  // namespace zerud
