#pragma once

#include <QColor>
#include <QFont>
#include <QPoint>

class QPainter;
class QWidget;

// Drawing helpers the flat buttons share.
namespace zerud {

// A horizontal or vertical line from `from` to `to`, the end point itself not
// drawn.
void DrawLine(QPainter& painter, QPoint from, QPoint to, const QColor& color);

// A one-pixel frame just inside (left, top, right, bottom), right and bottom
// exclusive.
void FrameRect(QPainter& painter, int left, int top, int right, int bottom, const QColor& color);

// The face colour of the widget's palette.
QColor ButtonFace(const QWidget& widget);

// The text buttons' default font: Arial, at the given size or the parent's.
QFont DefaultButtonFont(int pointSize = -1);

}  // namespace zerud
