// The analysis: each column's value for the side to move, off the window's
// thread, in moves from now on (checked on grids whose outcome can be seen,
// and against the solver's scores), for yellow too when the machine began;
// a newer request drops the one under way.
#include <QSignalSpy>
#include <QTest>
#include <optional>
#include <string>

#include "game/hint/Analysis.h"
#include "game/model/GameRecord.h"
#include "solver/Solver.h"

using namespace zerud;
using namespace Qt::StringLiterals;

namespace {

// Long enough for the grids below on a slow machine.
constexpr int kAmpleMs = 60000;

TBoard FromRecord(const QString& text) {
  const TRecord record = ReadRecord(text);
  TBoard grid;
  int player = 1;
  for (const int column : record.Columns) {
    grid.Set(LandingRow(grid, column), column, PlayerCell(player));
    player = OtherPlayer(player);
  }
  return grid;
}

// "+1 −2 0 x ..." for columns 1 to 7 ("x" full, "?" not known).
QString ValuesText(const TAnalysis& analysis, const TBoard& grid) {
  QStringList fields;
  for (int column = 0; column < kColumns; ++column) {
    const std::optional<int> value = analysis.Values[column];
    if (LandingRow(grid, column) == -1) {
      fields << u"x"_s;
    } else if (!value) {
      fields << u"?"_s;
    } else {
      fields << (*value > 0 ? u"+%1"_s.arg(*value) : QString::number(*value));
    }
  }
  return fields.join(u' ');
}

// The last analysis of `grid` once it is complete.
std::optional<TAnalysis> Complete(TAnalyser& analyser, const TBoard& grid, int toMove) {
  QSignalSpy spy(&analyser, &TAnalyser::Analysed);
  analyser.Analyse(grid, toMove);
  for (;;) {
    if (spy.isEmpty() && !spy.wait(kAmpleMs)) return std::nullopt;
    const auto analysis = spy.takeFirst().at(0).value<TAnalysis>();
    if (analysis.Complete) return analysis;
  }
}

}  // namespace

