#include "app/WindowStack.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

namespace zerud {

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

void StackAboveBackdrop(QWidget* window, QWidget* backdrop) {
  if (!OnWayland()) return;
  // winId() gives both widgets their native window now, so the parent is
  // known to the compositor from the window's first showing.
  window->winId();
  backdrop->winId();
  window->windowHandle()->setTransientParent(backdrop->windowHandle());
}

void ShowAsPopupOf(QWidget* window, QWidget* owner) {
  if (!OnWayland()) return;
  window->setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
  window->winId();
  owner->winId();
  window->windowHandle()->setTransientParent(owner->windowHandle());
}

void EmbedInOwner(QWidget* window, QWidget* owner) {
  if (!OnWayland()) return;
  window->setParent(owner, Qt::Widget);
  // Hidden explicitly, or it would show with its owner.
  window->hide();
}

}  // namespace zerud
