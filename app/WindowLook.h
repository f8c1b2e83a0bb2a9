#pragma once

#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

#include "platform/Fonts.h"

// Small helpers the start-up windows share: plain background colours and
// centring; fonts by pixel height come from platform/Fonts.h.
namespace zerud {

// Names a top-level window, gives it its caption and fills it with a plain
// colour.
inline void PrepareWindow(QWidget* window, const QString& name, const QString& caption,
                          const QColor& background) {
  window->setObjectName(name);
  window->setWindowTitle(caption);
  QPalette palette = window->palette();
  palette.setColor(QPalette::Window, background);
  window->setPalette(palette);
  window->setAutoFillBackground(true);
}

// Top-left corner that centres a window of the given size in the area; an
// odd difference leaves the extra pixel on the right and bottom.
inline QPoint CenteredIn(const QRect& area, const QSize& size) {
  return {area.x() + (area.width() - size.width()) / 2,
          area.y() + (area.height() - size.height()) / 2};
}

}  // namespace zerud
