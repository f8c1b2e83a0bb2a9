#include "ErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>

namespace zerud {
namespace {

void ShowMessageBox(const QString& text) {
  QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Zerud uravizera4"), text);
}

TErrorDisplay& CurrentDisplay() {
  static TErrorDisplay display;
  return display;
}

}  // namespace

void ShowError(const QString& text) {
  if (CurrentDisplay())
    CurrentDisplay()(text);
  else
    ShowMessageBox(text);
}

TErrorDisplay SetErrorDisplay(TErrorDisplay display) {
  TErrorDisplay previous = std::move(CurrentDisplay());
  CurrentDisplay() = std::move(display);
  return previous;
}

}  // namespace zerud
