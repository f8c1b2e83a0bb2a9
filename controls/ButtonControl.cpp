// TButtonControl, declared in controls/ButtonComps.h.
#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

#include "controls/ButtonComps.h"

namespace zerud {

// Tab reaches the button (a click does not take the focus), and Space or
// Enter then clicks it.
TButtonControl::TButtonControl(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::TabFocus);
  setMouseTracking(true);
}

void TButtonControl::keyPressEvent(QKeyEvent* event) {
  const int key = event->key();
  if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
      !event->isAutoRepeat() && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
    event->accept();
    Clicked();
    return;
  }
  QWidget::keyPressEvent(event);
}

bool TButtonControl::TopmostAt(const QPoint& globalPos) const {
  QWidget* top = QApplication::widgetAt(globalPos);
  if (top == nullptr) {
    // Platforms without window stacking information: look inside our window.
    QWidget* win = window();
    const QPoint pos = win->mapFromGlobal(globalPos);
    if (win->rect().contains(pos)) top = win->childAt(pos);
  }
  return top == this;
}

bool TButtonControl::NotifyMouse(TMouseSignal signal, QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  QPointer<TButtonControl> self(this);
  emit(this->*signal)(event->button(), event->modifiers(), pos.x(), pos.y());
  return !self.isNull();
}

void TButtonControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  pressStarted_ = true;
  LeftDown(event);
}

void TButtonControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const bool click = pressStarted_ && rect().contains(event->position().toPoint());
  pressStarted_ = false;
  if (click) {
    // The click handler may close the window or destroy the button.
    QPointer<TButtonControl> self(this);
    Clicked();
    if (!self) return;
  }
  LeftUp(event);
}

void TButtonControl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  emit OnMouseMove(event->modifiers(), pos.x(), pos.y());
}

void TButtonControl::enterEvent(QEnterEvent*) { Entered(); }

void TButtonControl::leaveEvent(QEvent*) { Left(); }

}  // namespace zerud
