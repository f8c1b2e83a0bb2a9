#include "app/FormBlack.h"

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QScreen>

#include "app/WindowLook.h"
#include "app/WindowStack.h"

namespace zerud {

TFormBlack::TFormBlack(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  PrepareWindow(this, QStringLiteral("FormBlack"), kCaption, Qt::black);
}

void TFormBlack::ShowBackdrop() {
  if (QScreen* desktop = screen()) setGeometry(desktop->geometry());
  // A Wayland compositor ignores a client's geometry: only full screen
  // covers the panels too.
  if (OnWayland())
    showFullScreen();
  else
    show();
  // Let the window be mapped, then paint it before returning.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  repaint();
}

void TFormBlack::FormActivate() {
  if (!mainWindow_ || !mainWindow_->isVisible()) return;
  mainWindow_->raise();
  mainWindow_->activateWindow();
}

bool TFormBlack::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) FormActivate();
  return QWidget::event(event);
}

// Without a window manager a click does not activate the window; the click
// itself then brings the main window forward.
void TFormBlack::mousePressEvent(QMouseEvent* event) {
  FormActivate();
  QWidget::mousePressEvent(event);
}

}  // namespace zerud
