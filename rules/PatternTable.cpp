#include "rules/PatternTable.h"

#include <cstdio>
#include <memory>

#include "rules/Errors.h"
#include "rules/Integer.h"

namespace zerud {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr char kSeparator = '|';

}  // namespace

TPatternTable::TPatternTable() : TPatternTable(std::vector<std::string>()) {}

TPatternTable TPatternTable::FromText(std::string_view text) {
  std::vector<std::string> entries;
  if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r')) line.remove_suffix(1);
    entries.emplace_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return TPatternTable(std::move(entries));
}

TPatternTable TPatternTable::FromFile(const std::string& path) {
  // A folder opens like a file but cannot be read: both are refused.
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
  if (!file) throw TFileOpenError(path);
  std::string content;
  char block[4096];
  std::size_t count;
  while ((count = std::fread(block, 1, sizeof block, file.get())) > 0) content.append(block, count);
  if (std::ferror(file.get())) throw TFileOpenError(path);
  return FromText(content);
}

std::string_view TPatternTable::PatternOf(std::string_view entry) {
  const std::size_t bar = entry.find(kSeparator);
  return bar == std::string_view::npos ? std::string_view() : entry.substr(0, bar);
}

std::string_view TPatternTable::ValueTextOf(std::string_view entry) {
  const std::size_t bar = entry.find(kSeparator);
  return bar == std::string_view::npos ? std::string_view() : entry.substr(bar + 1);
}

int TPatternTable::LineCode(std::string_view text) {
  int code = 0;
  for (std::size_t i = text.size(); i-- > 0;) code = code * 3 + (text[i] - '0');
  return code;
}

std::int32_t TPatternTable::ScoreLine(std::string_view text) const {
  const TLineWeight& weight = WeightOf(static_cast<int>(text.size()), LineCode(text));
  if (weight.BadEntry >= 0) ThrowBadEntry(weight);
  return weight.Weight;
}

void TPatternTable::ThrowBadEntry(const TLineWeight& weight) const {
  throw TConvertError(std::string(ValueTextOf(data_->Entries[weight.BadEntry])));
}

// Every line text of 4 to 7 cells, matched once against the table: the
// evaluation then needs one look-up per line.
TPatternTable::TPatternTable(std::vector<std::string> entries) {
  auto data = std::make_shared<TData>();
  data->Entries = std::move(entries);
  const std::vector<std::string>& list = data->Entries;
  data->Weights.assign(kWeightCount, TLineWeight{});
  // Each entry's pattern and value, read once.
  struct TEntry {
    std::string_view Pattern;
    std::int32_t Value = 0;
    bool Valid = false;
  };
  std::vector<TEntry> parsed(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    parsed[i].Pattern = PatternOf(list[i]);
    if (parsed[i].Pattern.empty() || parsed[i].Pattern.size() > kMaxLineLength) continue;
    try {
      parsed[i].Value = ParseInteger(ValueTextOf(list[i]));
      parsed[i].Valid = true;
    } catch (const TConvertError&) {
    }
  }
  ForEachLineText([&](int length, int code, std::string_view text) {
    TLineWeight& weight = data->Weights[kLengthOffset[length] + code];
    for (std::size_t i = 0; i < parsed.size(); ++i) {
      const std::string_view pattern = parsed[i].Pattern;
      if (pattern.empty() || text.find(pattern) == std::string_view::npos) continue;
      if (parsed[i].Valid) {
        weight.Weight = parsed[i].Value;
      } else {
        weight.BadEntry = static_cast<std::int32_t>(i);
      }
      break;
    }
  });
  data_ = std::move(data);
}

}  // namespace zerud
