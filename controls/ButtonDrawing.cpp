#include "controls/ButtonDrawing.h"

#include <QPainter>
#include <QWidget>
#include <algorithm>

namespace zerud {

void DrawLine(QPainter& painter, QPoint from, QPoint to, const QColor& color) {
  if (from == to) return;
  if (from.y() == to.y()) {
    const int step = to.x() > from.x() ? 1 : -1;
    const int left = std::min(from.x(), to.x() - step);
    const int right = std::max(from.x(), to.x() - step);
    painter.fillRect(QRect(left, from.y(), right - left + 1, 1), color);
  } else {
    const int step = to.y() > from.y() ? 1 : -1;
    const int top = std::min(from.y(), to.y() - step);
    const int bottom = std::max(from.y(), to.y() - step);
    painter.fillRect(QRect(from.x(), top, 1, bottom - top + 1), color);
  }
}

void FrameRect(QPainter& painter, int left, int top, int right, int bottom, const QColor& color) {
  if (right <= left || bottom <= top) return;
  painter.fillRect(QRect(left, top, right - left, 1), color);
  painter.fillRect(QRect(left, bottom - 1, right - left, 1), color);
  painter.fillRect(QRect(left, top, 1, bottom - top), color);
  painter.fillRect(QRect(right - 1, top, 1, bottom - top), color);
}

QColor ButtonFace(const QWidget& widget) { return widget.palette().color(QPalette::Button); }

QFont DefaultButtonFont(int pointSize) {
  QFont font;
  font.setFamily(QStringLiteral("Arial"));
  if (pointSize > 0) font.setPointSize(pointSize);
  return font;
}

}  // namespace zerud
