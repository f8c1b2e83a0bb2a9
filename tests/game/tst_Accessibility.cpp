// What a screen reader is told of the main window: the names it reads, the
// column buttons it presses, the grid's cells, the announcements; and the
// high-contrast style switched from the board's menu.
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QSignalSpy>

#include "GameTestSupport.h"
#include "assets/Pictures.h"
#include "controls/ButtonComps.h"
#include "game/board/BoardView.h"
#include "game/board/LayeredImage.h"
#include "game/model/GameTexts.h"
#include "game/window/Accessibility.h"
#include "game/window/Announcer.h"
#include "game/window/FocusRing.h"
#include "game/window/HighContrast.h"
#include "tests/support/WindowControls.h"

using namespace Qt::StringLiterals;

namespace zerud::test {
namespace {

QAccessibleInterface* Accessible(QObject* object) {
  return QAccessible::queryAccessibleInterface(object);
}

// The board's child of that role.
QAccessibleInterface* BoardPart(TFormMain& form, QAccessible::Role role) {
  QAccessibleInterface* board = Accessible(form.img());
  for (int i = 0; i < board->childCount(); ++i)
    if (board->child(i)->role() == role) return board->child(i);
  return nullptr;
}

void Press(QAccessibleInterface* button) {
  button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
}

int CountColour(const QImage& image, QRgb colour) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) == colour;
  return count;
}

QString Heard(TFormMain& form) {
  return BoardPart(form, QAccessible::StatusBar)->text(QAccessible::Name);
}

}  // namespace

class TestAccessibility : public QObject {
  Q_OBJECT

 private slots:
  void clockIsReadAsATime_data() {
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("said");
    QTest::newRow("start") << u"00:00:00"_s << u"0 seconde"_s;
    QTest::newRow("one second") << u"00:00:01"_s << u"1 seconde"_s;
    QTest::newRow("minutes") << u"00:12:05"_s << u"12 minutes 5 secondes"_s;
    QTest::newRow("hours") << u"01:00:30"_s << u"1 heure 30 secondes"_s;
    QTest::newRow("not a time") << u"12:05"_s << u"12:05"_s;
  }
  void clockIsReadAsATime() {
    QFETCH(QString, shown);
    QFETCH(QString, said);
    QCOMPARE(ClockSpeech(shown), said);
  }

  // What each step of a game is heard as; the steps of one pass of the
  // event loop in one announcement, never sooner than the last one's hold.
  void announcements_data() {
    QTest::addColumn<std::function<void(TAnnouncer&)>>("steps");
    QTest::addColumn<QString>("heard");
    using F = std::function<void(TAnnouncer&)>;
    QTest::newRow("start") << F([](TAnnouncer& a) {
      a.LogLine(texts::kGameStart, TSpeaker::None);
      a.LogLine(texts::kMachineBegins, TSpeaker::None);
      a.LogLine(QString(), TSpeaker::None);
      a.LogLine(texts::kMachineThinks, TSpeaker::Machine);
    }) << u"Début de la partie. La machine commence. La machine réfléchit"_s;
    QTest::newRow("moves, counted from 1") << F([](TAnnouncer& a) {
      a.Move(1, 3);
      a.Move(2, 0);
    }) << u"Rouge joue la colonne 4. Jaune joue la colonne 1"_s;
    QTest::newRow("the log's own move lines are not said twice") << F([](TAnnouncer& a) {
      a.LogLine(texts::kHumanMove.arg(1).arg(3), TSpeaker::Human1);
      a.Move(1, 3);
    }) << u"Rouge joue la colonne 4"_s;
    QTest::newRow("hint") << F([](TAnnouncer& a) {
      a.LogLine(u"[CONSEIL] : Jouez la colonne n° 2 (gagnant)"_s, TSpeaker::Hint);
    }) << u"Conseil : jouez la colonne 3 (gagnant)"_s;
    QTest::newRow("undo and end") << F([](TAnnouncer& a) {
      a.Undone(6);
      a.Result(texts::kResultRedWins);
    }) << u"Coup annulé dans la colonne 7. Fin de la partie : Les rouges gagnent !"_s;
    QTest::newRow("peer") << F([](TAnnouncer& a) {
      a.PeerChat(u"<b>salut</b>"_s + QString(400, u'x'));
      a.LogLine(texts::kPeerGone, TSpeaker::None);
    })
                          << u"Message de l'adversaire : <b>salut</b>"_s + QString(288, u'x') +
                                 u". "_s + texts::kPeerGone;
  }
  void announcements() {
    QFETCH(std::function<void(TAnnouncer&)>, steps);
    QFETCH(QString, heard);
    TAnnouncer announcer;
    QSignalSpy spy(&announcer, &TAnnouncer::Announced);
    steps(announcer);
    QVERIFY(spy.wait(1000));
    QCOMPARE(announcer.Text(), heard);
    QCOMPARE(spy.count(), 1);
    // The next one waits for the hold of this one.
    QElapsedTimer held;
    held.start();
    announcer.Move(1, 0);
    QVERIFY(spy.wait(1000));
    QVERIFY(held.elapsed() >= TAnnouncer::kHoldMs - 20);
  }

