#include <QSignalSpy>
#include <QTest>
#include <ctime>

#include "controls/TimeCounter.h"

using zerud::TTimeCounter;

// The counter reads a hand-held clock, so every duration is exact and no test
// waits for real seconds (but the one about ticks).
class TimeCounterTest : public QObject {
  Q_OBJECT

 private:
  QDateTime now_;
  TTimeCounter::TClock Clock() {
    return [this] { return now_; };
  }
  void Advance(qint64 msecs) { now_ = now_.addMSecs(msecs); }
  QString ElapsedAfter(TTimeCounter& counter, qint64 msecs) {
    Advance(msecs);
    return counter.Elapsed();
  }

 private slots:
  void init() { now_ = QDateTime(QDate(2026, 5, 14), QTime(20, 30, 0, 250), Qt::LocalTime); }

  void newCounterCounts() {
    TTimeCounter counter(nullptr, Clock());
    QVERIFY(counter.Counting());
    QCOMPARE(counter.StartTime(), now_);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:00"));
    QCOMPARE(ElapsedAfter(counter, (3 * 3600 + 25 * 60 + 7) * 1000 + 999), "03:25:07");
  }

  void stopHoldsWholeSecondsAndStartResumes() {
    TTimeCounter counter(nullptr, Clock());
    Advance(65900);
    counter.Stop();
    QCOMPARE(counter.HeldElapsed(), 65000);
    // Held: time passes, the text stays, a second Stop keeps the held value.
    Advance(10 * 60 * 1000);
    counter.Stop();
    QCOMPARE(counter.HeldElapsed(), 65000);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:01:05"));
    // Resumed from 65.0 s, not 65.9 s: one more full second to the next digit.
    counter.Start();
    QCOMPARE(counter.StartTime(), now_.addMSecs(-65000));
    QCOMPARE(ElapsedAfter(counter, 900), "00:01:05");
    QCOMPARE(ElapsedAfter(counter, 100), "00:01:06");
  }

  // Reset counts from zero again: at once while counting, from the next
  // Start while held.
  void resetCountsFromZero() {
    TTimeCounter counting(nullptr, Clock());
    TTimeCounter held(nullptr, Clock());
    Advance(100 * 1000);
    held.Stop();
    counting.Reset();
    held.Reset();
    QVERIFY(counting.Counting());
    QVERIFY(!held.Counting());
    QCOMPARE(held.HeldElapsed(), 0);
    QCOMPARE(ElapsedAfter(counting, 3000), "00:00:03");
    QCOMPARE(held.Elapsed(), QStringLiteral("00:00:00"));
    held.Start();
    QCOMPARE(ElapsedAfter(held, 2000), "00:00:02");
  }

  void wrapsAtTwentyFourHours() {
    TTimeCounter counter(nullptr, Clock());
    QCOMPARE(ElapsedAfter(counter, 24LL * 3600 * 1000 + 3000), "00:00:03");
    QCOMPARE(ElapsedAfter(counter, 3600 * 1000 + 60 * 1000 - 2000), "01:01:01");
    // Held, the count keeps only the time of day it showed.
    counter.Stop();
    QCOMPARE(counter.HeldElapsed(), (3600 + 61) * 1000);
    counter.Start();
    QCOMPARE(ElapsedAfter(counter, 49LL * 3600 * 1000), "02:01:01");
  }

  // Readings on the clock count, not the physical time between them: a
  // clock set ahead shifts the count, the night the clocks go forward
  // shows an hour more, and a clock set back before the start shows (and
  // holds) zero.
  void elapsedIsMeasuredOnClockReadings_data() {
    QTest::addColumn<QDateTime>("start");
    QTest::addColumn<QDateTime>("now");
    QTest::addColumn<QString>("text");
    const QDate day(2026, 5, 14);
    const QDate spring(2026, 3, 29);
    auto at = [](QDate d, int h, int m, int s) {
      return QDateTime(d, QTime(h, m, s), Qt::LocalTime);
    };
    QTest::newRow("set ahead") << at(day, 20, 0, 0) << at(day, 21, 0, 10) << "01:00:10";
    QTest::newRow("spring change") << at(spring, 1, 59, 50) << at(spring, 3, 0, 10) << "01:00:20";
    QTest::newRow("before the start") << at(day, 20, 0, 0) << at(day, 19, 0, 5) << "00:00:00";
  }
  void elapsedIsMeasuredOnClockReadings() {
    QFETCH(QDateTime, start);
    QFETCH(QDateTime, now);
    QFETCH(QString, text);
    now_ = start;
    TTimeCounter counter(nullptr, Clock());
    now_ = now;
    QCOMPARE(counter.Elapsed(), text);
    counter.Stop();
    QCOMPARE(TTimeCounter::FormatElapsed(counter.HeldElapsed()), text);
  }

  void startingTwiceKeepsStartTime() {
    TTimeCounter counter(nullptr, Clock());
    const QDateTime start = now_.addSecs(-30);
    counter.SetStartTime(start);
    Advance(5000);
    counter.Start();
    counter.SetCounting(true);
    QCOMPARE(counter.StartTime(), start);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:35"));
  }

  void formatTruncatesAndWraps_data() {
    QTest::addColumn<qint64>("msecs");
    QTest::addColumn<QString>("text");
    QTest::newRow("last second of a day") << qint64(86399999) << "23:59:59";
    QTest::newRow("ten days and 10:11:12") << qint64(10LL * 86400000 + 36672000) << "10:11:12";
    QTest::newRow("negative") << qint64(-1500) << "00:00:00";
  }
  void formatTruncatesAndWraps() {
    QFETCH(qint64, msecs);
    QFETCH(QString, text);
    QCOMPARE(TTimeCounter::FormatElapsed(msecs), text);
  }

  // Ticks are independent of the count: switching them off keeps counting, a
  // held counter keeps ticking with a constant text.
  void ticksAreIndependentOfTheCount() {
    TTimeCounter counter(nullptr, Clock());
    QCOMPARE(counter.Interval(), 1000);
    counter.SetEnabled(false);
    QVERIFY(!counter.Enabled());
    QCOMPARE(ElapsedAfter(counter, 2000), "00:00:02");
    counter.Stop();
    QSignalSpy ticks(&counter, &TTimeCounter::OnTimer);
    counter.SetEnabled(true);
    QVERIFY(ticks.wait(3000));
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:02"));
    QVERIFY(!counter.Counting());
  }
};

int main(int argc, char** argv) {
  // Central European time with its spring change, written as a POSIX rule so
  // that no zone database is needed.
  qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
  tzset();
  QCoreApplication app(argc, argv);
  TimeCounterTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "tst_TimeCounter.moc"
