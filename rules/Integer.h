// The one reading of a whole number the game knows: a weight of the pattern
// table, the column a peer sends, the port typed in the network window, and
// the numbers the engine tool reads.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zerud {

// Blanks (spaces, tabs), an optional sign, decimal digits that fit in 32
// bits, blanks. Throws TConvertError with the text otherwise.
std::int32_t ParseInteger(std::string_view text);

// The same reading of a number from `low` to `high`; nothing for any other
// text.
std::optional<std::int64_t> ParseIntegerIn(std::string_view text, std::int64_t low,
                                           std::int64_t high);

}  // namespace zerud
