#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>

// Small helpers the start-up windows share: fonts given by pixel height,
// plain background colours, and centring.
namespace zerud {

// A font given, as the windows' layouts give it, by its character height in
// pixels. Where the family is not installed (Tahoma seldom is), Liberation
// Sans stands in: its widths are close to Tahoma's, where the desktop's usual
// substitute is wide enough to fill the confirmation's first line to the
// last pixel.
inline QFont PixelFont(const QString& family, int pixelHeight) {
  QFont font;
  font.setFamilies({family, QStringLiteral("Liberation Sans")});
  font.setPixelSize(pixelHeight);
  return font;
}

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
