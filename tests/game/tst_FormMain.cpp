// The main window: its controls where they belong, the options and what each
// changes, the files read at creation, the help, the chat buttons and the way
// out.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/board/BoardView.h"
#include "game/board/LayeredImage.h"
#include "rules/PatternTable.h"
#include "tests/game/GameTestSupport.h"

using namespace zerud;
using namespace zerud::test;

class TestFormMain : public QObject {
  Q_OBJECT

 private slots:
  void controlsAtTheirPlaces_data();
  void controlsAtTheirPlaces();
  void captionsHintsAndStartValues();
  void coloursOfThePanelsAndLabels();
  void trackBarJumpsToTheClickedPoint();
  void opacityReachesThePiecesOnlyWithFermer();
  void speedLevelAndMode();
  void optionsPanelCoversTheBoardButNotTheClock();
  void missingPatternTableIsReportedAndGameStaysPlayable();
  void missingBackgroundLeavesNavy();
  void closeNeedsOui_data();
  void closeNeedsOui();
  void helpWithoutReaderShowsTwoLines();
  void helpWithReaderOpensTheDocument();
  void chatSendingFollowsTheSockets();
  void enterInTheChatSends();
  void clockShowsElapsedOnTicks();
  void centredOnTheDesktop();
};

void TestFormMain::controlsAtTheirPlaces_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QRect>("geometry");
  const struct {
    const char* name;
    QRect geometry;
  } controls[] = {
      {"img", {0, 0, 800, 600}},
      {"Colonne0", {266, 69, 70, 70}},
      {"Colonne3", {476, 69, 70, 70}},
      {"Colonne6", {686, 69, 70, 70}},
      {"PanelGauche", {0, 0, 237, 600}},
      {"bnStart", {7, 75, 55, 55}},
      {"bnOptions", {7, 145, 55, 55}},
      {"bnReseau", {7, 215, 56, 56}},
      {"bnAide", {6, 285, 55, 55}},
      {"MemoMessages", {8, 377, 202, 101}},
      {"EditChat", {7, 504, 116, 18}},
      {"bnClear", {123, 503, 42, 20}},
      {"bnEnvoyerChat", {164, 503, 48, 20}},
      {"MemoChat", {7, 524, 187, 50}},
      {"MemoChatScrollBar", {194, 523, 19, 52}},
      {"lbReseau", {7, 579, 204, 17}},
      {"PanelClock", {718, 6, 74, 45}},
      {"LabelChrono", {0, 0, 74, 16}},
      {"bsSkinButton1", {0, 24, 74, 21}},
      {"PanelOptions", {0, 65, 800, 536}},
      {"Memo1", {810, 8, 207, 153}},
      {"Label1", {48, 72, 345, 19}},
      {"tbOpacite", {47, 91, 347, 20}},
      {"Label2", {48, 156, 345, 19}},
      {"tbVitesse", {47, 175, 347, 20}},
      {"Label3", {48, 238, 345, 19}},
      {"GradientBar", {48, 257, 345, 14}},
      {"tbNiveau", {47, 271, 347, 20}},
      {"Label4", {47, 358, 346, 19}},
      {"Shape1", {47, 376, 346, 74}},
      {"cbMachine", {63, 387, 149, 25}},
      {"cbJoueursHumains", {63, 411, 149, 25}},
      {"bnFermer", {712, 497, 61, 21}},
  };
  for (const auto& control : controls)
    QTest::newRow(control.name) << control.name << control.geometry;
}

void TestFormMain::controlsAtTheirPlaces() {
  QFETCH(QString, name);
  QFETCH(QRect, geometry);
  TWindow window;
  QWidget* control = window.form->findChild<QWidget*>(name);
  QVERIFY2(control != nullptr, qPrintable(name));
  QCOMPARE(control->geometry(), geometry);
  QCOMPARE(window.form->size(), QSize(800, 600));
}

