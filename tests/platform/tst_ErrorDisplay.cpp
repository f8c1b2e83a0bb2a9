#include <gtest/gtest.h>

#include "platform/ErrorDisplay.h"

namespace zerud {
namespace {

// The game's texts break their lines with a lone CR (the quit confirmation
// with CR LF); a message box breaks only at LF, so each becomes one LF.
TEST(ErrorDisplay, EveryLineEndBecomesOneLineFeed) {
  const struct {
    const char* text;
    const char* shown;
  } cases[] = {
      {"a\r\nb\rc\nd", "a\nb\nc\nd"},
      {"\r\r\n\n\r", "\n\n\n\n"},
      {"sans fin", "sans fin"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(WithLineFeeds(QString::fromUtf8(c.text)).toStdString(), c.shown) << c.text;
}

}  // namespace
}  // namespace zerud
