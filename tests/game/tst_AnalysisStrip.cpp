// The analysis and the record in the main window: A shows each open
// column's value over its target, renewed after a move (the old values
// dropped at once); nothing in a network game; Ctrl+C, Ctrl+V and Ctrl+Y
// act on the game outside the chat field and on the text inside it.
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <string>

#include "GameTestSupport.h"
#include "game/hint/Analysis.h"
#include "game/window/AnalysisControl.h"
#include "game/window/AnalysisStrip.h"
#include "solver/Solver.h"
#include "tests/support/WindowControls.h"

using namespace zerud;
using namespace zerud::test;
using namespace Qt::StringLiterals;

namespace {

constexpr int kAmpleMs = 60000;
// 20 pieces, no four, column 4 full: red to move, settled by the solver in
// well under a second.
const QString kMidGame = u"44444435356262711717"_s;

TAnalysisStrip& Strip(TFormMain& form) {
  return *form.findChild<TAnalysisStrip*>(u"AnalyseColonnes"_s);
}

QString Texts(TFormMain& form) {
  QStringList texts;
  for (const TAnalysisStrip::TFigure& figure : Strip(form).Figures()) texts << figure.Text;
  return texts.join(u' ');
}

// What the strip should show once every value of the game's grid is known.
QString Expected(const TFormMain& form) {
  std::string why;
  const std::optional<TSolverGrid> seen = ToSolverGrid(form.Game().Grid(), why);
  if (!seen) return {};
  TSolver solver(TSolverOptions{.Threads = 1, .TableMib = 8, .Book = nullptr});
  const TColumnScores scores = solver.ScoreColumns(seen->Position);
  QStringList texts;
  for (const std::optional<int>& score : scores)
    texts << (score ? TAnalysisStrip::ValueText(ColumnValue(*score, seen->Position.Pieces()))
                    : QString());
  return texts.join(u' ');
}

}  // namespace

class TestAnalysisStrip : public QObject {
  Q_OBJECT

 private slots:
  void valuesOverTheColumns() {
    TWindow form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    StartTwoHumanGame(form);
    form.Game().PasteRecord(kMidGame);
    QCOMPARE(Texts(form), u"      "_s);  // off: nothing
    QTest::keyClick(&form, Qt::Key_A);
    QVERIFY(form.Analysis().On());
    QTRY_COMPARE_WITH_TIMEOUT(Texts(form), Expected(form), kAmpleMs);
    // Column 4 is full: nothing over it. The best columns are marked, in
    // the colour of their value.
    const TAnalysisStrip::TFigures before = Strip(form).Figures();
    QVERIFY(before[3].Text.isEmpty());
    bool marked = false;
    for (const TAnalysisStrip::TFigure& figure : before) {
      marked = marked || figure.Best;
      if (figure.Text.startsWith(u'+')) QCOMPARE(figure.Colour, TAnalysisStrip::kWin);
      if (figure.Text.startsWith(u'\u2212')) QCOMPARE(figure.Colour, TAnalysisStrip::kLoss);
      if (figure.Text == u"0"_s) QCOMPARE(figure.Colour, TAnalysisStrip::kDraw);
    }
    QVERIFY(marked);
    // A move: as soon as its piece has fallen, the old values are gone;
    // the new grid's show as they come.
    form.Colonne0Click(0);
    const QStringList shown = Texts(form).split(u' ');
    const QStringList expected = Expected(form).split(u' ');
    for (int column = 0; column < kColumns; ++column)
      QVERIFY2(shown[column] == expected[column] || shown[column] == u"\u2026"_s,
               qPrintable(Texts(form) + u" for "_s + Expected(form)));
    QTRY_COMPARE_WITH_TIMEOUT(Texts(form), Expected(form), kAmpleMs);
    // Undo and redo bring the values of their grids.
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(Strip(form).Figures(), before, kAmpleMs);
    QTest::keyClick(&form, Qt::Key_Y, Qt::ControlModifier);
    QTRY_COMPARE_WITH_TIMEOUT(Texts(form), Expected(form), kAmpleMs);
    QCOMPARE(form.Game().Record(), kMidGame + u'1');
    // Off again: nothing.
    QTest::keyClick(&form, Qt::Key_A);
    QCOMPARE(Texts(form), u"      "_s);
  }

  // Over a network game the peer would play against perfect play.
  void noAnalysisInANetworkGame() {
    TWindow form;
    TRecordingLink link;
    form.Game().SetNetworkLink(&link);
    form.Analysis().SetOn(true);
    form.Game().ConnectionOpening();
    form.Game().PeerConnected();
    QVERIFY(!form.Analysis().Offered());
    form.bnStartClick();
    QTest::qWait(50);
    QCOMPARE(Texts(form), u"      "_s);
  }

  // Outside the chat field the keys copy, paste and redo the game; inside
  // it they edit its text.
  void recordKeysOutsideAndInsideTheChat() {
    TWindow form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    StartTwoHumanGame(form);
    form.Colonne0Click(3);
    form.Colonne0Click(3);
    form.Colonne0Click(4);
    QTest::keyClick(&form, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), u"445"_s);
    QApplication::clipboard()->setText(u"12345\n"_s);
    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
    QTRY_COMPARE(form.Game().Record(), u"12345"_s);
    QCOMPARE(LogLines(form).last(), u"Partie collée : 12345"_s);
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QTRY_COMPARE(form.Game().Record(), u"12345"_s);
    QApplication::clipboard()->setText(u"1239"_s);
    QTest::keyClick(&form, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(LogLines(form).last(),
             u"Partie refusée : « 9 » n'est pas une colonne de 1 à 7 (coup n° 4)."_s);
    QCOMPARE(form.Game().Record(), u"12345"_s);
    test::Control<TChatField>(form, "EditChat")->setFocus();
    test::Control<TChatField>(form, "EditChat")->clear();
    QTest::keyClick(test::Control<TChatField>(form, "EditChat"), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(test::Control<TChatField>(form, "EditChat")->text(), u"1239"_s);
    QCOMPARE(form.Game().Record(), u"12345"_s);
  }
};

QTEST_MAIN(TestAnalysisStrip)
#include "tst_AnalysisStrip.moc"
