#pragma once
// Waiting and error collection for the network tests.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include "platform/ErrorDisplay.h"

namespace zerud::test {

// Processes events for the given time.
inline void Pump(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Collects the texts shown to the user instead of opening message boxes.
struct TShownErrors {
  QStringList texts;
  TErrorDisplay previous;
  TShownErrors() {
    previous = SetErrorDisplay([this](const QString& text) { texts << text; });
  }
  ~TShownErrors() { SetErrorDisplay(previous); }
};

}  // namespace zerud::test
