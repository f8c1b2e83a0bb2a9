// The hint: perfect play's column on grids it settles in time, the
// machine's "Expert" choice otherwise, found off the window's thread; a
// dropped request never answers, and the finder may go at any time.
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "game/hint/HintFinder.h"
#include "rules/Random.h"
#include "rules/Search.h"
#include "tests/support/ProgramFolder.h"

using namespace zerud;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(zerud::THint::TValue)

namespace {

using TValue = THint::TValue;

// Long enough for every grid below on a slow machine, but not for the empty
// grid without the opening book, which takes a minute or more.
constexpr int kAmpleMs = 60000;
// Red to move: red wins at once in column 4, later in 3 and 5.
const TBoard kRedWinsNow = *TBoard::FromString("000000000000000000000001200020210112221112");

TPatternTable GameTable() {
  return TPatternTable::FromFile((test::BuiltProgramFolder() + "scores.txt").toStdString());
}

}  // namespace

class TestHintFinder : public QObject {
  Q_OBJECT

 private slots:
  void hintForTheSideToMove_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("budgetMs");
    QTest::addColumn<int>("column");
    QTest::addColumn<TValue>("value");
    QTest::addColumn<int>("score");
    // Perfect play; the scores of every column, as `zerud-engine solve`
    // writes them, follow the name: the hint takes the highest, the middle
    // first among equals.
    QTest::newRow("red blocks yellow's four (-14 3 -14 -14 -14 -14 -14)")
        << "000000000000000000020101002010201102022112" << kAmpleMs << 1 << TValue::Win << 3;
    QTest::newRow("yellow wins now, not later (4 9 14 10 13 9 4)")
        << "000000000000000000000002021200212110121121" << kAmpleMs << 2 << TValue::Win << 14;
    QTest::newRow("red loses, latest (-9 -4 -1 -3 -10 -9 -10)")
        << "000000000000000000002100000120200121112221" << kAmpleMs << 2 << TValue::Loss << -1;
    QTest::newRow("red draws, nearest the middle (0 0 -11 -1 0 -10 0)")
        << "000000000000000000000120000012001212112221" << kAmpleMs << 4 << TValue::Draw << 0;
    // The game is over: nothing to advise.
    QTest::newRow("full grid") << "112211222112211122112221122111221122211221" << kAmpleMs << -1
                               << TValue::None << 0;
    // Without time, the machine's choice at "Expert" for the side to move,
    // red as well as yellow, and a searched one on the empty grid, where the
    // machine itself would open at random.
    QTest::newRow("yellow to move, no time")
        << "000000000000000000000000110120021112121222" << 0 << 5 << TValue::Estimate << 0;
    QTest::newRow("red wins at 0, yellow threatens 4, no time")
        << "000000000000000000020021001001220200111221" << 0 << 0 << TValue::Estimate << 0;
    QTest::newRow("empty grid, no time") << QString(42, u'0') << 0 << 3 << TValue::Estimate << 0;
    // The opening book beside the program knows the empty grid at once: a
    // win for red in the middle column.
    QTest::newRow("empty grid, 0.1 s, from the book")
        << QString(42, u'0') << 100 << 3 << TValue::Win << 1;
  }
  void hintForTheSideToMove() {
    QFETCH(QString, grid);
    QFETCH(int, budgetMs);
    QFETCH(int, column);
    QFETCH(TValue, value);
    QFETCH(int, score);
    THintFinder finder;
    QSignalSpy found(&finder, &THintFinder::Found);
    finder.SetBudget(std::chrono::milliseconds(budgetMs));
    finder.Find(*TBoard::FromString(grid.toStdString()), GameTable());
    QVERIFY(found.wait(120000));
    const THint hint = found.at(0).at(0).value<THint>();
    QCOMPARE(hint.Column, column);
    QCOMPARE(hint.Value, value);
    QCOMPARE(hint.Score, score);
    QVERIFY(!finder.Busy());
  }

  // A request dropped by a later one, by Cancel or with the finder never
  // answers, whether its answer was already on its way or its search still
  // running; that search stops, so the next request is answered at once.
  void droppedRequestsNeverAnswer_data() {
    QTest::addColumn<bool>("searching");
    QTest::addColumn<QString>("drop");
    for (const bool searching : {false, true}) {
      for (const char* drop : {"ask again", "cancel", "destroy"}) {
        QTest::addRow("%s, %s", searching ? "searching" : "answered", drop)
            << searching << QString(drop);
      }
    }
  }
  void droppedRequestsNeverAnswer() {
    QFETCH(bool, searching);
    QFETCH(QString, drop);
    auto finder = std::make_unique<THintFinder>();
    QList<THint> answers;
    QObject receiver;
    connect(finder.get(), &THintFinder::Found, &receiver,
            [&answers](THint hint) { answers.append(hint); });
    // Without time, the estimate is ready within the pause below.
    finder->SetBudget(std::chrono::milliseconds(searching ? kAmpleMs : 0));
    finder->Find(searching ? TBoard() : kRedWinsNow, GameTable());
    std::this_thread::sleep_for(300ms);
    if (drop == "destroy") finder.reset();
    if (drop == "cancel") finder->Cancel();
    if (drop != "ask again") {
      QTest::qWait(300);
      QVERIFY(answers.isEmpty());
      if (!finder) return;
      QVERIFY(!finder->Busy());
    }
    finder->SetBudget(std::chrono::milliseconds(kAmpleMs));
    finder->Find(kRedWinsNow, GameTable());
    QVERIFY(finder->Busy());
    QTRY_COMPARE_WITH_TIMEOUT(answers.size(), 1, 30000);
    QTest::qWait(300);
    QCOMPARE(answers.size(), 1);
    QCOMPARE(answers.first(), (THint{4, TValue::Win, 14}));
  }
};

QTEST_GUILESS_MAIN(TestHintFinder)
#include "tst_HintFinder.moc"
