// The turns of a game, driven through the real main window: starts, human,
// machine and peer moves, wins, draws, the log lines and the clock.
#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <functional>
#include <memory>

#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/board/BoardView.h"
#include "game/board/LayeredImage.h"
#include "tests/game/GameTestSupport.h"

using namespace zerud;
using namespace zerud::test;

namespace {

const QString kStart = QStringLiteral("DEBUT DE LA PARTIE");
const QString kHumanBegins = QStringLiteral("Joueur \"HUMAIN-1\" commence");
const QString kMachineBegins = QStringLiteral("Joueur \"MACHINE\" commence");
const QString kThinking = QStringLiteral("[MACHINE] : Je réfléchis...");
const QString kEnd = QStringLiteral("FIN DE LA PARTIE");

QString HumanLine(int player, int column) {
  return QStringLiteral("[HUMAIN-%1] : Je joue la colonne n° %2").arg(player).arg(column);
}

QString MachineLine(int column) {
  return QStringLiteral("[MACHINE] : Je joue la colonne n° %1").arg(column);
}

// Plays the columns of `moves` (one digit each) by clicks on the targets.
void Click(TFormMain& form, const QString& moves) {
  for (QChar move : moves) {
    TColumnTarget* target = form.Colonne[move.digitValue()];
    QVERIFY2(target->isEnabled(), qPrintable(QStringLiteral("column %1 disabled").arg(move)));
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(35, 35));
  }
}

// A network game as the client of a connected peer.
void JoinAsClient(TFormMain& form, TRecordingLink& link) {
  form.SetNetworkLink(&link);
  form.NetworkGame = true;
  link.Active = true;
  link.Connected = true;
}

int MarkedCount(TFormMain& form) {
  int marked = 0;
  for (int k = 1; k <= 42; ++k) marked += form.BoardView().PieceSlot(k).Marked ? 1 : 0;
  return marked;
}

// The grid as it shows in the trace: six rows of seven cells.
QString TraceOf(const QString& grid) {
  QString trace;
  for (int row = 0; row < 6; ++row) trace += grid.mid(row * 7, 7) + QLatin1Char('\n');
  return trace + QLatin1Char('\n');
}

}  // namespace

class TestGameFlow : public QObject {
  Q_OBJECT

 private slots:
  void twoHumansWholeGames_data();
  void twoHumansWholeGames();
  void twoHumansPlayer1AlwaysBegins();
  void drawOnAFullGrid();
  void winWithTheLastPiece();
  void newGameClearsTheBoard();
  void machineBeginsWithARandomColumn();
  void humanBeatsTheMachine();
  void machineBeatsTheHuman();
  void machineAnswersAfterAPause();
  void badPatternTableStopsTheMachine();
  void clicksAfterTheEndDoNothing();
  void nothingStartsWhileAMoveRuns();
  void modeChangeFreezesTheGame();
  void traceAfterEveryClick();
  void nextPieceFollowsTheMouse();
  void networkStartWithoutPeerStartsNothing();
  void networkGameStartedHere();
  void networkGameStartedByThePeer();
  void peerWinsAndPeerEnds();
  void peerMoveTextIsChecked();
  void peerMessagesDuringAMoveWait();
};

void TestGameFlow::twoHumansWholeGames_data() {
  QTest::addColumn<QString>("moves");
  QTest::addColumn<int>("winner");
  QTest::newRow("red, row") << "0011223" << 1;
  QTest::newRow("yellow, row") << "60615253" << 2;
  QTest::newRow("red, column") << "0101010" << 1;
  QTest::newRow("yellow, column") << "60506050" << 2;
  QTest::newRow("red, down-right diagonal") << "43223511211" << 1;
  QTest::newRow("yellow, down-right diagonal") << "340612221311" << 2;
  QTest::newRow("red, down-left diagonal") << "46143223344" << 1;
  QTest::newRow("yellow, down-left diagonal") << "635144552666" << 2;
}

