// The main window: its controls where they belong, the options and what each
// changes, the files read at creation, the help, the chat and the way out.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include "GameTestSupport.h"
#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/board/BoardView.h"
#include "game/board/LayeredImage.h"
#include "game/window/HelpWindow.h"
#include "platform/Skin.h"
#include "rules/PatternTable.h"
#include "tests/support/WindowControls.h"

using namespace zerud;
using namespace zerud::test;
using namespace Qt::StringLiterals;

class TestFormMain : public QObject {
  Q_OBJECT

 private slots:
  void controlsPlacesCaptionsAndHints() {
    // A width of 0: the label is as wide as its text.
    const struct {
      const char* name;
      QRect geometry;
      const char* text;
      const char* hint;
    } controls[] = {
        {"img", {0, 0, 800, 600}, nullptr, nullptr},
        {"Colonne0", {266, 69, 70, 70}, nullptr, nullptr},
        {"Colonne3", {476, 69, 70, 70}, nullptr, nullptr},
        {"Colonne6", {686, 69, 70, 70}, nullptr, nullptr},
        {"PanelGauche", {0, 0, 237, 600}, nullptr, nullptr},
        {"bnStart", {7, 75, 55, 55}, nullptr, "Commencer une nouvelle partie"},
        {"bnOptions", {7, 145, 55, 55}, nullptr, "Options du jeu"},
        {"bnReseau", {7, 215, 56, 56}, nullptr, "Mode multi-joueurs"},
        {"bnAide", {6, 285, 55, 55}, nullptr, "Aide du jeu"},
        {"MemoMessages", {8, 377, 202, 101}, nullptr, nullptr},
        {"EditChat", {7, 504, 116, 18}, "...", "Texte à envoyer"},
        {"bnClear", {123, 503, 42, 20}, nullptr, "Effacer les messages reçus"},
        {"bnEnvoyerChat", {164, 503, 48, 20}, nullptr, "Envoyer le message"},
        {"MemoChat", {7, 524, 187, 50}, nullptr, nullptr},
        {"MemoChatScrollBar", {194, 523, 19, 52}, nullptr, nullptr},
        {"lbReseau", {7, 579, 204, 17}, " Déconnecté.", nullptr},
        {"PanelClock", {718, 6, 74, 45}, nullptr, nullptr},
        {"LabelChrono", {0, 0, 74, 16}, "00:00:00", nullptr},
        {"bsSkinButton1", {0, 24, 74, 21}, "Quitter", "Quitter \"Zerud uravizera 4\""},
        {"PanelOptions", {0, 65, 800, 536}, nullptr, nullptr},
        {"Memo1", {810, 8, 207, 153}, nullptr, nullptr},
        {"Label1", {48, 72, 345, 19}, " Opacité des pions", nullptr},
        {"tbOpacite", {47, 91, 347, 20}, nullptr, nullptr},
        {"Label2", {48, 156, 345, 19}, " Vitesse d'animation", nullptr},
        {"tbVitesse", {47, 175, 347, 20}, nullptr, nullptr},
        {"Label3", {48, 238, 345, 19}, " Niveau de réflexion de la machine", nullptr},
        {"GradientBar", {48, 257, 345, 14}, nullptr, nullptr},
        {"LevelDébutant", {50, 257, 0, 13}, "Débutant", nullptr},
        {"LevelIntermédiaire", {136, 257, 0, 13}, "Intermédiaire", nullptr},
        {"LevelAvancé", {257, 257, 0, 13}, "Avancé", nullptr},
        {"LevelExpert", {360, 257, 0, 13}, "Expert", nullptr},
        {"tbNiveau", {47, 271, 347, 20}, nullptr, nullptr},
        {"Label4", {47, 358, 346, 19}, " Mode du jeu", nullptr},
        {"Shape1", {47, 376, 346, 74}, nullptr, nullptr},
        {"cbMachine", {63, 387, 149, 25}, "Joueur contre la machine", nullptr},
        {"cbJoueursHumains", {63, 411, 149, 25}, "2 joueurs humains", nullptr},
        {"bnFermer", {712, 497, 61, 21}, nullptr, nullptr},
    };
    TWindow form;
    QCOMPARE(form.size(), QSize(800, 600));
    for (const auto& row : controls) {
      const QString name = QString::fromUtf8(row.name);
      QWidget* control = form.findChild<QWidget*>(name);
      QVERIFY2(control != nullptr, qPrintable(name));
      QRect geometry = control->geometry();
      if (row.geometry.width() == 0) geometry.setWidth(0);
      QVERIFY2(geometry == row.geometry, qPrintable(name));
      if (row.text) QCOMPARE(control->property("text").toString(), QString::fromUtf8(row.text));
      if (row.hint) QCOMPARE(control->toolTip(), QString::fromUtf8(row.hint));
    }
  }