  // The buttons and bars are named, the options' bars with their values.
  void controlsAreNamed() {
    TWindow form;
    const std::pair<QWidget*, QString> named[] = {
        {test::Control<TImageButton>(form, "bnStart"), u"Nouvelle partie"_s},
        {test::Control<TImageButton>(form, "bnOptions"), u"Options"_s},
        {test::Control<TImageButton>(form, "bnReseau"), u"Réseau"_s},
        {test::Control<TImageButton>(form, "bnAide"), u"Aide"_s},
        {test::Control<QWidget>(form, "bsSkinButton1"), u"Quitter"_s},
        {test::Control<TSelButton>(form, "bnClear"), u"Effacer"_s},
        {test::Control<TSelButton>(form, "bnEnvoyerChat"), u"Envoyer"_s},
        {test::Control<TSelButton>(form, "bnFermer"), u"Fermer"_s},
        {test::ColumnControl<TColumnTarget>(form, 0), u"Colonne 1"_s},
        {test::ColumnControl<TColumnTarget>(form, 6), u"Colonne 7"_s},
    };
    for (const auto& [control, name] : named) {
      QCOMPARE(Accessible(control)->text(QAccessible::Name), name);
      QCOMPARE(Accessible(control)->role(), QAccessible::Button);
    }
    QCOMPARE(
        Accessible(test::Control<TImageButton>(form, "bnStart"))->text(QAccessible::Description),
        u"Commencer une nouvelle partie"_s);
    test::Control<QSlider>(form, "tbNiveau")->setValue(5);
    QCOMPARE(Accessible(test::Control<QSlider>(form, "tbNiveau"))->text(QAccessible::Name),
             u"Niveau de réflexion de la machine : Expert"_s);
    QCOMPARE(Accessible(test::Control<QLabel>(form, "LabelChrono"))->text(QAccessible::Name),
             u"Temps de jeu : 0 seconde"_s);
  }