void TestGameFlow::twoHumansWholeGames() {
  QFETCH(QString, moves);
  QFETCH(int, winner);
  TWindow window;
  TFormMain& form = *window.form;
  StartTwoHumanGame(form);
  QCOMPARE(LogLines(form), (QStringList{kStart, kHumanBegins, QString()}));
  QCOMPARE(form.CurrentPlayer, 1);
  QCOMPARE(EnabledColumns(form), QStringLiteral("1111111"));
  Click(form, moves);

  QStringList expected{kStart, kHumanBegins, QString()};
  for (int i = 0; i < moves.size(); ++i) expected << HumanLine(i % 2 + 1, moves[i].digitValue());
  expected << QString() << kEnd
           << (winner == 1 ? QStringLiteral("Joueur des pions rouges a gagné !")
                           : QStringLiteral("Joueur des pions jaunes a gagné !"));
  QCOMPARE(LogLines(form), expected);
  QVERIFY(form.GameOver);
  QCOMPARE(form.MoveNumber, moves.size() + 1);
  QVERIFY(!form.Chrono->Counting());
  QVERIFY(form.bnStart->isEnabled());

  // The four winning pieces are marked, all of the winner's colour: red
  // pieces are the odd slots when player 1 begins.
  QCOMPARE(MarkedCount(form), 4);
  for (int k = 1; k <= 42; ++k) {
    if (form.BoardView().PieceSlot(k).Marked) QCOMPARE(k % 2 == 1, winner == 1);
  }
  // The pieces sit in their cells of the grid.
  const TPieceSlot& last = form.BoardView().PieceSlot(moves.size());
  QCOMPARE(last.Column, moves.back().digitValue());
  QCOMPARE(last.Layer->Location().Left, 266.0 + 70 * last.Column);
  QCOMPARE(last.Layer->Location().Top, 149.0 + 70 * last.Row);
  QCOMPARE(form.BoardView().GridLayer()->MasterAlpha(), 0);
}

void TestGameFlow::twoHumansPlayer1AlwaysBegins() {
  TWindow window;
  TFormMain& form = *window.form;
  form.cbJoueursHumains->click();
  const QImage red = form.BoardView().PieceSlot(1).Layer->Image();
  for (unsigned seed = 0; seed < 16; ++seed) {
    form.SeedRandom(seed);
    form.bnStartClick();
    QCOMPARE(LogLines(form), (QStringList{kStart, kHumanBegins, QString()}));
    QCOMPARE(form.MoveNumber, 1);
    QCOMPARE(form.BoardView().PieceSlot(1).Layer->Image(), red);
    QVERIFY(form.BoardView().PieceSlot(2).Layer->Image() != red);
  }
}

void TestGameFlow::drawOnAFullGrid() {
  TWindow window;
  TFormMain& form = *window.form;
  StartTwoHumanGame(form);
  const QString moves = QStringLiteral("545062455041104565311226266362030334314210");
  Click(form, moves);
  const QStringList lines = LogLines(form);
  QCOMPARE(lines.mid(lines.size() - 3),
           (QStringList{QString(), kEnd, QStringLiteral("Egalité !")}));
  QCOMPARE(lines.size(), 3 + 42 + 3);
  QVERIFY(form.GameOver);
  QCOMPARE(form.MoveNumber, 43);
  QCOMPARE(MarkedCount(form), 0);
  QVERIFY(!form.GridText().contains(QLatin1Char('0')));
  // Every column is full: the targets take no click.
  QCOMPARE(EnabledColumns(form), QStringLiteral("0000000"));
}

void TestGameFlow::winWithTheLastPiece() {
  TWindow window;
  TFormMain& form = *window.form;
  StartTwoHumanGame(form);
  Click(form, QStringLiteral("131266465341626025613300521133245552440004"));
  const QStringList lines = LogLines(form);
  // The 42nd piece fills the grid and makes a row: a win, not a draw.
  QCOMPARE(lines.mid(lines.size() - 3),
           (QStringList{QString(), kEnd, QStringLiteral("Joueur des pions jaunes a gagné !")}));
  QVERIFY(!lines.contains(QStringLiteral("Egalité !")));
  QCOMPARE(MarkedCount(form), 4);
}

