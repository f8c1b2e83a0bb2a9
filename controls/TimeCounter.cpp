#include "controls/TimeCounter.h"

#include <utility>

namespace zerud {

namespace {

// Wall-clock milliseconds: the date and time as read on the clock, taken as
// if they were UTC, so that differences are differences of clock readings.
qint64 WallMsecs(const QDateTime& time) {
  return QDateTime(time.date(), time.time(), Qt::UTC).toMSecsSinceEpoch();
}

QDateTime FromWallMsecs(qint64 msecs) {
  const QDateTime wall = QDateTime::fromMSecsSinceEpoch(msecs, Qt::UTC);
  return QDateTime(wall.date(), wall.time(), Qt::LocalTime);
}

}  // namespace

TTimeCounter::TTimeCounter(QObject* owner, TClock clock) : QObject(owner) {
  SetClock(std::move(clock));
  ticks_.setInterval(kInterval);
  connect(&ticks_, &QTimer::timeout, this, &TTimeCounter::OnTimer);
  // Nothing is held yet, so starting counts from now.
  Start();
  ticks_.start();
}

void TTimeCounter::SetClock(TClock clock) {
  clock_ = clock ? std::move(clock) : TClock(&QDateTime::currentDateTime);
}

qint64 TTimeCounter::NowWall() const { return WallMsecs(clock_()); }

QDateTime TTimeCounter::StartTime() const { return FromWallMsecs(startWall_); }

void TTimeCounter::SetStartTime(const QDateTime& time) { startWall_ = WallMsecs(time); }

QString TTimeCounter::FormatElapsed(qint64 msecs) {
  if (msecs < 0) msecs = 0;
  const qint64 seconds = (msecs % kMsecsPerDay) / 1000;
  return QString::asprintf("%02d:%02d:%02d", int(seconds / 3600), int(seconds / 60 % 60),
                           int(seconds % 60));
}

QString TTimeCounter::Elapsed() const {
  return FormatElapsed(counting_ ? RunningElapsed() : heldElapsed_);
}

void TTimeCounter::SetElapsed(const QString&) {
  // The text is derived from the count; a written value is dropped.
}

void TTimeCounter::SetCounting(bool counting) {
  if (counting_ && !counting) {
    // Hold what the display shows: whole seconds of the time of day, the
    // running second dropped.
    qint64 elapsed = RunningElapsed();
    if (elapsed < 0) elapsed = 0;
    heldElapsed_ = elapsed % kMsecsPerDay / 1000 * 1000;
  } else if (!counting_ && counting) {
    startWall_ = NowWall() - heldElapsed_;
  }
  counting_ = counting;
}

void TTimeCounter::Reset() {
  startWall_ = NowWall();
  heldElapsed_ = 0;
}

void TTimeCounter::SetEnabled(bool enabled) {
  if (enabled == ticks_.isActive()) return;
  if (enabled) {
    ticks_.start();
  } else {
    ticks_.stop();
  }
}

}  // namespace zerud
