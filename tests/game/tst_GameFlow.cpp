// The game in the real main window: starts and the clearing of the board,
// the machine's pause and search, the trace, the mode boxes, the mouse and the
// keyboard, and the peer's messages held back during an animation. Whole games are played
// without a window in tst_Game.cpp.
#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <functional>

#include "GameTestSupport.h"
#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/board/BoardView.h"
#include "game/board/LayeredImage.h"
#include "sound/SoundEffects.h"
#include "tests/support/WindowControls.h"

using namespace zerud;
using namespace zerud::test;
using namespace Qt::StringLiterals;

namespace {

// Plays the columns of `moves` (one digit each) by clicks on the targets.
void Click(TFormMain& form, const QString& moves) {
  for (QChar move : moves) {
    TColumnTarget* target = test::ColumnControl<TColumnTarget>(form, move.digitValue());
    // What the peer sent is played from the event loop.
    QTRY_VERIFY2(target->isEnabled(), qPrintable(u"column %1 disabled"_s.arg(move)));
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(35, 35));
  }
}

// A network game as the client of a connected peer.
void JoinAsClient(TFormMain& form, TRecordingLink& link) {
  form.GameLink()->SetNetworkLink(&link);
  form.GameLink()->SetServerRole(false);
  form.GameLink()->EnterNetworkMode();
  form.GameLink()->StopMoves();
}

// The marked slots: 1 for the first piece played.
QList<int> MarkedSlots(TFormMain& form) {
  QList<int> marked;
  for (int k = 1; k <= 42; ++k)
    if (form.BoardView().PieceSlot(k).Marked) marked << k;
  return marked;
}

// The colours of slots 1..count, by the centre of each piece's picture: 'r'
// red, 'y' yellow, '?' neither.
QString Colours(TFormMain& form, int count) {
  QString colours;
  for (int k = 1; k <= count; ++k) {
    const QRgb c = form.BoardView().PieceSlot(k).Layer->Image().pixel(35, 35);
    colours += qRed(c) < 150 ? u'?' : qGreen(c) < 130 ? u'r' : qGreen(c) > 150 ? u'y' : u'?';
  }
  return colours;
}

// Runs `action` once, at the first frame of the next animation; `ran` tells
// whether it did.
void OnceDuringTheNextMove(TFormMain& form, bool& ran, std::function<void()> action) {
  ran = false;
  auto hook = std::make_shared<QMetaObject::Connection>();
  *hook = QObject::connect(form.BoardView().Image(), &TLayeredImage::LayerChanged, &form,
                           [hook, &ran, action] {
                             QObject::disconnect(*hook);
                             ran = true;
                             action();
                           });
}

}  // namespace

class TestGameFlow : public QObject {
  Q_OBJECT

 private slots:
  void newGameClearsTheBoard() {
    TWindow form;
    StartTwoHumanGame(form);
    Click(form, u"0101010"_s);
    // The end marked the four red pieces and faded the grid out.
    QCOMPARE(MarkedSlots(form), (QList<int>{1, 3, 5, 7}));
    QCOMPARE(form.BoardView().GridLayer()->MasterAlpha(), 0);
    // An hour later by the clock: a clock not started again would show it.
    QDateTime now = QDateTime::currentDateTime().addSecs(3600);
    test::Control<TTimeCounter>(form, "Chrono")->SetClock([&now] { return now; });

    QElapsedTimer timer;
    timer.start();
    form.bnStartClick();
    // The pieces fell away, then 200 ms passed.
    QVERIFY(timer.elapsed() >= 200);
    QCOMPARE(form.GridText(), kEmptyGrid);
    QCOMPARE(Turn(form), u"move 1 player 1 playing 1111111 counting"_s);
    QCOMPARE(LogLines(form), (QStringList{kStart, kHumanBegins, QString()}));
    QCOMPARE(form.BoardView().GridLayer()->MasterAlpha(), 248);
    QVERIFY(MarkedSlots(form).isEmpty());
    for (int k = 1; k <= 42; ++k)
      QCOMPARE(form.BoardView().PieceSlot(k).Layer->Location().Top, -200.0);
    // The clock counts from zero again, and its label follows the ticks.
    now = now.addSecs(65);
    emit test::Control<TTimeCounter>(form, "Chrono")->OnTimer();
    QCOMPARE(test::Control<QLabel>(form, "LabelChrono")->text(), u"00:01:05"_s);

    // A start with no piece played begins at once, without clearing.
    timer.restart();
    form.bnStartClick();
    QVERIFY(timer.elapsed() < 200);
  }