void TestGameFlow::newGameClearsTheBoard() {
  TWindow window;
  TFormMain& form = *window.form;
  StartTwoHumanGame(form);
  Click(form, QStringLiteral("0101010"));
  QVERIFY(form.GameOver);
  QDateTime now = QDateTime::currentDateTime();
  form.Chrono->SetClock([&now] { return now; });

  QElapsedTimer timer;
  timer.start();
  form.bnStartClick();
  // The pieces fell away, then 200 ms passed.
  QVERIFY(timer.elapsed() >= 200);
  QCOMPARE(form.GridText(), QString(42, QLatin1Char('0')));
  QCOMPARE(form.MoveNumber, 1);
  QVERIFY(!form.GameOver);
  QCOMPARE(LogLines(form), (QStringList{kStart, kHumanBegins, QString()}));
  QCOMPARE(form.BoardView().GridLayer()->MasterAlpha(), 248);
  QCOMPARE(MarkedCount(form), 0);
  for (int k = 1; k <= 42; ++k) {
    QCOMPARE(form.BoardView().PieceSlot(k).Layer->Location().Top, -200.0);
  }
  // The clock counts from zero again.
  QVERIFY(form.Chrono->Counting());
  QCOMPARE(form.Chrono->Elapsed(), QStringLiteral("00:00:00"));

  // A start with no piece played begins at once, without clearing.
  timer.restart();
  form.bnStartClick();
  QVERIFY(timer.elapsed() < 200);
}

void TestGameFlow::machineBeginsWithARandomColumn() {
  TWindow window(TProgramFolder::kBoth, QByteArray(""));
  TFormMain& form = *window.form;
  QSet<int> columns;
  for (unsigned seed = 0; seed < 24; ++seed) {
    form.SeedRandom(seed);
    form.bnStartClick();
    const QStringList lines = LogLines(form);
    if (form.MoveNumber == 1) {
      QCOMPARE(lines[1], kHumanBegins);
      continue;
    }
    QCOMPARE(lines.mid(0, 4), (QStringList{kStart, kMachineBegins, QString(), kThinking}));
    QCOMPARE(lines.size(), 5);
    const int column = lines[4].right(1).toInt();
    QCOMPARE(lines[4], MachineLine(column));
    columns.insert(column);
    // The machine is player 2 with the yellow pieces; the human moves next
    // as player 1, in red.
    QCOMPARE(form.GridText()[35 + column], QLatin1Char('2'));
    QCOMPARE(form.BoardView().PieceSlot(1).Layer->Image(),
             form.BoardView().PieceSlot(3).Layer->Image());
    QVERIFY(form.BoardView().PieceSlot(1).Layer->Image() !=
            form.BoardView().PieceSlot(2).Layer->Image());
    const QImage yellowSlot = form.BoardView().PieceSlot(1).Layer->Image();
    QVERIFY(qRed(yellowSlot.pixel(35, 35)) > 150 && qGreen(yellowSlot.pixel(35, 35)) > 150);
    QCOMPARE(form.CurrentPlayer, 1);
    QCOMPARE(form.MoveNumber, 2);
    QCOMPARE(EnabledColumns(form), QStringLiteral("1111111"));
    QVERIFY(form.Chrono->Counting());
    const int clicked = (column + 1) % 7;
    Click(form, QString::number(clicked));
    QCOMPARE(LogLines(form)[5], HumanLine(1, clicked));
  }
  // An empty table would make a search play column 0 every time: the
  // opening column is drawn, not searched.
  QVERIFY2(columns.size() >= 3, qPrintable(QString::number(columns.size())));
}

