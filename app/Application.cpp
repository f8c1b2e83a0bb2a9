#include "app/Application.h"

#include <exception>

#include "platform/ErrorDisplay.h"

namespace zerud {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The name, not the display name: Qt would append a display name to every
  // window's caption.
  setApplicationName(kTitle);
  // Launchers find the menu entry by this name (Wayland's application id); on
  // X11 they match the window class, which Qt takes from the name above:
  // StartupWMClass in the menu entry says the same.
  setDesktopFileName(kDesktopId);
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& error) {
    ShowError(QString::fromUtf8(error.what()));
  } catch (...) {
    ShowError(kUnknownError);
  }
  return false;
}

}  // namespace zerud
