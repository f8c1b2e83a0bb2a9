#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <algorithm>

namespace zerud {

// Top-left corner that centres a window of the given size in the area (the
// desktop, or the window it belongs to). An odd difference leaves the extra
// pixel on the right and bottom. A window larger than the area keeps its
// corner in the area, so its caption can still be reached.
inline QPoint CentredTopLeft(const QRect& area, const QSize& size) {
  return area.topLeft() + QPoint(std::max(0, (area.width() - size.width()) / 2),
                                 std::max(0, (area.height() - size.height()) / 2));
}

}  // namespace zerud
