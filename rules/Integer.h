// The one reading of a whole number the game knows: a weight of the pattern
// table, the column a peer sends, the port typed in the network window.
#pragma once

#include <cstdint>
#include <string_view>

namespace zerud {

// Blanks (spaces, tabs), an optional sign, decimal digits that fit in 32
// bits, blanks. Throws TConvertError with the text otherwise.
std::int32_t ParseInteger(std::string_view text);

}  // namespace zerud
