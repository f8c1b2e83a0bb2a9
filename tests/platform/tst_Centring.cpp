#include <gtest/gtest.h>

#include "platform/Centring.h"

namespace zerud {
namespace {

struct TCentringCase {
  QRect area;
  QSize size;
  QPoint expected;
};

TEST(Centring, PlacesTheWindowInTheMiddleOfItsArea) {
  const TCentringCase cases[] = {
      // The framed main window on a desktop, and on a second screen.
      {{0, 0, 1280, 1024}, {802, 621}, {239, 201}},
      {{1280, 0, 1920, 1080}, {800, 600}, {1840, 240}},
      // The network window over the main window: the odd pixel goes right.
      {{100, 50, 800, 600}, {313, 165}, {343, 267}},
      // A screen too small for the window: its caption stays on the screen.
      {{0, 0, 1024, 600}, {802, 621}, {111, 0}},
      {{10, 20, 300, 200}, {400, 100}, {10, 70}},
  };
  for (const TCentringCase& c : cases)
    EXPECT_EQ(CentredTopLeft(c.area, c.size), c.expected) << c.area.x() << "," << c.size.width();
}

}  // namespace
}  // namespace zerud
