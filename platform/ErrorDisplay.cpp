#include "ErrorDisplay.h"

#include <QApplication>
#include <QMessageBox>

namespace zerud {
namespace {

void ShowMessageBox(const QString& text) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Zerud uravizera4"), WithLineFeeds(text),
                  QMessageBox::Ok, QApplication::activeWindow());
  // The text comes from peers, files and the system: never markup. Left at
  // Qt::AutoText, a peer's "<img src=/dev/zero>" would be loaded.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

TErrorDisplay& CurrentDisplay() {
  static TErrorDisplay display;
  return display;
}

}  // namespace

QString WithLineFeeds(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return lines;
}

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