  // "Nouvelle partie" and "Colonne 4" pressed as a screen reader does: the
  // piece is in the grid's table and the move is heard; a full column and a
  // finished game leave the buttons unavailable.
  void playThroughTheActions() {
    TWindow form;
    test::Control<QRadioButton>(form, "cbJoueursHumains")->click();
    QAccessibleInterface* column4 = Accessible(test::ColumnControl<TColumnTarget>(form, 3));
    QVERIFY(column4->state().disabled);
    Press(column4);
    QTest::qWait(10);
    QCOMPARE(form.GridText(), kEmptyGrid);

    Press(Accessible(test::Control<TImageButton>(form, "bnStart")));
    QTRY_VERIFY(!column4->state().disabled);
    QAccessibleInterface* grid = BoardPart(form, QAccessible::Table);
    QVERIFY(grid != nullptr);
    QCOMPARE(grid->tableInterface()->rowCount(), 6);
    QCOMPARE(grid->tableInterface()->columnCount(), 7);
    QAccessibleInterface* bottom = grid->tableInterface()->cellAt(5, 3);
    QCOMPARE(bottom->text(QAccessible::Name), u"Ligne 1, colonne 4 : vide"_s);

    Press(column4);
    QTRY_COMPARE(bottom->text(QAccessible::Name), u"Ligne 1, colonne 4 : pion rouge"_s);
    // On a busy machine the start may still be held and said together with it.
    QTRY_VERIFY2(Heard(form).endsWith(u"Rouge joue la colonne 4"_s), qPrintable(Heard(form)));
    // Five more make the column full; red then wins in column 1.
    for (int i = 0; i < 5; ++i) {
      QTRY_VERIFY(!column4->state().disabled);
      Press(column4);
      QTRY_COMPARE(form.Game().MoveNumber(), i + 3);
    }
    QTRY_VERIFY(!Accessible(test::ColumnControl<TColumnTarget>(form, 0))->state().disabled);
    QVERIFY(column4->state().disabled);
    for (const int column : {0, 1, 0, 1, 0, 1, 0}) {
      QTRY_VERIFY(!Accessible(test::ColumnControl<TColumnTarget>(form, column))->state().disabled);
      const int before = form.Game().MoveNumber();
      Press(Accessible(test::ColumnControl<TColumnTarget>(form, column)));
      QTRY_VERIFY(form.Game().MoveNumber() > before || form.Game().GameOver());
    }
    QTRY_VERIFY(Heard(form).contains(u"Fin de la partie : Les rouges gagnent !"_s));
    QCOMPARE(grid->tableInterface()->cellAt(5, 0)->text(QAccessible::Name),
             u"Ligne 1, colonne 1 : pion rouge, gagnant"_s);
    QCOMPARE(grid->tableInterface()->cellAt(5, 1)->text(QAccessible::Name),
             u"Ligne 1, colonne 2 : pion jaune"_s);
    for (int c = 0; c < kColumns; ++c)
      QVERIFY(Accessible(test::ColumnControl<TColumnTarget>(form, c))->state().disabled);
  }