void TestGameFlow::humanBeatsTheMachine() {
  // An empty pattern table: the machine plays the leftmost column with room.
  TWindow window(TProgramFolder::kBoth, QByteArray(""));
  TFormMain& form = *window.form;
  QVERIFY(StartWithHumanFirst(form));
  Click(form, QStringLiteral("3333"));
  QCOMPARE(LogLines(form),
           (QStringList{kStart, kHumanBegins, QString(), HumanLine(1, 3), kThinking, MachineLine(0),
                        HumanLine(1, 3), kThinking, MachineLine(0), HumanLine(1, 3), kThinking,
                        MachineLine(0), HumanLine(1, 3), QString(), kEnd,
                        QStringLiteral("Joueur des pions rouges a gagné !")}));
  QVERIFY(form.GameOver);
  QCOMPARE(MarkedCount(form), 4);
  QVERIFY(!form.Chrono->Counting());
}

void TestGameFlow::machineBeatsTheHuman() {
  TWindow window(TProgramFolder::kBoth, QByteArray(""));
  TFormMain& form = *window.form;
  QVERIFY(StartWithHumanFirst(form));
  Click(form, QStringLiteral("6564"));
  const QStringList lines = LogLines(form);
  QCOMPARE(lines.mid(lines.size() - 5), (QStringList{kThinking, MachineLine(0), QString(), kEnd,
                                                     QStringLiteral("Désolé, vous avez perdu !")}));
  QVERIFY(form.GameOver);
  QCOMPARE(form.MoveNumber, 9);
  // The targets are on again after the machine's last move, but inert.
  QCOMPARE(EnabledColumns(form), QStringLiteral("1111111"));
  const QString grid = form.GridText();
  Click(form, QStringLiteral("3"));
  QCOMPARE(form.GridText(), grid);
  QCOMPARE(LogLines(form), lines);
  // The marked pieces are the machine's yellow ones, slots 2, 4, 6, 8.
  for (int k : {2, 4, 6, 8}) QVERIFY(form.BoardView().PieceSlot(k).Marked);
}

void TestGameFlow::machineAnswersAfterAPause() {
  TWindow window(TProgramFolder::kBoth, QByteArray(""));
  TFormMain& form = *window.form;
  QVERIFY(StartWithHumanFirst(form));
  // From the human's piece settling in its cell to the machine's first line.
  QElapsedTimer timer;
  timer.start();
  qint64 settled = -1;
  qint64 thinking = -1;
  connect(form.BoardView().Image(), &TLayeredImage::LayerChanged, &form, [&] {
    if (thinking < 0) settled = timer.nsecsElapsed();
  });
  connect(form.MemoMessages->model(), &QAbstractItemModel::rowsInserted, &form, [&] {
    if (thinking < 0 && LogLines(form).last() == kThinking) thinking = timer.nsecsElapsed();
  });
  form.Colonne0Click(3);
  QVERIFY(settled > 0 && thinking > settled);
  QVERIFY2(thinking - settled >= 50'000'000, qPrintable(QString::number(thinking - settled)));
  QCOMPARE(LogLines(form).mid(3), (QStringList{HumanLine(1, 3), kThinking, MachineLine(0)}));
  QCOMPARE(form.GridText().right(7), QStringLiteral("2001000"));
  QCOMPARE(form.CurrentPlayer, 1);
  QCOMPARE(form.MoveNumber, 3);
}

void TestGameFlow::badPatternTableStopsTheMachine() {
  TShownErrors errors;
  TWindow window(TProgramFolder::kBoth, QByteArray("0|x\n"));
  TFormMain& form = *window.form;
  QVERIFY(StartWithHumanFirst(form));
  form.Colonne0Click(3);
  QCOMPARE(errors.Texts(),
           QStringList{QStringLiteral("'x' n'est pas une valeur entière correcte")});
  QCOMPARE(LogLines(form).last(), kThinking);
  // No machine piece; only a new game goes on.
  QCOMPARE(form.GridText().right(7), QStringLiteral("0001000"));
  QCOMPARE(EnabledColumns(form), QStringLiteral("0000000"));
  QVERIFY(!form.MoveUnderWay());
  form.bnStartClick();
  QCOMPARE(LogLines(form)[0], kStart);
}