void TestFormMain::captionsHintsAndStartValues() {
  TWindow window;
  TFormMain& form = *window.form;
  const auto hint = [&form](const char* name) {
    return form.findChild<QWidget*>(QString::fromLatin1(name))->toolTip();
  };
  QCOMPARE(hint("bnStart"), QStringLiteral("Commencer une nouvelle partie"));
  QCOMPARE(hint("bnOptions"), QStringLiteral("Options du jeu"));
  QCOMPARE(hint("bnReseau"), QStringLiteral("Mode multi-joueurs"));
  QCOMPARE(hint("bnAide"), QStringLiteral("Aide du jeu"));
  QCOMPARE(hint("EditChat"), QStringLiteral("Texte à envoyer"));
  QCOMPARE(hint("bnClear"), QStringLiteral("Effacer les messages reçus"));
  QCOMPARE(hint("bnEnvoyerChat"), QStringLiteral("Envoyer le message"));
  QCOMPARE(hint("bsSkinButton1"), QStringLiteral("Quitter \"Zerud uravizera 4\""));

  QCOMPARE(form.EditChat->text(), QStringLiteral("..."));
  QCOMPARE(form.lbReseau->text(), QStringLiteral(" Déconnecté."));
  QCOMPARE(form.LabelChrono->text(), QStringLiteral("00:00:00"));
  QCOMPARE(form.cbMachine->text(), QStringLiteral("Joueur contre la machine"));
  QCOMPARE(form.cbJoueursHumains->text(), QStringLiteral("2 joueurs humains"));
  QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
           QStringLiteral(" Opacité des pions"));
  QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label2"))->text(),
           QStringLiteral(" Vitesse d'animation"));
  QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label3"))->text(),
           QStringLiteral(" Niveau de réflexion de la machine"));
  QCOMPARE(form.findChild<QLabel*>(QStringLiteral("Label4"))->text(),
           QStringLiteral(" Mode du jeu"));
  const struct {
    const char* text;
    int left;
  } levels[] = {{"Débutant", 50}, {"Intermédiaire", 136}, {"Avancé", 257}, {"Expert", 360}};
  for (const auto& level : levels) {
    QLabel* label =
        form.findChild<QLabel*>(QStringLiteral("Level") + QString::fromUtf8(level.text));
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(), QString::fromUtf8(level.text));
    QCOMPARE(label->geometry().topLeft(), QPoint(level.left, 257));
    QCOMPARE(label->height(), 13);
  }

  // Track bars: range and start value.
  QCOMPARE(form.tbOpacite->minimum(), 100);
  QCOMPARE(form.tbOpacite->maximum(), 256);
  QCOMPARE(form.tbOpacite->value(), 210);
  QCOMPARE(form.tbVitesse->minimum(), 1);
  QCOMPARE(form.tbVitesse->maximum(), 35);
  QCOMPARE(form.tbNiveau->minimum(), 2);
  QCOMPARE(form.tbNiveau->maximum(), 5);
  QCOMPARE(form.tbNiveau->value(), 2);

  // A fresh window: nothing runs, every target disabled, options hidden.
  TFormMain fresh(window.folder.Path());
  QCOMPARE(fresh.tbVitesse->value(), 2);
  QCOMPARE(fresh.PieceOpacity(), 210);
  QCOMPARE(fresh.DropStep(), 2);
  QCOMPARE(fresh.MaxDepth(), 4);
  QVERIFY(fresh.AgainstMachine());
  QVERIFY(fresh.cbMachine->isChecked());
  QVERIFY(!fresh.cbJoueursHumains->isChecked());
  QCOMPARE(EnabledColumns(fresh), QStringLiteral("0000000"));
  QVERIFY(fresh.PanelOptions->isHidden());
  QVERIFY(fresh.Memo1->isHidden());
  QVERIFY(fresh.tbNiveau->isEnabled() && fresh.bnReseau->isEnabled());
  QVERIFY(fresh.cbMachine->isEnabled() && fresh.cbJoueursHumains->isEnabled());
  QCOMPARE(fresh.MoveNumber, 1);
  QVERIFY(!fresh.GameOver);
  QVERIFY(!fresh.Chrono->Enabled());
  QVERIFY(!fresh.Chrono->Counting());
  for (int c = 0; c < 7; ++c) {
    QCOMPARE(fresh.Colonne[c]->Tag(), c);
    QCOMPARE(fresh.Colonne[c]->cursor().shape(), Qt::PointingHandCursor);
  }

  // The pieces are parked, red in odd slots, and the grid lies on top.
  TBoardView& board = fresh.BoardView();
  for (int k = 1; k <= 42; ++k) {
    const TPieceSlot& slot = board.PieceSlot(k);
    QCOMPARE(slot.Layer->Location().Left, -110.0);
    QCOMPARE(slot.Layer->Location().Top, -200.0);
    QVERIFY(!slot.Marked);
  }
  QCOMPARE(board.Image()->IndexOfLayer(board.GridLayer()), board.Image()->LayerCount() - 1);
  QCOMPARE(board.GridLayer()->MasterAlpha(), 256);
  QCOMPARE(board.GridLayer()->Location(), (TFloatRect{266, 149, 756, 569}));

  // Fonts of the window and of the clock.
  QCOMPARE(form.font().pixelSize(), 11);
  QCOMPARE(form.LabelChrono->font().pixelSize(), 13);
  QVERIFY(form.LabelChrono->font().bold());
  QCOMPARE(form.LabelChrono->alignment(), Qt::AlignCenter);
  QCOMPARE(form.Memo1->lineWrapMode(), QPlainTextEdit::NoWrap);
  QVERIFY(form.MemoChat->isReadOnly());
}

