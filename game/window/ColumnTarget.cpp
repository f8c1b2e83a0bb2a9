#include "game/window/ColumnTarget.h"

#include <QMouseEvent>

namespace zerud {

TColumnTarget::TColumnTarget(int tag, QWidget* parent) : QLabel(parent), tag_(tag) {
  setObjectName(QStringLiteral("Colonne%1").arg(tag));
  setAttribute(Qt::WA_TranslucentBackground);
  setCursor(Qt::PointingHandCursor);
  setMouseTracking(true);
}

// A click is a press and a release of the left button over the target.
void TColumnTarget::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  event->accept();
}

void TColumnTarget::mouseReleaseEvent(QMouseEvent* event) {
  const bool click =
      pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  event->accept();
  if (click) emit Clicked(tag_);
}

void TColumnTarget::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
  emit MouseMoved(tag_);
}

}  // namespace zerud
