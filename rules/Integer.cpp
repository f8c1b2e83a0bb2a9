#include "rules/Integer.h"

#include <limits>

#include "rules/Errors.h"

namespace zerud {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::int32_t ParseInteger(std::string_view text) {
  const std::optional<std::int64_t> value = ParseIntegerIn(
      text, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
  if (!value) throw TConvertError(std::string(text));
  return static_cast<std::int32_t>(*value);
}

std::optional<std::int64_t> ParseIntegerIn(std::string_view text, std::int64_t low,
                                           std::int64_t high) {
  std::string_view rest = text;
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  if (rest.empty()) return std::nullopt;
  // Accumulate the magnitude against the bound of its sign, so that no run
  // of digits overflows and the lowest bound still fits.
  const std::uint64_t limit = negative ? (low < 0 ? 0 - static_cast<std::uint64_t>(low) : 0)
                                       : (high > 0 ? static_cast<std::uint64_t>(high) : 0);
  std::uint64_t magnitude = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') return std::nullopt;
    const std::uint64_t digit = static_cast<std::uint64_t>(c - '0');
    if (magnitude > limit / 10 || digit > limit - magnitude * 10) return std::nullopt;
    magnitude = magnitude * 10 + digit;
  }
  const auto value = static_cast<std::int64_t>(negative ? 0 - magnitude : magnitude);
  if (value < low || value > high) return std::nullopt;
  return value;
}

}  // namespace zerud