void TestFormMain::coloursOfThePanelsAndLabels() {
  TWindow window;
  TFormMain& form = *window.form;
  const QImage shot = form.grab().toImage();
  // The clock panel around its label and button, the network status label,
  // the chat edit.
  QCOMPARE(QColor(shot.pixel(720, 22)), QColor(164, 192, 251));
  QCOMPARE(QColor(shot.pixel(205, 590)), QColor(144, 178, 255));
  QCOMPARE(QColor(shot.pixel(115, 520)), QColor(208, 223, 255));

  form.bnOptionsClick();
  QTest::qWait(1);
  const QImage options = form.grab().toImage();
  // Caption background, gradient ends, mode box fill.
  QCOMPARE(QColor(options.pixel(390, 65 + 80)), QColor(128, 128, 192));
  const QColor left(options.pixel(48, 65 + 270));
  const QColor right(options.pixel(392, 65 + 270));
  QVERIFY2(left.blue() > 200 && left.red() < 30, qPrintable(left.name()));
  QVERIFY2(right.red() > 200 && right.blue() < 30, qPrintable(right.name()));
  QCOMPARE(QColor(options.pixel(380, 65 + 440)), QColor(164, 192, 251));
  QCOMPARE(QColor(options.pixel(47, 65 + 440)), QColor(128, 128, 192));
}

