#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <limits>
#include <optional>
#include <string>

#include "Literal.h"
#include "rules/Errors.h"
#include "rules/Evaluation.h"
#include "rules/Integer.h"
#include "rules/PatternTable.h"
#include "rules/Search.h"

namespace zerud {
namespace {

// The score as text, or the text of the conversion error that replaced it.
std::string Outcome(const std::function<double()>& action) {
  try {
    return std::to_string(static_cast<long long>(action()));
  } catch (const TConvertError& error) {
    return error.what();
  }
}

std::string Score(const TBoard& board, const TPatternTable& table) {
  TLineBuffer lines;
  return Outcome([&] { return EvaluateBoard(board, lines, table); });
}

std::string NotAnInteger(const std::string& value) {
  return "'" + value + "' n'est pas une valeur entière correcte";
}

TEST(PatternTableTest, TextAndFilesAreCutIntoEntriesWithoutByteOrderMarkOrCarriageReturns) {
  const TPatternTable table = TPatternTable::FromText(
      "\xEF\xBB\xBF"
      "2222|9\r\n0|1\r\n\n |x\n1111|-9");
  EXPECT_EQ(table.Entries(), (std::vector<std::string>{"2222|9", "0|1", "", " |x", "1111|-9"}));
  EXPECT_TRUE(TPatternTable::FromText("").Empty());
  EXPECT_EQ(TPatternTable::FromText("22|1\n").Entries().size(), 1u);

  const std::string path = testing::TempDir() + "zerud_scores_test.txt";
  std::ofstream(path, std::ios::binary) << "0000|2\r\n2|x\r\n";
  const TPatternTable file = TPatternTable::FromFile(path);
  std::remove(path.c_str());
  EXPECT_EQ(file.Entries(), (std::vector<std::string>{"0000|2", "2|x"}));
  EXPECT_EQ(Score(TBoard(), file), "50");

  try {
    TPatternTable::FromFile("/nonexistent/scores.txt");
    ADD_FAILURE() << "no error";
  } catch (const TFileOpenError& error) {
    EXPECT_STREQ(error.what(), "Impossible d'ouvrir le fichier /nonexistent/scores.txt");
  }
  EXPECT_THROW(TPatternTable::FromFile("/"), TGameError);  // a folder is no table
}

TEST(PatternTableTest, ValuesAreSignedDecimalIntegersOfThirtyTwoBits) {
  const std::pair<const char*, std::int32_t> good[] = {{"12", 12},
                                                       {"-5", -5},
                                                       {"+7", 7},
                                                       {"  42 ", 42},
                                                       {"\t-3\t", -3},
                                                       {"007", 7},
                                                       {"2147483647", 2147483647},
                                                       {"-2147483648", -2147483647 - 1}};
  for (const auto& [text, value] : good) EXPECT_EQ(ParseInteger(text), value) << text;
  for (const char* bad : {"", " ", "+", "-", "12a", "2147483648", "-2147483649", "1 2", "0x10",
                          "1.5", "--1", "5|3", "99999999999999999999"}) {
    EXPECT_EQ(Outcome([&] { return ParseInteger(bad); }), NotAnInteger(bad));
  }
}

// The engine tool's arguments reach past 32 bits (a seed up to 2^32 - 1),
// and a range may exclude zero or one sign altogether.
TEST(PatternTableTest, IntegersWithinBoundsUpToSixtyFourBits) {
  constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();
  constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
  struct TCase {
    const char* Text;
    std::int64_t Low, High;
    std::optional<std::int64_t> Value;
  };
  const TCase cases[] = {{"4294967295", 0, 4294967295, 4294967295},
                         {"4294967296", 0, 4294967295, std::nullopt},
                         {"42", 1, 42, 42},
                         {"43", 1, 42, std::nullopt},
                         {"0", 1, 42, std::nullopt},
                         {"-0", 0, 9, 0},
                         {"-1", 0, 9, std::nullopt},
                         {"-5", -10, -2, -5},
                         {"-1", -10, -2, std::nullopt},
                         {"5", -10, -2, std::nullopt},
                         {"9223372036854775807", kMin, kMax, kMax},
                         {"-9223372036854775808", kMin, kMax, kMin},
                         {"9223372036854775808", kMin, kMax, std::nullopt}};
  for (const TCase& c : cases) EXPECT_EQ(ParseIntegerIn(c.Text, c.Low, c.High), c.Value) << c.Text;
}

struct TScoreCase {
  const char* Table;
  std::string Board;
  std::string Expected;
};

const std::string kEmpty(42, '0');
std::string BottomRow(const char* row) { return std::string(35, '0') + row; }

TEST(PatternTableTest, EachLineScoresItsFirstMatchingEntryInTableOrder) {
  const TScoreCase cases[] = {
      // Every one of the 25 lines holds "0000"; 17 hold six cells or more.
      {"0000|3", kEmpty, "75"},
      {"000000|2\n0000|1", kEmpty, "42"},
      {"0000000|1", kEmpty, "6"},
      {"2|5\n1|-5", kEmpty, "0"},
      {"", kEmpty, "0"},
      // A four scores its line once, the other lines as usual; five is still one line.
      {"2222|1000\n0|1", BottomRow("2222000"), "1024"},
      {"2222|1000", BottomRow("2222200"), "1000"},
      {"2222|100\n222|10", BottomRow("0222200"), "100"},
      {"222|10\n2222|100", BottomRow("0222200"), "10"},
      // Empty patterns, entries without "|", patterns longer than any line
      // and blanks inside a pattern never match.
      {"|50\n0\n00000000|7\n0|1", kEmpty, "25"},
      {" 0|5\n0 |5", kEmpty, "0"},
      // A bad value raises only when it is a first match; the value is all
      // that follows the first "|"; blanks around it are fine.
      {"0|x1", kEmpty, NotAnInteger("x1")},
      {"0|7\n0|x1", kEmpty, "175"},
      {"0|5|3", kEmpty, NotAnInteger("5|3")},
      {"0| 2 ", kEmpty, "50"},
      // The bottom row is visited first: its "2" meets "2|b" before the "1"
      // of row 4 meets "1|a".
      {"1|a\n2|b",
       "0000000000000000000000000000"
       "0000001"
       "0000002",
       NotAnInteger("b")},
  };
  for (const TScoreCase& c : cases) {
    const TPatternTable table = TPatternTable::FromText(c.Table);
    const TBoard board = *TBoard::FromString(c.Board);
    EXPECT_EQ(Score(board, table), c.Expected) << c.Table;
    TLineBuffer lines;
    EXPECT_EQ(Outcome([&] { return literal::EvaluateBoard(board, lines, table.Entries()); }),
              c.Expected)
        << c.Table;
  }
}

TEST(PatternTableTest, ShippedTableKeepsEveryReachableTotalInsideTheRootBounds) {
  const TPatternTable table = TPatternTable::FromFile(ZERUD_SCORES_FILE);
  // The search meets at most the fours one piece completes (four lines)
  // plus 21 lines of the largest other weight.
  std::int64_t four = 0, other = 0;
  int texts = 0;
  TPatternTable::ForEachLineText([&](int length, int code, std::string_view text) {
    ++texts;
    const TLineWeight& weight = table.WeightOf(length, code);
    EXPECT_LT(weight.BadEntry, 0) << text;
    const bool hasFour =
        text.find("1111") != std::string_view::npos || text.find("2222") != std::string_view::npos;
    std::int64_t& largest = hasFour ? four : other;
    largest = std::max<std::int64_t>(largest, std::abs(weight.Weight));
  });
  EXPECT_EQ(texts, 81 + 243 + 729 + 2187);
  EXPECT_LT(4 * four + 21 * other, 1000000);
  EXPECT_GT(four, 2 * 24 * other);  // a four outweighs everything else the grid can hold
}

// The window drops its table when it closes, which can happen from the
// event pump in the middle of the machine's move, also together with a
// change of level (the plain search then takes over).
TEST(PatternTableTest, TableReplacedDuringASearchKeepsScoringTheSearchWithTheOldOne) {
  TBoard board;
  board.Set(5, 3, '1');
  auto choose = [&](bool replace, bool raise) {
    TPatternTable table = TPatternTable::FromText("2222|1000\n1111|-1000\n0220|5\n0110|-5\n0|1");
    TSearchState state;
    state.MaxDepth = 6;
    TRandomSource random(1);
    long long nodes = 0;
    const TEventPump pump = [&] {
      if (++nodes != 5) return;
      if (replace) table = TPatternTable::FromText("0|x");
      if (raise) state.MaxDepth = 8;
    };
    return std::pair{ChooseMachineColumn(board, 2, state, table, random, pump), nodes};
  };
  for (const bool raise : {false, true}) EXPECT_EQ(choose(true, raise), choose(false, raise));
}

}  // namespace
}  // namespace zerud