  void startValues() {
    TProgramFolder folder;
    TFormMain form(folder.Path());
    const struct {
      QSlider* bar;
      int minimum, maximum, value;
    } bars[] = {{test::Control<QSlider>(form, "tbOpacite"), 100, 256, 210},
                {test::Control<QSlider>(form, "tbVitesse"), 1, 35, 2},
                {test::Control<QSlider>(form, "tbNiveau"), 2, 5, 2}};
    for (const auto& bar : bars) {
      QCOMPARE(bar.bar->minimum(), bar.minimum);
      QCOMPARE(bar.bar->maximum(), bar.maximum);
      QCOMPARE(bar.bar->value(), bar.value);
    }
    QCOMPARE(form.MaxDepth(), 4);
    QVERIFY(form.Game().SelectedMode() == TPlayMode::Machine &&
            test::Control<QRadioButton>(form, "cbMachine")->isChecked());
    QCOMPARE(EnabledColumns(form), u"0000000"_s);
    QVERIFY(test::Control<QWidget>(form, "PanelOptions")->isHidden() &&
            test::Control<QPlainTextEdit>(form, "Memo1")->isHidden());
    QVERIFY(!test::Control<TTimeCounter>(form, "Chrono")->Enabled() &&
            !test::Control<TTimeCounter>(form, "Chrono")->Counting());
    for (int c = 0; c < kColumns; ++c)
      QCOMPARE(test::ColumnControl<TColumnTarget>(form, c)->cursor().shape(),
               Qt::PointingHandCursor);

    // The pieces are parked above the window and the grid lies on top.
    TBoardView& board = form.BoardView();
    for (int k = 1; k <= 42; ++k) {
      QCOMPARE(board.PieceSlot(k).Layer->Location().Left, -110.0);
      QCOMPARE(board.PieceSlot(k).Layer->Location().Top, -200.0);
    }
    QCOMPARE(board.Image()->IndexOfLayer(board.GridLayer()), board.Image()->LayerCount() - 1);
    QCOMPARE(board.GridLayer()->MasterAlpha(), 256);
    QCOMPARE(board.GridLayer()->Location(), (TFloatRect{266, 149, 756, 569}));

    QCOMPARE(form.font().pixelSize(), 11);
    QCOMPARE(test::Control<QLabel>(form, "LabelChrono")->font().pixelSize(), 13);
    QVERIFY(test::Control<QLabel>(form, "LabelChrono")->font().bold());
    QCOMPARE(test::Control<QLabel>(form, "LabelChrono")->alignment(), Qt::AlignCenter);
    QCOMPARE(test::Control<QPlainTextEdit>(form, "Memo1")->lineWrapMode(), QPlainTextEdit::NoWrap);
    QVERIFY(test::Control<TChatMemo>(form, "MemoChat")->isReadOnly());
  }

