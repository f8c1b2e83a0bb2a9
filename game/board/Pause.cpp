#include "game/board/Pause.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <thread>

namespace zerud {

void Pause(double ms) {
  QElapsedTimer clock;
  clock.start();
  const qint64 limitNs = ms > 0 ? static_cast<qint64>(std::ceil(ms * 1e6)) : 0;
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const qint64 leftNs = limitNs - clock.nsecsElapsed();
    if (leftNs < 0) return;
    if (QCoreApplication::instance() == nullptr) {
      std::this_thread::sleep_for(std::chrono::nanoseconds(leftNs + 1));
      continue;
    }
    // Sleep until the next event or the last whole millisecond of the wait;
    // the remainder (under a millisecond) is spent handling events.
    if (leftNs >= 1'000'000) {
      QTimer wake;
      wake.setSingleShot(true);
      wake.setTimerType(Qt::PreciseTimer);
      wake.start(static_cast<int>(leftNs / 1'000'000));
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
  }
}

}  // namespace zerud