class TestAnalysis : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { qRegisterMetaType<TAnalysis>(); }

  // Records of games whose values can be told by hand (red to move unless
  // the record is odd); the other columns are left to the solver test.
  void valuesInMovesFromNow_data() {
    QTest::addColumn<QString>("record");
    QTest::addColumn<int>("column");  // 1 .. 7
    QTest::addColumn<int>("value");
    QTest::addColumn<bool>("best");
    // Columns 1 and 7 filled first, red at the bottom of column 1, so that
    // the search is short; then red and yellow twice in columns 3 and 4.
    // Red's piece in column 2 makes four on the bottom row at once; in
    // column 5 it makes two fours yellow cannot both stop.
    QTest::newRow("a four now") << u"1771177117713344"_s << 2 << 1 << true;
    QTest::newRow("a four with the next piece") << u"1771177117713344"_s << 5 << 2 << false;
    // Yellow has three open at both ends: red stops one, yellow plays the other.
    QTest::newRow("lost to the other side's first piece") << u"131475"_s << 2 << -1 << true;
    QTest::newRow("lost anywhere") << u"131475"_s << 4 << -1 << true;
    // Yellow to move, the same three open for red: yellow is lost.
    QTest::newRow("yellow loses to red's first piece") << u"31475"_s << 2 << -1 << true;
  }

  void valuesInMovesFromNow() {
    QFETCH(QString, record);
    QFETCH(int, column);
    QFETCH(int, value);
    QFETCH(bool, best);
    const TBoard grid = FromRecord(record);
    TAnalyser analyser;
    const std::optional<TAnalysis> analysis =
        Complete(analyser, grid, record.size() % 2 == 0 ? 1 : 2);
    QVERIFY(analysis);
    QCOMPARE(analysis->Values[column - 1], value);
    int top = -1000;
    for (const auto& v : analysis->Values)
      if (v) top = std::max(top, ValueRank(*v));
    QCOMPARE(ValueRank(value) == top, best);
  }

  // On grids from the hint's tests, every column against the solver's score
  // converted, and the draws as draws.
  void valuesAgreeWithTheSolver_data() {
    QTest::addColumn<QString>("grid");
    QTest::addColumn<QString>("values");
    // The solver's scores in the row's name.
    QTest::newRow("(-14 3 -14 -14 -14 -14 -14)")
        << u"000000000000000000020101002010201102022112"_s << u"−1 +12 −1 −1 −1 −1 −1"_s;
    QTest::newRow("(4 9 14 10 13 9 4)")
        << u"000000000000000000000002021200212110121121"_s << u"+11 +6 +1 +5 +2 +6 +11"_s;
    QTest::newRow("(-9 -4 -1 -3 -10 -9 -10)")
        << u"000000000000000000002100000120200121112221"_s << u"−6 −11 −14 −12 −5 −6 −5"_s;
    QTest::newRow("(0 0 -11 -1 0 -10 0)")
        << u"000000000000000000000120000012001212112221"_s << u"0 0 −4 −14 0 −5 0"_s;
  }

  void valuesAgreeWithTheSolver() {
    QFETCH(QString, grid);
    QFETCH(QString, values);
    const TBoard board = *TBoard::FromString(grid.toStdString());
    std::string why;
    const std::optional<TSolverGrid> seen = ToSolverGrid(board, why);
    QVERIFY(seen);
    TSolver solver(TSolverOptions{.Threads = 1, .TableMib = 8, .Book = nullptr});
    const TColumnScores scores = solver.ScoreColumns(seen->Position);
    TAnalysis expected;
    for (int column = 0; column < kColumns; ++column)
      if (scores[column])
        expected.Values[column] = ColumnValue(*scores[column], seen->Position.Pieces());
    QCOMPARE(ValuesText(expected, board), QString(values).replace(u"−"_s, u"-"_s));
    TAnalyser analyser;
    const std::optional<TAnalysis> analysis = Complete(analyser, board, seen->PlayerToMove);
    QVERIFY(analysis);
    QCOMPARE(ValuesText(*analysis, board), ValuesText(expected, board));
  }

  // As many pieces each, yellow to move (the machine began): the values are
  // those of the same grid with the colours exchanged and red to move.
  void yellowToMoveAfterTheMachineBegan() {
    const TBoard grid = FromRecord(u"44444435356262711717"_s);
    TAnalyser analyser;
    const std::optional<TAnalysis> yellow = Complete(analyser, SwapColours(grid), 2);
    const std::optional<TAnalysis> red = Complete(analyser, grid, 1);
    QVERIFY(yellow && red);
    QCOMPARE(yellow->Values, red->Values);
  }

  // A grid with a four, or full, has nothing to value.
  void finishedGridsHaveNoValues() {
    TAnalyser analyser;
    for (const QString& record : {u"1212121"_s, u"656173566152215676422337377473141445425321"_s}) {
      const std::optional<TAnalysis> analysis = Complete(analyser, FromRecord(record), 1);
      QVERIFY(analysis);
      QCOMPARE(analysis->Values, TAnalysis().Values);
    }
  }

  // A move made while the values are searched: the new grid's values come,
  // none of the old one's; a cancelled request never answers.
  void aNewRequestDropsTheOneUnderWay() {
    TAnalyser analyser;
    QSignalSpy spy(&analyser, &TAnalyser::Analysed);
    // A grid of 9 pieces, beyond the opening book: its middle column alone
    // takes a good part of a second. Should a fast machine value it within
    // the wait, those values are its own: only later ones are checked.
    analyser.Analyse(*TBoard::FromString("000000000010000002000000100000010002021021"), 2);
    QTest::qWait(50);
    spy.clear();
    const TBoard now = FromRecord(u"112233"_s);
    analyser.Analyse(now, 1);
    QVERIFY(spy.wait(kAmpleMs));
    QTRY_VERIFY_WITH_TIMEOUT(spy.last().at(0).value<TAnalysis>().Complete, kAmpleMs);
    for (const QList<QVariant>& signal : spy)
      QVERIFY(!signal.at(0).value<TAnalysis>().Values[3] ||
              *signal.at(0).value<TAnalysis>().Values[3] == 1);
    spy.clear();
    analyser.Analyse(FromRecord(u"44"_s), 1);
    analyser.Cancel();
    QVERIFY(!spy.wait(300));
  }
};

QTEST_GUILESS_MAIN(TestAnalysis)
#include "tst_Analysis.moc"