  // Tab goes from the board to "Nouvelle partie", framed, which Space
  // presses and which keeps the game's keys; then round the controls back
  // to the board, where they play.
  void tabReachesTheButtonsAndTheBoardPlays() {
    TWindow form;
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    test::Control<QRadioButton>(form, "cbJoueursHumains")->click();
    auto* ring = form.findChild<TFocusRing*>();
    form.img()->clearFocus();
    form.img()->setFocus(Qt::TabFocusReason);
    QCOMPARE(ring->Reached(), form.img());
    QTest::keyClick(form.img(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), test::Control<TImageButton>(form, "bnStart"));
    QCOMPARE(ring->Reached(), test::Control<TImageButton>(form, "bnStart"));
    const QImage shot = form.grab().toImage();
    const QPoint corner = test::Control<TImageButton>(form, "bnStart")->mapTo(&form, QPoint(0, 0));
    QCOMPARE(shot.pixel(corner + QPoint(-1, 10)), qRgb(255, 200, 0));
    QCOMPARE(shot.pixel(corner + QPoint(-3, 10)), qRgb(0, 0, 0));

    QTest::keyClick(test::Control<TImageButton>(form, "bnStart"), Qt::Key_4);
    QTest::keyClick(test::Control<TImageButton>(form, "bnStart"), Qt::Key_Space);
    QTRY_COMPARE(LogLines(form).value(0), kStart);
    QTest::keyClick(test::Control<TImageButton>(form, "bnStart"), Qt::Key_4);
    QTest::qWait(20);
    QCOMPARE(form.GridText(), kEmptyGrid);
    // Round the window's controls, back to the board.
    QStringList reached;
    for (int i = 0; i < 20 && QApplication::focusWidget() != form.img(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      reached << QApplication::focusWidget()->objectName();
    }
    // (Starting a game greys "Nouvelle partie" a moment: Qt moves the focus
    // on to "Options".)
    QCOMPARE(reached.mid(reached.size() - 8),
             (QStringList{u"bnAide"_s, u"MemoMessages"_s, u"EditChat"_s, u"bnClear"_s,
                          u"bnEnvoyerChat"_s, u"MemoChat"_s, u"bsSkinButton1"_s, u"img"_s}));
    QTest::keyClick(form.img(), Qt::Key_4);
    QTRY_COMPARE(form.GridText().right(7), u"0001000"_s);
    // A click on the board takes the focus without a frame.
    QTest::mouseClick(form.img(), Qt::LeftButton, {}, QPoint(100, 20));
    QCOMPARE(ring->Reached(), nullptr);
  }

  // "Contraste élevé" in the board's menu: the grid, the pieces (the falling
  // one and those in place) and the background change, the pieces go opaque;
  // switched off, all is as before.
  void highContrastFromTheMenu() {
    TWindow form;
    StartTwoHumanGame(form);
    form.Colonne0Click(2);
    QTRY_COMPARE(form.Game().MoveNumber(), 2);
    TBoardView& board = form.BoardView();
    auto* img = static_cast<TLayeredImage*>(form.img());
    const QImage background = img->Picture();
    QMenu* menu = form.findChild<QMenu*>(u"MenuPlateau"_s);
    QAction* contrast = menu->actions().last();
    QCOMPARE(contrast->text(), u"Contraste élevé"_s);
    QVERIFY(contrast->isCheckable());
    QSignalSpy switched(&form.HighContrast(), &THighContrast::Switched);

    contrast->trigger();
    QVERIFY(form.HighContrast().On());
    QCOMPARE(form.HighContrast().Chosen(), std::optional<bool>(true));
    QCOMPARE(board.GridLayer()->Image(), ListeBmp(kGridPicture, true));
    QCOMPARE(board.PieceSlot(1).Layer->Image(), ListeBmp(kRedPiece, true));
    QCOMPARE(board.PieceSlot(2).Layer->Image(), ListeBmp(kYellowPiece, true));
    QCOMPARE(board.PieceSlot(1).Layer->MasterAlpha(), 256);
    QCOMPARE(img->Picture().pixel(400, 300), qRgb(0, 0, 0));
    // The log's red player carries the ring too: its row shows the badge.
    test::Control<TMessageLog>(form, "MemoMessages")
        ->AppendLine(u"[HUMAIN-1] : Je joue la colonne n° 3"_s, TSpeaker::Human1);
    const QImage row = test::Control<TMessageLog>(form, "MemoMessages")->grab().toImage();
    QVERIFY(CountColour(row, qRgb(255, 110, 110)) > 0);
    emit menu->aboutToShow();
    QVERIFY(contrast->isChecked());
    emit menu->aboutToHide();

    contrast->trigger();
    QVERIFY(!form.HighContrast().On());
    QCOMPARE(board.GridLayer()->Image(), ListeBmp(kGridPicture));
    QCOMPARE(board.PieceSlot(1).Layer->Image(), ListeBmp(kRedPiece));
    QCOMPARE(board.PieceSlot(1).Layer->MasterAlpha(), form.PieceOpacity());
    QCOMPARE(img->Picture(), background);
    QCOMPARE(CountColour(test::Control<TMessageLog>(form, "MemoMessages")->grab().toImage(),
                         qRgb(255, 110, 110)),
             0);
    QCOMPARE(switched.count(), 2);
  }
};

}  // namespace zerud::test

QTEST_MAIN(zerud::test::TestAccessibility)
#include "tst_Accessibility.moc"
