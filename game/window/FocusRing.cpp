#include "game/window/FocusRing.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>

namespace zerud {
namespace {

constexpr int kInk = 2;  // width of each of the frame's two lines
const QColor kOuter(Qt::black);
const QColor kInner(255, 200, 0);

}  // namespace

TFocusRing::TFocusRing(QWidget* window, QWidget* board, const QRect& boardArea)
    : QWidget(window), board_(board), boardArea_(boardArea) {
  setObjectName(QStringLiteral("FocusRing"));
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  setFocusPolicy(Qt::NoFocus);
  setGeometry(window->rect());
  qApp->installEventFilter(this);
}

bool TFocusRing::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // The mouse is where the player looks: no frame then.
  if (type == QEvent::MouseButtonPress && reached_ && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == window()) {
    reached_ = nullptr;
    update();
    return false;
  }
  if ((type == QEvent::FocusIn || type == QEvent::FocusOut) && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == window()) {
    const auto* focus = static_cast<QFocusEvent*>(event);
    const bool byKey =
        focus->reason() == Qt::TabFocusReason || focus->reason() == Qt::BacktabFocusReason;
    if (type == QEvent::FocusIn)
      reached_ = byKey ? static_cast<QWidget*>(watched) : nullptr;
    else if (watched == reached_)
      reached_ = nullptr;
    raise();
    update();
  }
  return false;
}

void TFocusRing::paintEvent(QPaintEvent*) {
  if (!reached_ || !reached_->isVisible()) return;
  const QRect area = reached_ == board_ ? boardArea_ : reached_->rect();
  const QRect ring(reached_->mapTo(window(), area.topLeft()), area.size());
  QPainter painter(this);
  painter.setPen(QPen(kOuter, kInk));
  painter.drawRect(ring.adjusted(-kInk - 1, -kInk - 1, kInk, kInk));
  painter.setPen(QPen(kInner, kInk));
  painter.drawRect(ring.adjusted(-1, -1, 0, 0));
}

}  // namespace zerud