  void machineBeginsWithARandomColumn() {
    TWindow form(TProgramFolder::kBoth, QByteArray(""));
    QSet<int> columns;
    for (unsigned seed = 0; seed < 24; ++seed) {
      form.SeedRandom(seed);
      form.bnStartClick();
      const QStringList lines = LogLines(form);
      if (form.Game().MoveNumber() == 1) {
        QCOMPARE(lines[1], kHumanBegins);
        continue;
      }
      const int column = lines.value(4).right(1).toInt();
      QCOMPARE(lines, (QStringList{kStart, u"Joueur \"MACHINE\" commence"_s, QString(), kThinking,
                                   MachineLine(column)}));
      columns.insert(column);
      // The machine is player 2 with the yellow pieces; the human moves next
      // as player 1, in red.
      QCOMPARE(form.GridText()[35 + column], u'2');
      QCOMPARE(Colours(form, 3), u"yry"_s);
      QCOMPARE(Turn(form), u"move 2 player 1 playing 1111111 counting"_s);
      const int clicked = (column + 1) % 7;
      Click(form, QString::number(clicked));
      QCOMPARE(LogLines(form)[5], HumanLine(1, clicked));
    }
    // An empty table would make a search play column 0 every time: the
    // opening column is drawn, not searched.
    QVERIFY2(columns.size() >= 3, qPrintable(QString::number(columns.size())));
  }

  void machineAnswersAfterAPauseAndNothingRunsMeanwhile() {
    TWindow form(TProgramFolder::kBoth, QByteArray(""));
    QVERIFY(StartWithHumanFirst(form));
    // Every frame of the falls lets other handlers run: they find every
    // target disabled, a second click and a new game do nothing.
    QElapsedTimer timer;
    timer.start();
    qint64 settled = -1;
    qint64 thinking = -1;
    int frames = 0;
    QString enabledDuringMove;
    connect(form.BoardView().Image(), &TLayeredImage::LayerChanged, &form, [&] {
      ++frames;
      enabledDuringMove += EnabledColumns(form);
      form.Colonne0Click(5);
      form.bnStartClick();
      if (thinking < 0) settled = timer.nsecsElapsed();
    });
    connect(test::Control<TMessageLog>(form, "MemoMessages")->model(),
            &QAbstractItemModel::rowsInserted, &form, [&] {
              if (thinking < 0 && LogLines(form).last() == kThinking)
                thinking = timer.nsecsElapsed();
            });
    form.Colonne0Click(3);
    disconnect(form.BoardView().Image(), &TLayeredImage::LayerChanged, &form, nullptr);
    QVERIFY(frames > 2);
    QCOMPARE(enabledDuringMove, QString(frames * 7, u'0'));
    // From the human's piece settling in its cell to the machine's first line.
    QVERIFY(settled > 0 && thinking > settled);
    QVERIFY2(thinking - settled >= 50'000'000, qPrintable(QString::number(thinking - settled)));
    QCOMPARE(LogLines(form).mid(3), (QStringList{HumanLine(1, 3), kThinking, MachineLine(0)}));
    QCOMPARE(form.GridText().right(7), u"2001000"_s);
    QCOMPARE(Turn(form), u"move 3 player 1 playing 1111111 counting"_s);
    QVERIFY(!form.MoveUnderWay());
  }

