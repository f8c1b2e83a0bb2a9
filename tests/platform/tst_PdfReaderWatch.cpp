#include <QElapsedTimer>
#include <QtTest>
#include <optional>

#include "TestPath.h"
#include "platform/PdfReaderWatch.h"

namespace zerud {

// The watch against made-up desktops: an xdg-mime on a PATH of its own that
// answers late, never, or with an error, and a viewer found (or not) on it.
class TPdfReaderWatchTest : public QObject {
  Q_OBJECT

  // Far below the made-up xdg-mime's second of delay, far above what
  // starting a process takes on a busy machine.
  static constexpr int kAnswerMs = 300;

 private slots:
  void AnswersWithoutWaitingForTheDesktop_data() {
    QTest::addColumn<QByteArray>("xdgMime");
    QTest::addColumn<bool>("viewerOnPath");
    QTest::addColumn<bool>("installed");
    QTest::newRow("slow query, viewer on the PATH")
        << QByteArray("/bin/sleep 1\necho zerud-no-such.desktop\n") << true << true;
    QTest::newRow("slow query, nothing") << QByteArray("/bin/sleep 1\n") << false << false;
    QTest::newRow("hung query, viewer on the PATH")
        << QByteArray("exec /bin/sleep 30\n") << true << true;
    QTest::newRow("failing query") << QByteArray("exit 4\n") << false << false;
  }
  void AnswersWithoutWaitingForTheDesktop() {
    QFETCH(QByteArray, xdgMime);
    QFETCH(bool, viewerOnPath);
    QFETCH(bool, installed);
    test::TTestPath path(/*keepSystemPath=*/false);
    path.AddProgram(QStringLiteral("xdg-mime"), xdgMime);
    if (viewerOnPath) path.AddProgram(QStringLiteral("evince"));

    QElapsedTimer clock;
    clock.start();
    TPdfReaderWatch watch(nullptr, /*timeoutMs=*/500);
    std::optional<bool> first;
    watch.Ask([&first](bool answer) { first = answer; });
    QVERIFY2(clock.elapsed() < kAnswerMs, "creating and asking never waits for xdg-mime");
    QTRY_VERIFY_WITH_TIMEOUT(first.has_value(), 5000);
    QCOMPARE(*first, installed);

    // Known now: the next question is answered at once.
    std::optional<bool> second;
    clock.restart();
    watch.Ask([&second](bool answer) { second = answer; });
    QVERIFY(clock.elapsed() < kAnswerMs);
    QCOMPARE(second, std::optional(installed));
  }

  // A reader installed while the game runs is seen from the question after
  // the one that found none.
  void EveryQuestionRefreshesTheAnswer() {
    test::TTestPath path(/*keepSystemPath=*/false);
    path.AddProgram(QStringLiteral("xdg-mime"), "/bin/sleep 0.2\n");
    TPdfReaderWatch watch;
    QTRY_VERIFY(watch.Known());
    path.AddProgram(QStringLiteral("okular"));
    QList<bool> answers;
    watch.Ask([&answers](bool answer) { answers << answer; });
    QCOMPARE(answers, QList<bool>{false});
    QTest::qWait(600);
    watch.Ask([&answers](bool answer) { answers << answer; });
    QCOMPARE(answers, (QList<bool>{false, true}));
  }
};

}  // namespace zerud

QTEST_GUILESS_MAIN(zerud::TPdfReaderWatchTest)
#include "tst_PdfReaderWatch.moc"