void TestGameFlow::clicksAfterTheEndDoNothing() {
  TWindow window;
  TFormMain& form = *window.form;
  StartTwoHumanGame(form);
  Click(form, QStringLiteral("0101010"));
  const QStringList lines = LogLines(form);
  const QString grid = form.GridText();
  const int traceLines = form.Memo1->blockCount();
  QCOMPARE(EnabledColumns(form), QStringLiteral("0000000"));
  // Clicks reaching the handler all the same are inert.
  for (int c = 0; c < 7; ++c) form.Colonne0Click(c);
  QCOMPARE(LogLines(form), lines);
  QCOMPARE(form.GridText(), grid);
  QCOMPARE(form.MoveNumber, 8);
  // The trace grows all the same: seven lines per click.
  QCOMPARE(form.Memo1->blockCount(), traceLines + 7 * 7);
  // A full column takes no move either.
  TWindow other;
  StartTwoHumanGame(*other.form);
  Click(*other.form, QStringLiteral("000000"));
  const QStringList before = LogLines(*other.form);
  other.form->Colonne0Click(0);
  QCOMPARE(LogLines(*other.form), before);
  QCOMPARE(other.form->MoveNumber, 7);
  QVERIFY(!other.form->Colonne[0]->isEnabled());
}

void TestGameFlow::nothingStartsWhileAMoveRuns() {
  TWindow window(TProgramFolder::kBoth, QByteArray(""));
  TFormMain& form = *window.form;
  QVERIFY(StartWithHumanFirst(form));
  // Every frame of the falls lets other handlers run: they find every
  // target disabled, a second click and a new game do nothing.
  int frames = 0;
  QString enabledDuringMove;
  QObject::connect(form.BoardView().Image(), &TLayeredImage::LayerChanged, &form, [&] {
    ++frames;
    enabledDuringMove += EnabledColumns(form);
    form.Colonne0Click(5);
    form.bnStartClick();
  });
  form.Colonne0Click(3);
  QObject::disconnect(form.BoardView().Image(), &TLayeredImage::LayerChanged, &form, nullptr);
  QVERIFY(frames > 2);
  QCOMPARE(enabledDuringMove, QString(frames * 7, QLatin1Char('0')));
  QCOMPARE(form.GridText().right(7), QStringLiteral("2001000"));
  QCOMPARE(LogLines(form).mid(3), (QStringList{HumanLine(1, 3), kThinking, MachineLine(0)}));
  QCOMPARE(form.MoveNumber, 3);
  QVERIFY(!form.MoveUnderWay());
}

void TestGameFlow::modeChangeFreezesTheGame() {
  TWindow window;
  TFormMain& form = *window.form;
  StartTwoHumanGame(form);
  Click(form, QStringLiteral("3"));
  QCOMPARE(EnabledColumns(form), QStringLiteral("1111111"));
  form.bnOptionsClick();
  QTest::mouseClick(form.cbMachine, Qt::LeftButton, {}, QPoint(5, 12));
  form.bnFermerClick();
  QCOMPARE(EnabledColumns(form), QStringLiteral("0000000"));
  // A click on a disabled target is not delivered.
  const QString grid = form.GridText();
  QTest::mouseClick(form.Colonne[4], Qt::LeftButton, {}, QPoint(35, 35));
  QCOMPARE(form.GridText(), grid);
  // A new game ends the freeze.
  QVERIFY(StartWithHumanFirst(form));
  QCOMPARE(EnabledColumns(form), QStringLiteral("1111111"));
}

void TestGameFlow::traceAfterEveryClick() {
  TWindow window;
  TFormMain& form = *window.form;
  StartTwoHumanGame(form);
  Click(form, QStringLiteral("3"));
  const QString afterFirst = TraceOf(form.GridText());
  QCOMPARE(form.Memo1->toPlainText() + QLatin1Char('\n'), afterFirst);
  QCOMPARE(afterFirst.section(QLatin1Char('\n'), 5, 5), QStringLiteral("0001000"));
  Click(form, QStringLiteral("3"));
  QCOMPARE(form.Memo1->toPlainText() + QLatin1Char('\n'), afterFirst + TraceOf(form.GridText()));
  QCOMPARE(TraceOf(form.GridText()).section(QLatin1Char('\n'), 4, 5),
           QStringLiteral("0002000\n0001000"));
}

