// The shape of the pattern table the tuner searches: fours first, then
// groups of patterns of each player that share one weight (a three open at
// both ends, a three closed at one end or with a gap, twos, single pieces).
#pragma once

#include <array>
#include <string>

#include "rules/PatternTable.h"

namespace zerud::tune {

constexpr int kGroups = 18;
using TWeights = std::array<int, kGroups>;
extern const std::array<const char*, kGroups> kNames;

// The fours: large enough to outweigh everything else the grid can hold.
constexpr int kFourWeight = 100000;
// Every other weight stays within this, so no total the search meets comes
// near its bounds of -1000000 and +1000000: at most four lines through the
// last piece hold a four, and the other 21 lines score at most this each,
// 4 x 100000 + 21 x 2000 = 442000; a four still outweighs the 24 other
// lines twice over (100000 > 2 x 24 x 2000).
constexpr int kLargestOtherWeight = 2000;

// The table: one entry per pattern, group by group.
std::string TableText(const TWeights& weights);
// The weight of each group's first pattern in `table`, 0 when missing.
TWeights WeightsOf(const TPatternTable& table);
bool WithinBounds(const TWeights& weights);
// `weight` times `factor`, rounded, and at least one away from `weight`.
int Scaled(int weight, double factor);

}  // namespace zerud::tune
