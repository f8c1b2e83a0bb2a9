#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

namespace zerud {

// Top-left corner that centres a window of the given size in the area; an
// odd difference leaves the extra pixel on the right and bottom.
inline QPoint CenteredIn(const QRect& area, const QSize& size) {
  return {area.x() + (area.width() - size.width()) / 2,
          area.y() + (area.height() - size.height()) / 2};
}

}  // namespace zerud
