#include "app/Shape.h"

#include <QPainter>

namespace zerud {

TShape::TShape(QWidget* parent, const QColor& brush, const QColor& pen)
    : QWidget(parent), brush_(brush), pen_(pen) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void TShape::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), pen_);
  painter.fillRect(rect().adjusted(1, 1, -1, -1), brush_);
}

}  // namespace zerud
