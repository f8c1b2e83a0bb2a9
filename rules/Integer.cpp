#include "rules/Integer.h"

#include <limits>

#include "rules/Errors.h"

namespace zerud {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::int32_t ParseInteger(std::string_view text) {
  std::string_view rest = text;
  while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
  while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  if (rest.empty()) throw TConvertError(std::string(text));
  // Accumulate the magnitude against the limit of its sign, so that the
  // lowest 32-bit value fits.
  const std::int64_t limit = negative ? -std::int64_t{std::numeric_limits<std::int32_t>::min()}
                                      : std::int64_t{std::numeric_limits<std::int32_t>::max()};
  std::int64_t magnitude = 0;
  for (char c : rest) {
    if (c < '0' || c > '9') throw TConvertError(std::string(text));
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > limit) throw TConvertError(std::string(text));
  }
  return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace zerud
