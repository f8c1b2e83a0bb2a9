#include "app/Application.h"

#include <exception>

#include "platform/ErrorDisplay.h"

namespace zerud {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The name, not the display name: Qt would append a display name to every
  // window's caption.
  setApplicationName(kTitle);
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