  void badPatternTableStopsTheMachine() {
    TShownErrors errors;
    TWindow form(TProgramFolder::kBoth, QByteArray("0|x\n"));
    QVERIFY(StartWithHumanFirst(form));
    form.Colonne0Click(3);
    QCOMPARE(errors.Texts(), QStringList{u"'x' n'est pas une valeur entière correcte"_s});
    QCOMPARE(LogLines(form).last(), kThinking);
    // No machine piece; only a new game goes on.
    QCOMPARE(form.GridText().right(7), u"0001000"_s);
    QCOMPARE(Turn(form), u"move 2 player 2 playing 0000000 counting"_s);
    QVERIFY(!form.MoveUnderWay());
    form.bnStartClick();
    QCOMPARE(LogLines(form)[0], kStart);
  }

  void traceAndClicksThatDoNothing() {
    TWindow form;
    StartTwoHumanGame(form);
    Click(form, u"00"_s);
    // The trace after each click: six rows of seven cells, top row first, and
    // a blank line.
    const QString empty = u"0000000\n"_s;
    QCOMPARE(test::Control<QPlainTextEdit>(form, "Memo1")->toPlainText() + u'\n',
             empty.repeated(5) + u"1000000\n\n"_s + empty.repeated(4) + u"2000000\n1000000\n\n"_s);
    Click(form, u"0000"_s);
    QVERIFY(!test::ColumnControl<TColumnTarget>(form, 0)->isEnabled());
    QStringList lines = LogLines(form);
    form.Colonne0Click(0);
    QCOMPARE(LogLines(form), lines);
    QCOMPARE(form.Game().MoveNumber(), 7);

    Click(form, u"1213141"_s);
    lines = LogLines(form);
    const QString grid = form.GridText();
    const int traceLines = test::Control<QPlainTextEdit>(form, "Memo1")->blockCount();
    // Clicks reaching the handler all the same are inert, but traced.
    for (int c = 0; c < 7; ++c) form.Colonne0Click(c);
    QCOMPARE(LogLines(form), lines);
    QCOMPARE(form.GridText(), grid);
    QCOMPARE(Turn(form), u"move 14 player 2 over 0000000 stopped"_s);
    QCOMPARE(test::Control<QPlainTextEdit>(form, "Memo1")->blockCount(), traceLines + 7 * 7);
  }

  void modeChangeFreezesTheGame() {
    TWindow form;
    StartTwoHumanGame(form);
    Click(form, u"3"_s);
    QCOMPARE(EnabledColumns(form), u"1111111"_s);
    form.bnOptionsClick();
    QTest::mouseClick(test::Control<QRadioButton>(form, "cbMachine"), Qt::LeftButton, {},
                      QPoint(5, 12));
    QVERIFY(form.Game().SelectedMode() == TPlayMode::Machine);
    form.bnFermerClick();
    QCOMPARE(EnabledColumns(form), u"0000000"_s);
    // A click on a disabled target is not delivered; a new game ends the freeze.
    const QString grid = form.GridText();
    QTest::mouseClick(test::ColumnControl<TColumnTarget>(form, 4), Qt::LeftButton, {},
                      QPoint(35, 35));
    QCOMPARE(form.GridText(), grid);
    QVERIFY(StartWithHumanFirst(form));
    QCOMPARE(EnabledColumns(form), u"1111111"_s);
  }