void TestFormMain::trackBarJumpsToTheClickedPoint() {
  TWindow window;
  TFormMain& form = *window.form;
  form.bnOptionsClick();
  QTest::qWait(1);
  QSlider* level = form.tbNiveau;
  // A click near the right end takes the thumb there at once, not one page.
  QTest::mouseClick(level, Qt::LeftButton, {}, QPoint(level->width() - 3, level->height() / 2));
  QCOMPARE(level->value(), 5);
  QCOMPARE(form.MaxDepth(), 10);
  QTest::mouseClick(level, Qt::LeftButton, {}, QPoint(3, level->height() / 2));
  QCOMPARE(level->value(), 2);
  QCOMPARE(form.MaxDepth(), 4);

  // Dragging: press at the left, move to the right end, release.
  QSlider* speed = form.tbVitesse;
  speed->setValue(1);
  QTest::mousePress(speed, Qt::LeftButton, {}, QPoint(3, speed->height() / 2));
  QMouseEvent move(QEvent::MouseMove, QPointF(speed->width() - 2, speed->height() / 2),
                   speed->mapToGlobal(QPointF(speed->width() - 2, speed->height() / 2)),
                   Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(speed, &move);
  QCOMPARE(speed->value(), 35);
  QTest::mouseRelease(speed, Qt::LeftButton, {}, QPoint(speed->width() - 2, speed->height() / 2));
  QCOMPARE(form.DropStep(), 35);
}

void TestFormMain::opacityReachesThePiecesOnlyWithFermer() {
  TWindow window;
  TFormMain& form = *window.form;
  TBoardView& board = form.BoardView();
  // Play a little so some pieces sit in the grid, then open the options.
  StartTwoHumanGame(form);
  form.Colonne0Click(3);
  form.Colonne0Click(4);
  const int before = board.PieceSlot(1).Layer->MasterAlpha();
  QCOMPARE(before, 210);

  form.bnOptionsClick();
  QVERIFY(form.PanelOptions->isVisible());
  form.tbOpacite->setValue(130);
  QCOMPARE(form.PieceOpacity(), 130);
  for (int k = 1; k <= 42; ++k) QCOMPARE(board.PieceSlot(k).Layer->MasterAlpha(), 210);

  QTest::mouseClick(form.bnFermer, Qt::LeftButton, {}, QPoint(10, 10));
  QVERIFY(form.PanelOptions->isHidden());
  for (int k = 1; k <= 42; ++k) QCOMPARE(board.PieceSlot(k).Layer->MasterAlpha(), 130);
  // The grid overlay keeps its own alpha.
  QCOMPARE(board.GridLayer()->MasterAlpha(), 256);
}

void TestFormMain::speedLevelAndMode() {
  TWindow window;
  TFormMain& form = *window.form;
  form.tbVitesse->setValue(1);
  QCOMPARE(form.DropStep(), 1);
  form.tbVitesse->setValue(35);
  QCOMPARE(form.DropStep(), 35);
  for (int level = 2; level <= 5; ++level) {
    form.tbNiveau->setValue(level);
    QCOMPARE(form.MaxDepth(), 2 * level);
  }

  // Choosing a mode freezes the game under way.
  form.bnStartClick();
  QVERIFY(EnabledColumns(form) != QStringLiteral("0000000"));
  form.bnOptionsClick();
  QTest::mouseClick(form.cbJoueursHumains, Qt::LeftButton, {}, QPoint(5, 12));
  QVERIFY(form.cbJoueursHumains->isChecked());
  QVERIFY(!form.AgainstMachine());
  QCOMPARE(EnabledColumns(form), QStringLiteral("0000000"));
  QTest::mouseClick(form.cbMachine, Qt::LeftButton, {}, QPoint(5, 12));
  QVERIFY(form.AgainstMachine());
}

void TestFormMain::optionsPanelCoversTheBoardButNotTheClock() {
  TWindow window;
  TFormMain& form = *window.form;
  form.bnOptionsClick();
  QTest::qWait(1);
  // Below y = 65 the panel is on top of the left panel and the targets; the
  // clock panel stays reachable.
  QCOMPARE(form.childAt(30, 300), form.PanelOptions);
  QCOMPARE(form.childAt(300, 100), form.PanelOptions);
  QVERIFY(form.bsSkinButton1->isVisible());
  QCOMPARE(form.childAt(form.PanelClock->mapTo(&form, QPoint(30, 30))), form.bsSkinButton1);
}

void TestFormMain::missingPatternTableIsReportedAndGameStaysPlayable() {
  TShownErrors errors;
  TWindow window(TProgramFolder::kNoScores);
  TFormMain& form = *window.form;
  QCOMPARE(errors.Texts(), QStringList{QStringLiteral("Impossible d'ouvrir le fichier ") +
                                       window.folder.Path() + QStringLiteral("scores.txt")});
  QVERIFY(form.PatternTable().Empty());
  // The rest of the preparation happened: 42 pieces and the grid on top,
  // every target disabled.
  QCOMPARE(form.BoardView().Image()->LayerCount(), 43);
  QCOMPARE(EnabledColumns(form), QStringLiteral("0000000"));
  // With an empty table the machine plays the leftmost column with room.
  QVERIFY(StartWithHumanFirst(form));
  form.Colonne0Click(6);
  QCOMPARE(form.GridText().right(7), QStringLiteral("2000001"));
}

void TestFormMain::missingBackgroundLeavesNavy() {
  TShownErrors errors;
  TWindow window(TProgramFolder::kNoBackground);
  QCOMPARE(errors.Texts(), QStringList{QStringLiteral("Impossible d'ouvrir le fichier ") +
                                       window.folder.Path() + QStringLiteral("images/bg.jpg")});
  QVERIFY(!window.form->PatternTable().Empty());
  const QImage& composed = window.form->BoardView().Image()->Composed();
  QCOMPARE(composed.pixel(400, 100), qRgb(0, 0, 128));
  QCOMPARE(composed.pixel(799, 20), qRgb(0, 0, 128));
  QCOMPARE(window.form->BoardView().Image()->LayerCount(), 43);

  // Both missing: two reports, in the order the files are read.
  errors.Clear();
  TWindow bare(TProgramFolder::kNeither);
  QCOMPARE(errors.Texts().size(), 2);
  QVERIFY(errors.Texts()[0].endsWith(QStringLiteral("scores.txt")));
  QVERIFY(errors.Texts()[1].endsWith(QStringLiteral("images/bg.jpg")));

  // With the picture present the board shows it, not navy.
  TWindow full;
  QVERIFY(full.form->BoardView().Image()->Composed().pixel(400, 100) != qRgb(0, 0, 128));
}

void TestFormMain::closeNeedsOui_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("closes");
  QTest::newRow("Oui") << 1 << true;
  QTest::newRow("Non") << 2 << false;
  QTest::newRow("dialog closed otherwise") << 0 << false;
}