  void coloursAndTheOptionsPanelOnTop() {
    TWindow form;
    const QImage shot = form.grab().toImage();
    // The clock panel, the network status label, the chat edit.
    QCOMPARE(QColor(shot.pixel(720, 22)), QColor(164, 192, 251));
    QCOMPARE(QColor(shot.pixel(205, 590)), QColor(144, 178, 255));
    QCOMPARE(QColor(shot.pixel(115, 520)), QColor(208, 223, 255));

    form.bnOptionsClick();
    QTest::qWait(1);
    const QImage options = form.grab().toImage();
    // Caption background, gradient ends, mode box fill and border.
    QCOMPARE(QColor(options.pixel(390, 65 + 80)), QColor(128, 128, 192));
    const QColor left(options.pixel(48, 65 + 270));
    const QColor right(options.pixel(392, 65 + 270));
    QVERIFY2(left.blue() > 200 && left.red() < 30, qPrintable(left.name()));
    QVERIFY2(right.red() > 200 && right.blue() < 30, qPrintable(right.name()));
    QCOMPARE(QColor(options.pixel(380, 65 + 440)), QColor(164, 192, 251));
    QCOMPARE(QColor(options.pixel(47, 65 + 440)), QColor(128, 128, 192));
    // The panel covers the left panel and the targets, not the clock panel.
    QCOMPARE(form.childAt(30, 300), test::Control<QWidget>(form, "PanelOptions"));
    QCOMPARE(form.childAt(300, 100), test::Control<QWidget>(form, "PanelOptions"));
    QCOMPARE(form.childAt(test::Control<QWidget>(form, "PanelClock")->mapTo(&form, QPoint(30, 30))),
             test::Control<QWidget>(form, "bsSkinButton1"));
  }

  void optionsTakeEffect() {
    TWindow form;
    form.bnOptionsClick();
    QTest::qWait(1);
    // A click on a track bar near an end takes the thumb there at once, not
    // one page.
    QSlider* level = test::Control<QSlider>(form, "tbNiveau");
    QTest::mouseClick(level, Qt::LeftButton, {}, QPoint(level->width() - 3, level->height() / 2));
    QCOMPARE(form.MaxDepth(), 10);
    QTest::mouseClick(level, Qt::LeftButton, {}, QPoint(3, level->height() / 2));
    QCOMPARE(form.MaxDepth(), 4);
    for (int value : {3, 4}) {
      level->setValue(value);
      QCOMPARE(form.MaxDepth(), 2 * value);
    }
    // Dragging the speed's thumb from the left end to the right one.
    QSlider* speed = test::Control<QSlider>(form, "tbVitesse");
    speed->setValue(1);
    QCOMPARE(form.DropStep(), 1);
    const QPointF end(speed->width() - 2, speed->height() / 2);
    QTest::mousePress(speed, Qt::LeftButton, {}, QPoint(3, speed->height() / 2));
    QMouseEvent move(QEvent::MouseMove, end, speed->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(speed, &move);
    QCOMPARE(form.DropStep(), 35);
    QTest::mouseRelease(speed, Qt::LeftButton, {}, end.toPoint());
    form.bnFermerClick();

    // The opacity reaches the pieces, not the grid, only with "Fermer".
    TBoardView& board = form.BoardView();
    StartTwoHumanGame(form);
    form.Colonne0Click(3);
    form.Colonne0Click(4);
    form.bnOptionsClick();
    QVERIFY(test::Control<QWidget>(form, "PanelOptions")->isVisible());
    test::Control<QSlider>(form, "tbOpacite")->setValue(130);
    QCOMPARE(form.PieceOpacity(), 130);
    for (int k = 1; k <= 42; ++k) QCOMPARE(board.PieceSlot(k).Layer->MasterAlpha(), 210);
    QTest::mouseClick(test::Control<TSelButton>(form, "bnFermer"), Qt::LeftButton, {},
                      QPoint(10, 10));
    QVERIFY(test::Control<QWidget>(form, "PanelOptions")->isHidden());
    for (int k = 1; k <= 42; ++k) QCOMPARE(board.PieceSlot(k).Layer->MasterAlpha(), 130);
    QCOMPARE(board.GridLayer()->MasterAlpha(), 256);
  }

  void missingFilesAreReportedAndTheGameStaysPlayable_data() {
    QTest::addColumn<int>("files");
    QTest::addColumn<QStringList>("missing");
    QTest::newRow("scores") << int(TProgramFolder::kNoScores) << QStringList{u"scores.txt"_s};
    QTest::newRow("picture") << int(TProgramFolder::kNoBackground)
                             << QStringList{u"images/bg.jpg"_s};
    // Reported in the order the files are read.
    QTest::newRow("both") << int(TProgramFolder::kNeither)
                          << QStringList{u"scores.txt"_s, u"images/bg.jpg"_s};
    QTest::newRow("none") << int(TProgramFolder::kBoth) << QStringList();
  }

  void missingFilesAreReportedAndTheGameStaysPlayable() {
    QFETCH(int, files);
    QFETCH(QStringList, missing);
    TShownErrors errors;
    TWindow form{TProgramFolder::TFiles(files)};
    QStringList expected;
    for (const QString& file : missing)
      expected << u"Impossible d'ouvrir le fichier "_s + form.Path() + file;
    QCOMPARE(errors.Texts(), expected);

    const bool noScores = missing.contains(u"scores.txt"_s);
    const bool navy = missing.contains(u"images/bg.jpg"_s);
    QCOMPARE(form.PatternTable().Empty(), noScores);
    const QImage& composed = form.BoardView().Image()->Composed();
    for (QPoint point : {QPoint(400, 100), QPoint(799, 20)})
      QCOMPARE(composed.pixel(point) == qRgb(0, 0, 128), navy);
    // The rest of the preparation happened and a game can be played; with an
    // empty table the machine plays the leftmost column with room.
    QCOMPARE(form.BoardView().Image()->LayerCount(), 43);
    QVERIFY(StartWithHumanFirst(form));
    form.Colonne0Click(6);
    if (noScores) QCOMPARE(form.GridText().right(7), u"2000001"_s);
    QCOMPARE(form.Game().MoveNumber(), 3);
  }

  void closeNeedsOui_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("closes");
    QTest::newRow("Oui") << 1 << true;
    QTest::newRow("Non") << 2 << false;
    QTest::newRow("dialog closed otherwise") << 0 << false;
  }