void TestGameFlow::nextPieceFollowsTheMouse() {
  TWindow window;
  TFormMain& form = *window.form;
  StartTwoHumanGame(form);
  const auto moveOver = [&form](int column) {
    QMouseEvent move(QEvent::MouseMove, QPointF(30, 30),
                     form.Colonne[column]->mapToGlobal(QPointF(30, 30)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(form.Colonne[column], &move);
  };
  moveOver(2);
  TImageLayer* next = form.BoardView().PieceSlot(1).Layer;
  QCOMPARE(next->Location().Left, 406.0);
  QCOMPARE(next->Location().Top, 69.0);
  Click(form, QStringLiteral("2"));
  moveOver(5);
  QCOMPARE(form.BoardView().PieceSlot(2).Layer->Location().Left, 616.0);
  QCOMPARE(form.BoardView().PieceSlot(1).Layer->Location().Top, 149.0 + 5 * 70);
  // After the end the mouse moves nothing.
  Click(form, QStringLiteral("0101010"));
  QVERIFY(form.GameOver);
  const TFloatRect parked = form.BoardView().PieceSlot(form.MoveNumber).Layer->Location();
  form.Colonne[4]->setEnabled(true);
  moveOver(4);
  QCOMPARE(form.BoardView().PieceSlot(form.MoveNumber).Layer->Location(), parked);
}

void TestGameFlow::networkStartWithoutPeerStartsNothing() {
  TWindow window;
  TFormMain& form = *window.form;
  TRecordingLink link;
  form.SetNetworkLink(&link);
  StartTwoHumanGame(form);
  Click(form, QStringLiteral("3"));
  form.NetworkGame = true;
  link.Listening = true;  // listening, but nobody connected
  form.bnStartClick();
  QVERIFY(LogLines(form).isEmpty());
  QCOMPARE(form.GridText(), QString(42, QLatin1Char('0')));
  QCOMPARE(EnabledColumns(form), QStringLiteral("0000000"));
  QVERIFY(link.Sent.isEmpty());
  QVERIFY(form.bnStart->isEnabled());
  QVERIFY(!form.Chrono->Counting());
}

void TestGameFlow::networkGameStartedHere() {
  TWindow window;
  TFormMain& form = *window.form;
  TRecordingLink link;
  JoinAsClient(form, link);
  form.bnStartClick();
  QCOMPARE(LogLines(form), (QStringList{kStart, QStringLiteral("MODE MULTI-JOUEURS"),
                                        QStringLiteral("Vous commencez la partie"), QString()}));
  QCOMPARE(link.Sent, QStringList{QStringLiteral("INIT|xxx")});
  QCOMPARE(EnabledColumns(form), QStringLiteral("1111111"));
  QVERIFY(form.Chrono->Counting());

  // Our move is sent after it is played; then we wait for the peer.
  Click(form, QStringLiteral("3"));
  QCOMPARE(link.Sent.last(), QStringLiteral("DATA_GAME|3"));
  QCOMPARE(EnabledColumns(form), QStringLiteral("0000000"));
  QCOMPARE(form.CurrentPlayer, 2);
  form.PlayOpponentMove(QStringLiteral("4"));
  QCOMPARE(LogLines(form).mid(4),
           (QStringList{HumanLine(1, 3), QStringLiteral("[ADVERSAIRE-2] : Adversaire a joué "
                                                        "la colonne n°4")}));
  QCOMPARE(EnabledColumns(form), QStringLiteral("1111111"));
  QCOMPARE(form.MoveNumber, 3);
  QCOMPARE(form.CurrentPlayer, 1);

  // Our win.
  form.Colonne0Click(3);
  form.PlayOpponentMove(QStringLiteral("4"));
  form.Colonne0Click(3);
  form.PlayOpponentMove(QStringLiteral("4"));
  form.Colonne0Click(3);
  QCOMPARE(LogLines(form).mid(LogLines(form).size() - 3),
           (QStringList{QString(), kEnd, QStringLiteral("Bravo, vous avez gagné !")}));
  QCOMPARE(link.Sent.last(), QStringLiteral("DATA_GAME|3"));
  QVERIFY(form.GameOver);
  QVERIFY(form.bnStart->isEnabled());
}

void TestGameFlow::networkGameStartedByThePeer() {
  TWindow window;
  TFormMain& form = *window.form;
  TRecordingLink link;
  form.SetNetworkLink(&link);
  // A finished local game first: the grid faded out.
  StartTwoHumanGame(form);
  Click(form, QStringLiteral("0101010"));
  QCOMPARE(form.BoardView().GridLayer()->MasterAlpha(), 0);

  form.NetworkGame = true;
  link.Listening = true;
  link.Connections = 1;
  form.StartOpponentGame();
  QCOMPARE(LogLines(form),
           (QStringList{kStart, QStringLiteral("MODE MULTI-JOUEURS"),
                        QStringLiteral("Votre adversaire commence la partie"), QString()}));
  QCOMPARE(form.GridText(), QString(42, QLatin1Char('0')));
  QCOMPARE(form.MoveNumber, 1);
  QCOMPARE(form.CurrentPlayer, 1);
  QVERIFY(!form.GameOver);
  QCOMPARE(EnabledColumns(form), QStringLiteral("0000000"));
  QCOMPARE(form.BoardView().GridLayer()->MasterAlpha(), 256);
  QCOMPARE(MarkedCount(form), 0);
  QVERIFY(form.Chrono->Counting() && form.Chrono->Enabled());

  form.PlayOpponentMove(QStringLiteral("3"));
  QCOMPARE(LogLines(form).last(),
           QStringLiteral("[ADVERSAIRE-1] : Adversaire a joué la colonne n°3"));
  QCOMPARE(form.GridText().right(7), QStringLiteral("0001000"));
  Click(form, QStringLiteral("2"));
  QCOMPARE(LogLines(form).last(), HumanLine(2, 2));
  QCOMPARE(link.Sent, QStringList{QStringLiteral("DATA_GAME|2")});
}

void TestGameFlow::peerWinsAndPeerEnds() {
  TWindow window;
  TFormMain& form = *window.form;
  TRecordingLink link;
  JoinAsClient(form, link);
  form.StartOpponentGame();
  for (const char* column : {"0", "6", "0", "6", "0", "6"}) {
    if (form.CurrentPlayer == 1) {
      form.PlayOpponentMove(QString::fromLatin1(column));
    } else {
      Click(form, QString::fromLatin1(column));
    }
  }
  form.PlayOpponentMove(QStringLiteral("0"));
  QCOMPARE(LogLines(form).mid(LogLines(form).size() - 3),
           (QStringList{QString(), kEnd, QStringLiteral("Désolé, vous avez perdu !")}));
  QVERIFY(form.GameOver);
  // The end keeps the move number and the player of the last move.
  QCOMPARE(form.MoveNumber, 7);
  QCOMPARE(form.CurrentPlayer, 1);
  QVERIFY(!form.Chrono->Counting());

  // "DATA_FIN": the game is over, nothing else changes.
  form.StartOpponentGame();
  form.PlayOpponentMove(QStringLiteral("5"));
  const QStringList lines = LogLines(form);
  form.EndAnnouncedByPeer();
  QVERIFY(form.GameOver);
  QCOMPARE(LogLines(form), lines);
  form.Colonne0Click(1);
  QCOMPARE(LogLines(form), lines);
  QCOMPARE(form.GridText().right(7), QStringLiteral("0000010"));
}

void TestGameFlow::peerMoveTextIsChecked() {
  TShownErrors errors;
  TWindow window;
  TFormMain& form = *window.form;
  TRecordingLink link;
  JoinAsClient(form, link);
  form.StartOpponentGame();
  const QStringList lines = LogLines(form);

  form.PlayOpponentMove(QStringLiteral("3x"));
  QCOMPARE(errors.Texts(),
           QStringList{QStringLiteral("'3x' n'est pas une valeur entière correcte")});
  // Outside the grid, ignored; before anything changes.
  for (const char* text : {"7", "-1", "99999999999", "2147483647"}) {
    form.PlayOpponentMove(QString::fromLatin1(text));
  }
  QCOMPARE(errors.Texts().size(), 2);  // the value beyond 32 bits is no integer
  QCOMPARE(LogLines(form), lines);
  QCOMPARE(form.GridText(), QString(42, QLatin1Char('0')));
  QCOMPARE(form.MoveNumber, 1);
  QCOMPARE(form.CurrentPlayer, 1);

  // A full column is ignored without a line.
  for (int i = 0; i < 3; ++i) {
    form.PlayOpponentMove(QStringLiteral("2"));
    form.Colonne0Click(2);
  }
  QCOMPARE(form.GridText().mid(2, 1), QStringLiteral("2"));
  const QStringList full = LogLines(form);
  const int moveNumber = form.MoveNumber;
  form.PlayOpponentMove(QStringLiteral("2"));
  QCOMPARE(LogLines(form), full);
  QCOMPARE(form.MoveNumber, moveNumber);
}

// Runs `action` once, at the first frame of the next animation; `ran` tells
// whether it did.
static void OnceDuringTheNextMove(TFormMain& form, bool& ran, std::function<void()> action) {
  ran = false;
  auto hook = std::make_shared<QMetaObject::Connection>();
  *hook = QObject::connect(form.BoardView().Image(), &TLayeredImage::LayerChanged, &form,
                           [hook, &ran, action] {
                             QObject::disconnect(*hook);
                             ran = true;
                             action();
                           });
}

void TestGameFlow::peerMessagesDuringAMoveWait() {
  TWindow window;
  TFormMain& form = *window.form;
  TRecordingLink link;
  JoinAsClient(form, link);
  form.bnStartClick();
  // The peer's move and a new game arrive while our piece falls: they are
  // played once the move is over, in order.
  bool ran = false;
  OnceDuringTheNextMove(form, ran, [&form] {
    form.PlayOpponentMove(QStringLiteral("5"));
    form.StartOpponentGame();
  });
  Click(form, QStringLiteral("3"));
  QVERIFY(ran);
  QCOMPARE(link.Sent.last(), QStringLiteral("DATA_GAME|3"));
  QTRY_COMPARE(LogLines(form).value(2), QStringLiteral("Votre adversaire commence la partie"));
  QCOMPARE(form.GridText(), QString(42, QLatin1Char('0')));
  QCOMPARE(form.MoveNumber, 1);

  // A peer flooding us during a fall: only so many of its messages are kept.
  TShownErrors errors;
  form.PlayOpponentMove(QStringLiteral("3"));
  OnceDuringTheNextMove(form, ran, [&form] {
    for (int i = 0; i < 1000; ++i) form.PlayOpponentMove(QStringLiteral("x"));
  });
  Click(form, QStringLiteral("3"));
  QVERIFY(ran);
  QTRY_COMPARE(errors.Texts().size(), int(TFormMain::kDeferredLimit));
  QTest::qWait(20);
  QCOMPARE(errors.Texts().size(), int(TFormMain::kDeferredLimit));

  // A game end sent meanwhile waits its turn too: it comes after the new game.
  form.PlayOpponentMove(QStringLiteral("2"));
  OnceDuringTheNextMove(form, ran, [&form] { form.StartOpponentGame(); });
  Click(form, QStringLiteral("3"));
  QVERIFY(ran);
  form.EndAnnouncedByPeer();
  QTRY_COMPARE(form.MoveNumber, 1);
  QVERIFY(form.GameOver);
}

QTEST_MAIN(TestGameFlow)
#include "tst_GameFlow.moc"
