#include "game/model/Pause.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <cmath>
#include <thread>

namespace zerud {

namespace {
double pauseScale = 1;
}  // namespace

void SetPauseScale(double scale) { pauseScale = scale; }

void Pause(double ms) {
  ms *= pauseScale;
  QElapsedTimer clock;
  clock.start();
  const qint64 limitNs = ms > 0 ? static_cast<qint64>(std::ceil(ms * 1e6)) : 0;
  for (;;) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const qint64 leftNs = limitNs - clock.nsecsElapsed();
    if (leftNs < 0) return;
    // Sleep until the next event or the last whole millisecond of the wait,
    // then sleep out the remainder (under a millisecond) and handle the
    // events once more. Sleeping rather than spinning keeps the wait short
    // on a busy machine, where a spinning loop loses the processor for
    // longer than a frame.
    if (leftNs >= 1'000'000 && QCoreApplication::instance() != nullptr) {
      QTimer wake;
      wake.setSingleShot(true);
      wake.setTimerType(Qt::PreciseTimer);
      wake.start(static_cast<int>(leftNs / 1'000'000));
      QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } else {
      std::this_thread::sleep_for(std::chrono::nanoseconds(leftNs + 1));
    }
  }
}

}  // namespace zerud
