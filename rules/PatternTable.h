// The machine player's pattern table: one entry per line, a pattern of cell
// characters, "|", and an integer weight. For each line of the grid only the
// first entry whose pattern occurs in the line's text counts.
//
// A table never changes once loaded. Copies share its contents, so a search
// that holds a copy keeps scoring with it even when the window replaces its
// own table in the middle of that search.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "rules/Board.h"

namespace zerud {

// The weight a line text scores, worked out once when the table is loaded.
struct TLineWeight {
  std::int32_t Weight = 0;  // 0 when no entry matches
  // Index of the first matching entry whose value text is not an integer,
  // or -1. Scoring such a line raises TConvertError with that value text.
  std::int32_t BadEntry = -1;
};

class TPatternTable {
 public:
  // The shortest and longest of the 25 scoring lines.
  static constexpr int kMinLineLength = 4;
  static constexpr int kMaxLineLength = 7;

  // An empty table: every grid scores 0.
  TPatternTable();
  // One entry per line of `text`. A leading UTF-8 byte-order mark and the
  // CR of CR LF line ends are dropped; every other character is kept.
  static TPatternTable FromText(std::string_view text);
  // Reads the file at `path` like FromText. Throws TFileOpenError when the
  // file cannot be opened.
  static TPatternTable FromFile(const std::string& path);

  // The entries, in file order, as read.
  const std::vector<std::string>& Entries() const { return data_->Entries; }
  bool Empty() const { return data_->Entries.empty(); }

  // The text before the first "|" of an entry; empty for an entry without "|".
  static std::string_view PatternOf(std::string_view entry);
  // The text after the first "|" of an entry; empty for an entry without "|".
  static std::string_view ValueTextOf(std::string_view entry);
  // The base-3 code of a line text of '0', '1', '2' read from its first
  // character (digit weight 1) to its last.
  static int LineCode(std::string_view text);
  // Calls visit(length, code, text) for every line text of 4 .. 7 cells,
  // shortest first, each length in the order of the codes.
  template <class TVisit>
  static void ForEachLineText(TVisit&& visit) {
    char text[kMaxLineLength];
    static_assert(kMinLineLength == 4);  // 81 codes of four cells
    for (int length = kMinLineLength, codes = 81; length <= kMaxLineLength; ++length, codes *= 3) {
      for (int code = 0; code < codes; ++code) {
        for (int k = 0, rest = code; k < length; ++k, rest /= 3) {
          text[k] = static_cast<char>('0' + rest % 3);
        }
        visit(length, code, std::string_view(text, length));
      }
    }
  }
  // Weight of the line text of `length` cells (4 .. 7) whose code is `code`.
  const TLineWeight& WeightOf(int length, int code) const {
    return data_->Weights[kLengthOffset[length] + code];
  }
  // Weight of a line text; throws TConvertError when its first matching
  // entry's value is not an integer.
  std::int32_t ScoreLine(std::string_view text) const;
  // The weights of all line texts of `length` cells, indexed by code.
  const TLineWeight* WeightsOfLength(int length) const {
    return data_->Weights.data() + kLengthOffset[length];
  }
  // Throws the conversion error of a line weight that carries one.
  [[noreturn]] void ThrowBadEntry(const TLineWeight& weight) const;

 private:
  // Where the weights of each line length begin: 3^4 codes of length 4,
  // then 3^5 of length 5, and so on.
  static constexpr std::array<int, kMaxLineLength + 1> kLengthOffset = {0, 0,  0,   0,
                                                                        0, 81, 324, 1053};
  static constexpr int kWeightCount = 3240;  // 3^4 + 3^5 + 3^6 + 3^7

  struct TData {
    std::vector<std::string> Entries;
    std::vector<TLineWeight> Weights;
  };

  explicit TPatternTable(std::vector<std::string> entries);

  std::shared_ptr<const TData> data_;
};

}  // namespace zerud
