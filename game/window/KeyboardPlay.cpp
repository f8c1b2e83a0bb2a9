#include "game/window/KeyboardPlay.h"

#include <QApplication>
#include <QKeyEvent>
#include <algorithm>

#include "rules/Board.h"

namespace zerud {
namespace {

// The column of a key of the top row, by its place rather than what it
// types: on a French keyboard those keys give & é " ' ( - è without Shift.
// X11 and Wayland number them 10 to 16. -1 for any other key.
int TopRowColumn(const QKeyEvent& key) {
  if (key.modifiers() & Qt::KeypadModifier) return -1;
  const QString platform = QGuiApplication::platformName();
  if (!platform.startsWith(QLatin1String("xcb")) && !platform.startsWith(QLatin1String("wayland")))
    return -1;
  const int code = static_cast<int>(key.nativeScanCode());
  return code >= 10 && code < 10 + kColumns ? code - 10 : -1;
}

}  // namespace

// Every key press of the application passes here first, so a focused radio
// box or button cannot take the arrows or Space from the game.
TKeyboardPlay::TKeyboardPlay(QWidget* window, TActions actions)
    : QObject(window), window_(window), actions_(std::move(actions)) {
  qApp->installEventFilter(this);
}

bool TKeyboardPlay::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
  auto* target = static_cast<QWidget*>(watched);
  if (target->window() != window_ || !window_->isActiveWindow()) return false;
  // A key the focused control leaves unused passes on to its parents, and
  // through this filter again: only its first delivery counts, so a chat
  // field's Return never reaches the game as the panel's.
  if (QWidget* focus = QApplication::focusWidget(); focus && focus != target) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  // Shortcuts with Ctrl, Alt or Meta stay the controls'.
  if (key->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) return false;
  if (!actions_.Listening(target)) return false;
  return HandleKey(*key);
}

void TKeyboardPlay::MoveMarker(int column) {
  marker_ = std::clamp(column, 0, kColumns - 1);
  actions_.ShowMarker(marker_);
}

bool TKeyboardPlay::HandleKey(const QKeyEvent& event) {
  const int key = event.key();
  const bool repeated = event.isAutoRepeat();
  int column = TopRowColumn(event);
  if (key >= Qt::Key_1 && key < Qt::Key_1 + kColumns) column = key - Qt::Key_1;
  if (column >= 0) {
    marker_ = column;
    if (!repeated) actions_.Play(marker_);
    return true;
  }
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
      // One column at a time, full ones included, stopping at the edges.
      marker_ = std::clamp(marker_ + (key == Qt::Key_Left ? -1 : 1), 0, kColumns - 1);
      actions_.ShowMarker(marker_);
      return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
    case Qt::Key_Down:
      if (!repeated) actions_.Play(marker_);
      return true;
    default:
      return false;
  }
}

}  // namespace zerud
