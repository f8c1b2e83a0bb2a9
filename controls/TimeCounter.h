#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// The game clock's stopwatch: it ticks every second, with a timer of its own,
// and measures how long the current game has been running; the count can be
// held, resumed and reset.
//
// Times are local wall-clock times: a change of the computer's clock during a
// game shifts the elapsed time by the same amount, and so does a change to or
// from daylight saving time.
namespace zerud {

class TTimeCounter : public QObject {
  Q_OBJECT

 public:
  // Gives the local wall-clock date and time ("now"). Tests hand in their own.
  using TClock = std::function<QDateTime()>;

  static constexpr int kInterval = 1000;  // milliseconds between two ticks
  static constexpr qint64 kMsecsPerDay = 24 * 60 * 60 * 1000;

  // Starts counting from now and ticking every second. An empty clock means
  // the computer's own clock.
  explicit TTimeCounter(QObject* owner = nullptr, TClock clock = {});

  // The moment from which a running count is measured.
  QDateTime StartTime() const;
  void SetStartTime(const QDateTime& time);

  // True while the count runs, false while it is held. Holding keeps the
  // elapsed time in whole seconds; resuming goes on from the held time.
  // Setting the value it already has changes nothing.
  bool Counting() const { return counting_; }
  void SetCounting(bool counting);

  // The elapsed time kept while the count is held, in milliseconds (always a
  // whole number of seconds below 24 hours).
  qint64 HeldElapsed() const { return heldElapsed_; }

  // The elapsed time as "hh:mm:ss": whole seconds, truncated, shown modulo
  // 24 hours. A stored layout may write it; that has no effect on the count.
  QString Elapsed() const;
  void SetElapsed(const QString& text);

  void Start() { SetCounting(true); }
  void Stop() { SetCounting(false); }
  // Counts from zero again, running or held as before.
  void Reset();

  // Switches the ticks (OnTimer every second) on or off; the count is not
  // affected.
  bool Enabled() const { return ticks_.isActive(); }
  void SetEnabled(bool enabled);
  // Milliseconds between two ticks: always kInterval.
  int Interval() const { return ticks_.interval(); }

  void SetClock(TClock clock);

  // "hh:mm:ss" of a duration: truncated to whole seconds, modulo 24 hours; a
  // negative duration (the clock was set back before the start) shows zero.
  static QString FormatElapsed(qint64 msecs);

 signals:
  // Every tick while Enabled.
  void OnTimer();

 private:
  // Now, as milliseconds of local wall-clock time counted from 1970-01-01.
  qint64 NowWall() const;
  qint64 RunningElapsed() const { return NowWall() - startWall_; }

  QTimer ticks_;
  TClock clock_;
  qint64 startWall_ = 0;
  qint64 heldElapsed_ = 0;
  bool counting_ = false;
};

}  // namespace zerud