  void closeNeedsOui() {
    QFETCH(int, answer);
    QFETCH(bool, closes);
    TWindow form;
    int asked = 0;
    form.SetCloseConfirmation([&asked, answer] {
      ++asked;
      return answer;
    });
    StartTwoHumanGame(form);
    form.Colonne0Click(2);
    const QString grid = form.GridText();

    QTest::mouseClick(test::Control<QWidget>(form, "bsSkinButton1"), Qt::LeftButton, {},
                      QPoint(10, 10));
    QCOMPARE(asked, 1);
    QCOMPARE(form.endStatus, closes ? 0 : -1);
    QCOMPARE(form.isVisible(), !closes);
    // "Oui" frees the layers and the table before the end; otherwise the game goes on.
    QCOMPARE(form.BoardView().Image()->LayerCount(), closes ? 0 : 43);
    QCOMPARE(form.PatternTable().Empty(), closes);
    if (!closes) {
      QCOMPARE(form.GridText(), grid);
      QVERIFY(test::Control<TTimeCounter>(form, "Chrono")->Counting());
      QVERIFY(!form.close());
      QCOMPARE(asked, 2);
    }
  }

  // With a PDF reader the help hands Aide.pdf to it; without one it shows
  // Aide.txt in the game's own window, whose text Escape closes, or says
  // why it cannot.
  void helpOpensTheDocumentOrItsOwnWindow() {
    enum TSource { kBuilt, kMissing, kBlank };
    const struct {
      bool reader;
      TSource source;
      const char* message;  // %1: the source's path
    } cases[] = {
        {true, kMissing, nullptr},
        {false, kBuilt, nullptr},
        {false, kMissing, "Impossible d'ouvrir le fichier %1"},
        {false, kBlank, "Le fichier d'aide %1 est vide."},
    };
    for (const auto& row : cases) {
      TShownErrors shown;
      TWindow form;
      const QString source = form.Path() + u"Aide.txt"_s;
      if (row.source == kBuilt) QVERIFY(QFile::copy(BuiltProgramFolder() + u"Aide.txt"_s, source));
      if (row.source == kBlank) {
        QFile blank(source);
        QVERIFY(blank.open(QIODevice::WriteOnly));
        blank.write("\n  \r\n");
      }
      QStringList calls;
      form.SetHelpPlatform(
          [&row] { return row.reader; },
          [&calls](const QString& verb, const QString& file) { calls << verb << file; });
      QTest::mouseClick(test::Control<TImageButton>(form, "bnAide"), Qt::LeftButton, {},
                        QPoint(20, 20));
      const QStringList opened =
          row.reader ? QStringList{u"OPEN"_s, form.Path() + u"Aide.pdf"_s} : QStringList();
      QCOMPARE(calls, opened);
      const QStringList message =
          row.message ? QStringList{QString::fromUtf8(row.message).arg(source)} : QStringList();
      QCOMPARE(shown.Texts(), message);
      auto* help = form.findChild<THelpWindow*>();
      const bool helpShown = !row.reader && row.source == kBuilt;
      QCOMPARE(help != nullptr && help->isVisible(), helpShown);
      if (!helpShown) continue;

      // The document's title and subtitle, as headings of the converted text.
      QCOMPARE(help->windowTitle(), u"Aide de Zerud uravizera4"_s);
      const QTextDocument* text = help->Browser()->document();
      QVERIFY(text->toPlainText().startsWith(u"Zerud uravizera4\nAide du jeu\n"_s));
      QCOMPARE(text->firstBlock().blockFormat().headingLevel(), 1);
      // A second press brings the same window forward.
      form.bnAideClick();
      QCOMPARE(form.findChildren<THelpWindow*>().size(), 1);
      QTest::keyClick(help->Browser(), Qt::Key_Escape);
      QTRY_VERIFY(!help->isVisible());
    }
  }

