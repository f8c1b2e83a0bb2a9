#include "TableShape.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "rules/Integer.h"

namespace zerud::tune {

namespace {

// The patterns of each group, in the order they are written.
const std::array<std::vector<const char*>, kGroups> kPatterns = {{
    {"02220"},
    {"01110"},
    {"2220", "0222"},
    {"2202", "2022"},
    {"1110", "0111"},
    {"1101", "1011"},
    {"0220"},
    {"2200", "0022"},
    {"2020", "0202"},
    {"2002"},
    {"0110"},
    {"1100", "0011"},
    {"1010", "0101"},
    {"1001"},
    {"0200", "0020"},
    {"2000", "0002"},
    {"0100", "0010"},
    {"1000", "0001"},
}};

}  // namespace

const std::array<const char*, kGroups> kNames = {
    "open three (2)",  "open three (1)", "closed three (2)", "split three (2)", "closed three (1)",
    "split three (1)", "middle two (2)", "side two (2)",     "split two (2)",   "wide two (2)",
    "middle two (1)",  "side two (1)",   "split two (1)",    "wide two (1)",    "middle one (2)",
    "side one (2)",    "middle one (1)", "side one (1)"};

std::string TableText(const TWeights& weights) {
  std::string text =
      "2222|" + std::to_string(kFourWeight) + "\n1111|" + std::to_string(-kFourWeight) + "\n";
  for (int group = 0; group < kGroups; ++group) {
    for (const char* pattern : kPatterns[group]) {
      text += std::string(pattern) + "|" + std::to_string(weights[group]) + "\n";
    }
  }
  return text;
}

TWeights WeightsOf(const TPatternTable& table) {
  TWeights weights{};
  for (int group = 0; group < kGroups; ++group) {
    for (const std::string& entry : table.Entries()) {
      if (TPatternTable::PatternOf(entry) == kPatterns[group][0]) {
        weights[group] = ParseInteger(TPatternTable::ValueTextOf(entry));
        break;
      }
    }
  }
  return weights;
}

bool WithinBounds(const TWeights& weights) {
  for (const int weight : weights) {
    if (std::abs(weight) > kLargestOtherWeight) return false;
  }
  return true;
}

int Scaled(int weight, double factor) {
  const int scaled = static_cast<int>(std::lround(weight * factor));
  if (scaled != weight) return scaled;
  return factor > 1 ? weight + (weight < 0 ? -1 : 1) : weight - (weight < 0 ? -1 : 1);
}

}  // namespace zerud::tune
