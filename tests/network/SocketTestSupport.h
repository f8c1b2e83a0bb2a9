#pragma once
// Waiting, for the network tests.

#include <QCoreApplication>
#include <QElapsedTimer>

namespace zerud::test {

// Processes events for the given time.
inline void Pump(int ms) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

}  // namespace zerud::test