  void nextPieceFollowsTheMouse() {
    TWindow form;
    StartTwoHumanGame(form);
    const auto moveOver = [&form](int column) {
      QMouseEvent move(
          QEvent::MouseMove, QPointF(30, 30),
          test::ColumnControl<TColumnTarget>(form, column)->mapToGlobal(QPointF(30, 30)),
          Qt::NoButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(test::ColumnControl<TColumnTarget>(form, column), &move);
    };
    moveOver(2);
    QCOMPARE(form.BoardView().PieceSlot(1).Layer->Location().Left, 406.0);
    QCOMPARE(form.BoardView().PieceSlot(1).Layer->Location().Top, 69.0);
    Click(form, u"2"_s);
    moveOver(5);
    QCOMPARE(form.BoardView().PieceSlot(2).Layer->Location().Left, 616.0);
    QCOMPARE(form.BoardView().PieceSlot(1).Layer->Location().Top, 149.0 + 5 * 70);
    // After the end the mouse moves nothing.
    Click(form, u"0101010"_s);
    QVERIFY(form.Game().GameOver());
    const TFloatRect parked =
        form.BoardView().PieceSlot(form.Game().MoveNumber()).Layer->Location();
    test::ColumnControl<TColumnTarget>(form, 4)->setEnabled(true);
    moveOver(4);
    QCOMPARE(form.BoardView().PieceSlot(form.Game().MoveNumber()).Layer->Location(), parked);
  }

  // Keys play as clicks on the column targets, only where a click would and
  // never while the player types or sets the options.
  void keysPlayTheColumns() {
    struct TKeyCase {
      const char* name;
      std::function<void(TWindow&)> prepare;
      QList<QPair<int, Qt::KeyboardModifiers>> keys;
      QString bottomRows;  // the grid's two bottom rows afterwards
      QString chat = {};   // what the chat field holds afterwards, when it has the keys
    };
    const auto inGame = [](TWindow& form) { StartTwoHumanGame(form); };
    const Qt::KeyboardModifiers none = Qt::NoModifier;
    const TKeyCase cases[] = {
        {"top row",
         inGame,
         {{Qt::Key_1, none}, {Qt::Key_7, none}},
         u"0000000"
         "1000002"_s},
        {"keypad",
         inGame,
         {{Qt::Key_4, Qt::KeypadModifier}},
         u"0000000"
         "0001000"_s},
        {"marker from the middle",
         inGame,
         {{Qt::Key_Right, none}, {Qt::Key_Return, none}},
         u"0000000"
         "0000100"_s},
        {"marker stops at the edge",
         inGame,
         {{Qt::Key_Left, none},
          {Qt::Key_Left, none},
          {Qt::Key_Left, none},
          {Qt::Key_Left, none},
          {Qt::Key_Space, none},
          {Qt::Key_Down, none}},
         u"2000000"
         "1000000"_s},
        {"digit then marker",
         inGame,
         {{Qt::Key_2, none}, {Qt::Key_Right, none}, {Qt::Key_Enter, Qt::KeypadModifier}},
         u"0000000"
         "0120000"_s},
        {"with Ctrl",
         inGame,
         {{Qt::Key_3, Qt::ControlModifier}},
         u"0000000"
         "0000000"_s},
        {"no game under way",
         [](TWindow&) {},
         {{Qt::Key_3, none}},
         u"0000000"
         "0000000"_s},
        {"typing a chat line",
         [](TWindow& form) {
           StartTwoHumanGame(form);
           test::Control<TChatField>(form, "EditChat")->setFocus();
         },
         {{Qt::Key_3, none}},
         u"0000000"
         "0000000"_s,
         u"3"_s},
        {"Return in the chat field never plays",
         [](TWindow& form) {
           StartTwoHumanGame(form);
           QTest::keyClick(&form, Qt::Key_Right);
           test::Control<TChatField>(form, "EditChat")->setFocus();
         },
         {{Qt::Key_Return, none}, {Qt::Key_Return, none}},
         u"0000000"
         "0000000"_s,
         u"..."_s},
        {"a click on the board gives the keys back",
         [](TWindow& form) {
           StartTwoHumanGame(form);
           test::Control<TChatField>(form, "EditChat")->setFocus();
           QTest::mouseClick(form.img(), Qt::LeftButton, {}, QPoint(500, 400));
         },
         {{Qt::Key_4, none}},
         u"0000000"
         "0001000"_s},
        {"Escape in the chat field gives the keys back",
         [](TWindow& form) {
           StartTwoHumanGame(form);
           test::Control<TChatField>(form, "EditChat")->setFocus();
         },
         {{Qt::Key_Escape, none}, {Qt::Key_3, none}},
         u"0000000"
         "0010000"_s},
        {"options panel open",
         [](TWindow& form) {
           StartTwoHumanGame(form);
           form.bnOptionsClick();
         },
         {{Qt::Key_3, none}, {Qt::Key_Return, none}},
         u"0000000"
         "0000000"_s},
    };
    for (const TKeyCase& c : cases) {
      TWindow form;
      form.activateWindow();
      QVERIFY(QTest::qWaitForWindowActive(&form));
      c.prepare(form);
      for (const auto& [key, modifiers] : c.keys) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &form,
                        Qt::Key(key), modifiers);
        QTRY_VERIFY(!form.MoveUnderWay());
      }
      QCOMPARE(form.GridText().right(14), c.bottomRows);
      // The chat field had the keys instead.
      QCOMPARE(test::Control<TChatField>(form, "EditChat")->hasFocus(), !c.chat.isEmpty());
      if (!c.chat.isEmpty())
        QVERIFY(test::Control<TChatField>(form, "EditChat")->text().endsWith(c.chat));
    }
  }

  // H while a piece falls waits, as undo does, and advises the player to
  // move once the piece has landed: red wins in column 1.
  void hintAskedDuringAFallComesAfterIt() {
    TWindow form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    test::Control<TChatField>(form, "EditChat")->clearFocus();
    StartTwoHumanGame(form);
    Click(form, u"10101"_s);
    QTRY_VERIFY(!form.MoveUnderWay());
    bool ran = false;
    QString during;
    OnceDuringTheNextMove(form, ran, [&form, &during] {
      QTest::keyClick(&form, Qt::Key_H);
      during = LogLines(form).last();
    });
    Click(form, u"0"_s);
    QVERIFY(ran);
    QCOMPARE(during, u"[HUMAIN-2] : Je joue la colonne n° 0"_s);
    QTRY_COMPARE_WITH_TIMEOUT(LogLines(form).last(),
                              u"[CONSEIL] : Jouez la colonne n° 1 (gagnant)"_s, 10000);
  }

  // The board's context menu greys what cannot act; its keys act as its
  // entries do, and the chat field keeps the keys it edits with.
  void boardMenuAndItsKeys() {
    TWindow form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    auto menuEnabled = [&form] {
      QMenu* menu = form.findChild<QMenu*>(u"MenuPlateau"_s);
      emit menu->aboutToShow();
      QString enabled;
      for (QAction* action : menu->actions()) enabled += action->isEnabled() ? u'1' : u'0';
      emit menu->aboutToHide();
      return enabled;
    };
    // New game, undo, redo, copy, paste, hint, analysis, help, sound, high contrast.
    QCOMPARE(menuEnabled(), u"1000101111"_s);
    QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
    QTRY_COMPARE(LogLines(form).value(0), kStart);
    StartTwoHumanGame(form);
    Click(form, u"34"_s);
    QCOMPARE(menuEnabled(), u"1101111111"_s);
    QTest::keyClick(&form, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_Backspace);
    QTRY_COMPARE(form.GridText(), kEmptyGrid);
    QCOMPARE(LogLines(form).mid(5),
             (QStringList{u"Coup annulé : colonne n° 4"_s, u"Coup annulé : colonne n° 3"_s}));
    // In the chat field Backspace edits the text.
    Click(form, u"3"_s);
    test::Control<TChatField>(form, "EditChat")->setFocus();
    QTest::keyClick(test::Control<TChatField>(form, "EditChat"), Qt::Key_Backspace);
    QCOMPARE(form.GridText().right(7), u"0001000"_s);
    // H: the advised column, where Return plays. Yellow wins at once in
    // column 1.
    test::Control<TChatField>(form, "EditChat")->clearFocus();
    Click(form, u"101010"_s);
    QTest::keyClick(&form, Qt::Key_H);
    QTRY_VERIFY_WITH_TIMEOUT(
        LogLines(form).last().startsWith(u"[CONSEIL] : Jouez la colonne n° 1"_s), 10000);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(form.Game().GameOver());
    QCOMPARE(form.GridText().left(21).right(7), u"0200000"_s);
    // The options panel covers the board: no new game, no undo, no paste,
    // no hint.
    form.bnOptionsClick();
    QCOMPARE(menuEnabled(), u"0001001111"_s);
    QTest::keyClick(&form, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(form.Game().GameOver());
    // F1: the help, as "Aide" opens it (here with a PDF viewer).
    QStringList opened;
    form.SetHelpPlatform([] { return true; },
                         [&opened](const QString&, const QString& file) { opened << file; });
    QTest::keyClick(&form, Qt::Key_F1);
    QCOMPARE(opened, QStringList{form.Path() + u"Aide.pdf"_s});
    // M switches the sound off, and the menu's "Son" shows it; in the chat
    // field M is a letter.
    QTest::keyClick(&form, Qt::Key_M);
    QVERIFY(!form.Sounds().On());
    QMenu* menu = form.findChild<QMenu*>(u"MenuPlateau"_s);
    emit menu->aboutToShow();
    QAction* son = menu->actions().at(8);
    QCOMPARE(son->text(), u"Son"_s);
    QVERIFY(!son->isChecked());
    son->trigger();
    QVERIFY(form.Sounds().On());
    form.bnOptionsClick();
    test::Control<TChatField>(form, "EditChat")->setFocus();
    QTest::keyClick(test::Control<TChatField>(form, "EditChat"), Qt::Key_M);
    QVERIFY(form.Sounds().On());
    QVERIFY(test::Control<TChatField>(form, "EditChat")->text().contains(u'm'));
  }

  // A peer's start or move behind another window asks for the player's
  // attention; in front, it does not.
  void peerMovesBehindAnotherWindowAskForAttention() {
    TWindow form;
    int requests = 0;
    form.SetAttentionRequest([&requests] { ++requests; });
    TRecordingLink link;
    JoinAsClient(form, link);
    TGameLink& game = *form.GameLink();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    game.StartPeerGame();
    QCOMPARE(requests, 0);

    QWidget other;
    other.show();
    other.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    game.PlayPeerMove(u"3"_s);
    QTRY_VERIFY(!form.MoveUnderWay());
    game.StartPeerGame();
    QCOMPARE(requests, 2);
  }

  void peerMessagesDuringAMoveWait() {
    TWindow form;
    TRecordingLink link;
    JoinAsClient(form, link);
    form.bnStartClick();
    // The peer's move and a new game arrive while our piece falls: they are
    // played once the move is over, in order.
    bool ran = false;
    OnceDuringTheNextMove(form, ran, [&form] {
      form.GameLink()->PlayPeerMove(u"5"_s);
      form.GameLink()->StartPeerGame();
    });
    Click(form, u"3"_s);
    QVERIFY(ran);
    QCOMPARE(link.Sent.last(), u"move 3"_s);
    QTRY_COMPARE(LogLines(form).value(2), kPeerBegins);
    QCOMPARE(form.GridText(), kEmptyGrid);
    QCOMPARE(form.Game().MoveNumber(), 1);

    // A peer flooding us during a fall: only so many of its messages are
    // kept, each bad column one line of the log, never a box.
    TShownErrors errors;
    form.GameLink()->PlayPeerMove(u"3"_s);
    QTRY_VERIFY(!form.PeerMessagesWaiting() && !form.MoveUnderWay());
    OnceDuringTheNextMove(form, ran, [&form] {
      for (int i = 0; i < 1000; ++i) form.GameLink()->PlayPeerMove(u"x"_s);
    });
    Click(form, u"3"_s);
    QVERIFY(ran);
    const QString bad = u"'x' n'est pas une valeur entière correcte"_s;
    QTRY_COMPARE(LogLines(form).count(bad), qsizetype(TFormMain::kDeferredLimit));
    QTest::qWait(20);
    QCOMPARE(LogLines(form).count(bad), qsizetype(TFormMain::kDeferredLimit));
    QVERIFY(errors.Texts().isEmpty());

    // A game end sent meanwhile waits its turn too: it comes after the new game.
    form.GameLink()->PlayPeerMove(u"2"_s);
    QTRY_VERIFY(!form.PeerMessagesWaiting() && !form.MoveUnderWay());
    OnceDuringTheNextMove(form, ran, [&form] { form.GameLink()->StartPeerGame(); });
    Click(form, u"3"_s);
    QVERIFY(ran);
    form.GameLink()->EndPeerGame();
    QTRY_COMPARE(form.Game().MoveNumber(), 1);
    QVERIFY(form.Game().GameOver());
  }
};

QTEST_MAIN(TestGameFlow)
#include "tst_GameFlow.moc"
