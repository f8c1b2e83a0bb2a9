// The hint: perfect play's column on grids it settles in time, the
// machine's "Expert" choice otherwise, found off the window's thread; a
// dropped request never answers, and the finder may go at any time.
#include <QSignalSpy>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "game/HintFinder.h"
#include "rules/Random.h"
#include "rules/Search.h"
#include "tests/support/ProgramFolder.h"

using namespace zerud;
using namespace std::chrono_literals;

Q_DECLARE_METATYPE(zerud::THint::TValue)

namespace {

using TValue = THint::TValue;

// Long enough for every grid below on a slow machine; the empty grid takes
// minutes.
constexpr auto kAmpleBudget = 60s;
const TBoard kEmpty;
// Red to move: red wins at once in column 4, later in 3 and 5.
const TBoard kRedWinsNow = *TBoard::FromString("000000000000000000000001200020210112221112");

TPatternTable GameTable() {
  return TPatternTable::FromFile((test::BuiltProgramFolder() + "scores.txt").toStdString());
}

// The hint of one request, waiting for its answer.
THint HintOf(THintFinder& finder, const TBoard& grid) {
  QSignalSpy found(&finder, &THintFinder::Found);
  finder.Find(grid, GameTable());
  if (!found.wait(120000)) return THint{-2};
  return found.takeFirst().at(0).value<THint>();
}

}  // namespace

class TestHintFinder : public QObject {
  Q_OBJECT

 private slots:
  void perfectPlayWhenItFinishes_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("column");
    QTest::addColumn<TValue>("value");
    QTest::addColumn<int>("score");
    // The scores of every column, as `zerud-engine solve` writes them, after
    // the name: the hint takes the highest, the middle first among equals.
    QTest::newRow("red blocks yellow's four (-14 3 -14 -14 -14 -14 -14)")
        << "000000000000000000020101002010201102022112" << 1 << TValue::Win << 3;
    QTest::newRow("yellow blocks red's four (-13 -13 -13 -13 -13 -13 3)")
        << "000000000000000000000100200111210212221021" << 6 << TValue::Win << 3;
    QTest::newRow("red wins now, not later (-2 -2 0 4 14 13 -2)")
        << "000000000000000000000001200020210112221112" << 4 << TValue::Win << 14;
    QTest::newRow("yellow wins now, not later (4 9 14 10 13 9 4)")
        << "000000000000000000000002021200212110121121" << 2 << TValue::Win << 14;
    QTest::newRow("red loses, latest (-9 -4 -1 -3 -10 -9 -10)")
        << "000000000000000000002100000120200121112221" << 2 << TValue::Loss << -1;
    QTest::newRow("yellow loses, latest (-4 -4 -12 -4 -11 -3 -4)")
        << "000000000010000002000000100011220102221112" << 5 << TValue::Loss << -3;
    QTest::newRow("red draws, nearest the middle (0 0 -11 -1 0 -10 0)")
        << "000000000000000000000120000012001212112221" << 4 << TValue::Draw << 0;
    // The game is over: nothing to advise.
    QTest::newRow("full grid") << "112211222112211122112221122111221122211221" << -1 << TValue::None
                               << 0;
    QTest::newRow("four on the grid")
        << "000000000000000000000000000000200000111122" << -1 << TValue::None << 0;
  }
  void perfectPlayWhenItFinishes() {
    QFETCH(QString, grid);
    QFETCH(int, column);
    QFETCH(TValue, value);
    QFETCH(int, score);
    THintFinder finder;
    finder.SetBudget(kAmpleBudget);
    const THint hint = HintOf(finder, *TBoard::FromString(grid.toStdString()));
    QCOMPARE(hint.Column, column);
    QCOMPARE(hint.Value, value);
    QCOMPARE(hint.Score, score);
    QVERIFY(!finder.Busy());
  }

  // Without time for perfect play, the machine's choice at "Expert" for the
  // side to move, red as well as yellow, and a searched one on the empty
  // grid, where the machine itself would open at random.
  void machineChoiceWithoutTime_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<int>("column");
    QTest::newRow("yellow to move") << "000000000000000000000000110120021112121222"
                                    << MachineColumn("000000000000000000000000110120021112121222");
    QTest::newRow("red wins at 0, yellow threatens 4")
        << "000000000000000000020021001001220200111221" << 0;
    QTest::newRow("empty grid") << QString(42, u'0') << 3;
  }
  void machineChoiceWithoutTime() {
    QFETCH(QString, grid);
    QFETCH(int, column);
    THintFinder finder;
    finder.SetBudget(0ms);
    const THint hint = HintOf(finder, *TBoard::FromString(grid.toStdString()));
    QCOMPARE(hint.Column, column);
    QCOMPARE(hint.Value, TValue::Estimate);
  }

  // A request dropped by a later one or by Cancel never answers, whether
  // its answer was already on its way or its search still running; the
  // search then stops, so the next request is answered at once.
  void droppedRequestsNeverAnswer_data() {
    QTest::addColumn<bool>("searching");
    QTest::addColumn<bool>("cancel");
    QTest::newRow("answered, then asked again") << false << false;
    QTest::newRow("answered, then cancelled") << false << true;
    QTest::newRow("searching, then asked again") << true << false;
    QTest::newRow("searching, then cancelled") << true << true;
  }
  void droppedRequestsNeverAnswer() {
    QFETCH(bool, searching);
    QFETCH(bool, cancel);
    THintFinder finder;
    QSignalSpy found(&finder, &THintFinder::Found);
    // Without time, the estimate is ready within the pause below.
    finder.SetBudget(searching ? kAmpleBudget : 0ms);
    finder.Find(searching ? kEmpty : kRedWinsNow, GameTable());
    std::this_thread::sleep_for(300ms);
    if (cancel) {
      finder.Cancel();
      QVERIFY(!finder.Busy());
      QTest::qWait(300);
      QCOMPARE(found.count(), 0);
    }
    finder.SetBudget(kAmpleBudget);
    finder.Find(kRedWinsNow, GameTable());
    QVERIFY(finder.Busy());
    QVERIFY(found.wait(30000));
    QTest::qWait(300);
    QCOMPARE(found.count(), 1);
    QCOMPARE(found.at(0).at(0).value<THint>(), (THint{4, TValue::Win, 14}));
  }

  // The window may close while a hint is under way or about to be shown.
  void finderGoesAnyTime() {
    for (const bool searching : {true, false}) {
      auto finder = std::make_unique<THintFinder>();
      int answers = 0;
      QObject receiver;
      connect(finder.get(), &THintFinder::Found, &receiver, [&answers] { ++answers; });
      finder->SetBudget(searching ? kAmpleBudget : 0ms);
      finder->Find(searching ? kEmpty : kRedWinsNow, GameTable());
      std::this_thread::sleep_for(300ms);
      finder.reset();
      QTest::qWait(100);
      QCOMPARE(answers, 0);
    }
  }

 private:
  // The column the machine's search at "Expert" plays as yellow.
  static int MachineColumn(const char* grid) {
    const TBoard board = *TBoard::FromString(grid);
    TSearchState state;
    state.MaxDepth = 10;
    TRandomSource random(1);
    const auto pieces = std::count_if(board.Cells.begin(), board.Cells.end(),
                                      [](char cell) { return cell != kEmptyCell; });
    return ChooseMachineColumn(board, static_cast<int>(pieces) + 1, state, GameTable(), random);
  }
};

QTEST_GUILESS_MAIN(TestHintFinder)
#include "tst_HintFinder.moc"