  void chatSendingFollowsTheSockets() {
    TWindow form;
    // The first "..." is selected with the focus, so typing replaces it.
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    test::Control<TChatField>(form, "EditChat")->setFocus();
    QTRY_COMPARE(test::Control<TChatField>(form, "EditChat")->selectedText(), u"..."_s);
    // No network window, or no open socket: the text stays.
    test::Control<TChatField>(form, "EditChat")->setText(u"salut"_s);
    form.bnEnvoyerChatClick();
    TRecordingLink link;
    form.GameLink()->SetNetworkLink(&link);
    QTest::mouseClick(test::Control<TSelButton>(form, "bnEnvoyerChat"), Qt::LeftButton, {},
                      QPoint(10, 10));
    QVERIFY(link.Sent.isEmpty());
    QCOMPARE(test::Control<TChatField>(form, "EditChat")->text(), u"salut"_s);

    // Client: a word is sent, an empty edit is not; Enter sends too.
    form.GameLink()->SetServerRole(false);
    form.GameLink()->EnterNetworkMode();
    form.GameLink()->StopMoves();
    form.bnEnvoyerChatClick();
    QCOMPARE(test::Control<TChatField>(form, "EditChat")->text(), QString());
    form.bnEnvoyerChatClick();
    QTest::keyClicks(test::Control<TChatField>(form, "EditChat"), u"coucou"_s);
    QTest::keyClick(test::Control<TChatField>(form, "EditChat"), Qt::Key_Return);
    QCOMPARE(link.Sent, (QStringList{u"chat salut"_s, u"chat coucou"_s}));
    // Server: even an empty line goes, while it listens.
    form.GameLink()->LeaveNetworkMode();
    form.GameLink()->SetServerRole(true);
    form.GameLink()->EnterNetworkMode();
    form.bnEnvoyerChatClick();
    QCOMPARE(link.Sent.size(), 3);
    QCOMPARE(link.Sent.last(), u"chat "_s);
    // Our own lines show in our chat memo too, in their own colour.
    QCOMPARE(test::Control<TChatMemo>(form, "MemoChat")->toPlainText(), u"salut\ncoucou\n\n"_s);
    const QTextBlock first = test::Control<TChatMemo>(form, "MemoChat")->document()->firstBlock();
    QCOMPARE(first.begin().fragment().charFormat().foreground().color(), skin::kOwnChat);
    // "Effacer" empties it.
    QTest::mouseClick(test::Control<TSelButton>(form, "bnClear"), Qt::LeftButton, {},
                      QPoint(10, 10));
    QVERIFY(test::Control<TChatMemo>(form, "MemoChat")->toPlainText().isEmpty());

    // A peer that never stops talking: the memo keeps only the newest lines.
    for (int i = 0; i < TFormMain::kChatLineLimit + 5; ++i)
      test::Control<TChatMemo>(form, "MemoChat")->appendPlainText(QString::number(i));
    QCOMPARE(test::Control<TChatMemo>(form, "MemoChat")->blockCount(), TFormMain::kChatLineLimit);
    QCOMPARE(test::Control<TChatMemo>(form, "MemoChat")->document()->firstBlock().text(), u"5"_s);
  }
};

QTEST_MAIN(TestFormMain)
#include "tst_FormMain.moc"
