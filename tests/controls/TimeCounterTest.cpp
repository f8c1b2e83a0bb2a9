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

 private slots:
  void init() { now_ = QDateTime(QDate(2026, 5, 14), QTime(20, 30, 0, 250), Qt::LocalTime); }

  void newCounterCountsAndTicks() {
    TTimeCounter counter(nullptr, Clock());
    QVERIFY(counter.Counting());
    QVERIFY(counter.Enabled());
    QCOMPARE(counter.interval(), 1000);
    QCOMPARE(counter.StartTime(), now_);
    QCOMPARE(counter.HeldElapsed(), 0);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:00"));
    Advance(3 * 3600 * 1000 + 25 * 60 * 1000 + 7 * 1000 + 999);
    QCOMPARE(counter.Elapsed(), QStringLiteral("03:25:07"));
  }

  void stopHoldsWholeSecondsAndStartResumes() {
    TTimeCounter counter(nullptr, Clock());
    Advance(65900);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:01:05"));
    counter.Stop();
    QVERIFY(!counter.Counting());
    QCOMPARE(counter.HeldElapsed(), 65000);

    // Held: time passes, the text stays, a second Stop keeps the held value.
    Advance(10 * 60 * 1000);
    counter.Stop();
    QCOMPARE(counter.HeldElapsed(), 65000);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:01:05"));

    // Resumed from 65.0 s, not 65.9 s: one more full second to the next digit.
    counter.Start();
    QCOMPARE(counter.StartTime(), now_.addMSecs(-65000));
    Advance(900);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:01:05"));
    Advance(100);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:01:06"));
  }

  void resetWhileCountingKeepsCounting() {
    TTimeCounter counter(nullptr, Clock());
    Advance(100 * 1000);
    counter.Reset();
    QVERIFY(counter.Counting());
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:00"));
    Advance(3000);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:03"));
  }

  void resetWhileHeldCountsFromZeroOnStart() {
    TTimeCounter counter(nullptr, Clock());
    Advance(100 * 1000);
    counter.Stop();
    counter.Reset();
    QVERIFY(!counter.Counting());
    QCOMPARE(counter.HeldElapsed(), 0);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:00"));
    Advance(50 * 1000);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:00"));
    counter.Start();
    Advance(2000);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:02"));
  }

  void wrapsAtTwentyFourHours() {
    TTimeCounter counter(nullptr, Clock());
    Advance(24LL * 3600 * 1000 + 3000);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:03"));
    Advance(3600 * 1000 + 60 * 1000 - 2000);
    QCOMPARE(counter.Elapsed(), QStringLiteral("01:01:01"));
    // Held, the count keeps only the time of day it showed.
    counter.Stop();
    QCOMPARE(counter.HeldElapsed(), (3600 + 61) * 1000);
    counter.Start();
    QCOMPARE(counter.Elapsed(), QStringLiteral("01:01:01"));
    Advance(49LL * 3600 * 1000);
    QCOMPARE(counter.Elapsed(), QStringLiteral("02:01:01"));
  }

  void clockChangeShiftsElapsedTime() {
    TTimeCounter counter(nullptr, Clock());
    Advance(10 * 1000);
    now_ = now_.addSecs(3600);  // the user sets the clock one hour ahead
    QCOMPARE(counter.Elapsed(), QStringLiteral("01:00:10"));
    now_ = now_.addSecs(-3600 - 4);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:06"));
  }

  // Readings on the clock count, not the physical time between them: the
  // night the clocks go forward, 01:59:50 to 03:00:10 shows an hour more.
  void elapsedIsMeasuredOnWallClockReadings() {
    now_ = QDateTime(QDate(2026, 3, 29), QTime(1, 59, 50), Qt::LocalTime);
    TTimeCounter counter(nullptr, Clock());
    now_ = QDateTime(QDate(2026, 3, 29), QTime(3, 0, 10), Qt::LocalTime);
    QCOMPARE(counter.Elapsed(), QStringLiteral("01:00:20"));
  }

  // A clock set back before the start of the game gives a negative duration:
  // the display shows zero, and a hold keeps zero.
  void clockSetBackBeforeStartShowsZero() {
    TTimeCounter counter(nullptr, Clock());
    Advance(5000);
    now_ = now_.addSecs(-3600);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:00"));
    counter.Stop();
    QCOMPARE(counter.HeldElapsed(), 0);
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
    QTest::newRow("zero") << qint64(0) << "00:00:00";
    QTest::newRow("5.9 s") << qint64(5900) << "00:00:05";
    QTest::newRow("last second of a day") << qint64(86399999) << "23:59:59";
    QTest::newRow("one day") << qint64(86400000) << "00:00:00";
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
    counter.SetEnabled(false);
    QVERIFY(!counter.isActive());
    QVERIFY(counter.Counting());
    Advance(2000);
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:02"));

    counter.Stop();
    QSignalSpy ticks(&counter, &TTimeCounter::OnTimer);
    counter.SetEnabled(true);
    QVERIFY(counter.Enabled());
    QVERIFY(ticks.wait(3000));
    QCOMPARE(counter.Elapsed(), QStringLiteral("00:00:02"));
    QVERIFY(!counter.Counting());
  }
};

int main(int argc, char** argv) {
  // Local time is central European time with its spring change, written as a
  // POSIX rule so that no zone database is needed.
  qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
  tzset();
  QCoreApplication app(argc, argv);
  TimeCounterTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "TimeCounterTest.moc"