void TestFormMain::closeNeedsOui() {
  QFETCH(int, answer);
  QFETCH(bool, closes);
  TWindow window;
  TFormMain& form = *window.form;
  int asked = 0;
  form.SetCloseConfirmation([&asked, answer] {
    ++asked;
    return answer;
  });
  StartTwoHumanGame(form);
  form.Colonne0Click(2);
  const QString grid = form.GridText();

  // "Quitter" asks, like any other close request.
  QTest::mouseClick(form.bsSkinButton1, Qt::LeftButton, {}, QPoint(10, 10));
  QCOMPARE(asked, 1);
  QCOMPARE(window.endStatus, closes ? 0 : -1);
  QCOMPARE(form.isVisible(), !closes);
  if (closes) {
    // The layers were freed before the end.
    QCOMPARE(form.BoardView().Image()->LayerCount(), 0);
    QVERIFY(form.PatternTable().Empty());
  } else {
    QCOMPARE(form.GridText(), grid);
    QVERIFY(form.Chrono->Counting());
    QCOMPARE(form.BoardView().Image()->LayerCount(), 43);
    QVERIFY(!form.close());
    QCOMPARE(asked, 2);
  }
}

void TestFormMain::helpWithoutReaderShowsTwoLines() {
  TShownErrors shown;
  TWindow window;
  int opened = 0;
  window.form->SetHelpPlatform([] { return false; },
                               [&opened](const QString&, const QString&) { ++opened; });
  QTest::mouseClick(window.form->bnAide, Qt::LeftButton, {}, QPoint(20, 20));
  QCOMPARE(opened, 0);
  QCOMPARE(shown.Texts(),
           QStringList{QStringLiteral("Le fichier d'aide est au format PDF,") + QChar(13) +
                       QStringLiteral("Veuillez installer l'acrobat reader pour visualiser ce "
                                      "fichier")});
  // On screen the carriage return must break the line: a label only breaks at LF.
  QCOMPARE(WithLineFeeds(shown.Texts().value(0)).count(QLatin1Char('\n')), 1);
  QCOMPARE(WithLineFeeds(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\nb\nc"));
}

void TestFormMain::helpWithReaderOpensTheDocument() {
  TShownErrors shown;
  TWindow window;
  QStringList calls;
  window.form->SetHelpPlatform(
      [] { return true; },
      [&calls](const QString& verb, const QString& file) { calls << verb << file; });
  QTest::mouseClick(window.form->bnAide, Qt::LeftButton, {}, QPoint(20, 20));
  QCOMPARE(calls, (QStringList{QStringLiteral("OPEN"), window.folder.Path() + "Aide.pdf"}));
  // The folder holds no Aide.pdf: nothing is reported.
  QVERIFY(shown.Texts().isEmpty());
}

void TestFormMain::chatSendingFollowsTheSockets() {
  TWindow window;
  TFormMain& form = *window.form;
  // No network window, or no open socket: the text stays.
  form.EditChat->setText(QStringLiteral("salut"));
  form.bnEnvoyerChatClick();
  QCOMPARE(form.EditChat->text(), QStringLiteral("salut"));
  TRecordingLink link;
  form.SetNetworkLink(&link);
  QTest::mouseClick(form.bnEnvoyerChat, Qt::LeftButton, {}, QPoint(10, 10));
  QVERIFY(link.Sent.isEmpty());
  QCOMPARE(form.EditChat->text(), QStringLiteral("salut"));

  // Client: a word is sent, an empty edit is not.
  link.Active = true;
  form.bnEnvoyerChatClick();
  QCOMPARE(link.Sent, QStringList{QStringLiteral("DATA_CHAT|salut")});
  QCOMPARE(form.EditChat->text(), QString());
  form.bnEnvoyerChatClick();
  QCOMPARE(link.Sent.size(), 1);

  // Server: even an empty line goes.
  link.Active = false;
  link.Listening = true;
  form.bnEnvoyerChatClick();
  QCOMPARE(link.Sent.last(), QStringLiteral("DATA_CHAT|"));
  QCOMPARE(link.Sent.size(), 2);
  // Our own lines never show in the chat memo; "Effacer" empties it.
  QVERIFY(form.MemoChat->toPlainText().isEmpty());
  form.MemoChat->appendPlainText(QStringLiteral("bonjour"));
  QTest::mouseClick(form.bnClear, Qt::LeftButton, {}, QPoint(10, 10));
  QVERIFY(form.MemoChat->toPlainText().isEmpty());

  // A peer that never stops talking: the memo keeps only the newest lines.
  for (int i = 0; i < TFormMain::kChatLineLimit + 5; ++i)
    form.MemoChat->appendPlainText(QString::number(i));
  QCOMPARE(form.MemoChat->blockCount(), TFormMain::kChatLineLimit);
  QCOMPARE(form.MemoChat->document()->firstBlock().text(), QStringLiteral("5"));
  QCOMPARE(form.MemoChat->document()->lastBlock().text(),
           QString::number(TFormMain::kChatLineLimit + 4));
}

void TestFormMain::enterInTheChatSends() {
  TWindow window;
  TFormMain& form = *window.form;
  TRecordingLink link;
  link.Active = true;
  form.SetNetworkLink(&link);
  form.EditChat->clear();
  QTest::keyClicks(form.EditChat, QStringLiteral("coucou"));
  QTest::keyClick(form.EditChat, Qt::Key_Return);
  QCOMPARE(link.Sent, QStringList{QStringLiteral("DATA_CHAT|coucou")});
  QCOMPARE(form.EditChat->text(), QString());
  QVERIFY(form.MemoChat->toPlainText().isEmpty());
}

void TestFormMain::clockShowsElapsedOnTicks() {
  TWindow window;
  TFormMain& form = *window.form;
  QDateTime now = QDateTime::currentDateTime();
  form.Chrono->SetClock([&now] { return now; });
  StartTwoHumanGame(form);
  QVERIFY(form.Chrono->Enabled());
  QVERIFY(form.Chrono->Counting());
  now = now.addSecs(65);
  QCOMPARE(form.LabelChrono->text(), QStringLiteral("00:00:00"));
  emit form.Chrono->OnTimer();
  QCOMPARE(form.LabelChrono->text(), QStringLiteral("00:01:05"));
}

void TestFormMain::centredOnTheDesktop() {
  // The framed window in the middle of a screen, also of a second one.
  QCOMPARE(TFormMain::CentredTopLeft(QRect(0, 0, 1280, 1024), QSize(802, 621)), QPoint(239, 201));
  QCOMPARE(TFormMain::CentredTopLeft(QRect(1280, 0, 1920, 1080), QSize(800, 600)),
           QPoint(1840, 240));
  // On a screen too small for it, its caption stays on the screen.
  QCOMPARE(TFormMain::CentredTopLeft(QRect(0, 0, 1024, 600), QSize(802, 621)), QPoint(111, 0));
}

QTEST_MAIN(TestFormMain)
#include "tst_FormMain.moc"
