// Whole games of the game model without a window: a fake view records what
// the game shows; clicks, the machine and the peer play through TGame.
#include <QCoreApplication>
#include <QTest>
#include <vector>

#include "GameTestSupport.h"
#include "game/Game.h"

using namespace zerud;
using namespace zerud::test;
using namespace Qt::StringLiterals;

namespace {

const QString kEnd = u"FIN DE LA PARTIE"_s;
const QString kRedWins = u"Joueur des pions rouges a gagné !"_s;
const QString kYellowWins = u"Joueur des pions jaunes a gagné !"_s;
const QString kLost = u"Désolé, vous avez perdu !"_s;

QString PeerLine(int player, int column) {
  return u"[ADVERSAIRE-%1] : Adversaire a joué la colonne n°%2"_s.arg(player).arg(column);
}

// What the game showed, as the window would have.
class TFakeView : public TGameView {
 public:
  struct TDrop {
    int Piece, Column, Row;
  };

  QStringList Log;
  std::array<bool, kColumns> Targets{};
  bool StartOn = true;
  bool Counting = false;
  bool AgainstMachineMode = false;
  int FirstPlayer = 0;
  bool GridRestored = false;
  std::vector<TDrop> Drops;
  TWinningLine Shown;
  int ShownPieces = 0;
  QStringList Errors;

  void ClearLog() override { Log.clear(); }
  void LogLine(const QString& line) override { Log << line; }
  void ScrollLogToLast() override {}
  void EnableColumnTargets(const std::array<bool, kColumns>& enabled) override {
    Targets = enabled;
  }
  void EnableStart(bool on) override { StartOn = on; }
  void PrepareSlots(int firstPlayer) override {
    FirstPlayer = firstPlayer;
    Drops.clear();
    Shown = TWinningLine();
  }
  void ClearAwayPieces(int) override {}
  void RestoreGrid() override { GridRestored = true; }
  void DropPiece(int piece, int column, int row) override { Drops.push_back({piece, column, row}); }
  void ShowGameEnd(const TWinningLine& line, int piecesPlayed) override {
    Shown = line;
    ShownPieces = piecesPlayed;
  }
  bool Animating() const override { return false; }
  void ResetClock() override {}
  void StartClock() override { Counting = true; }
  void StopClock() override { Counting = false; }
  void EnableClockTicks() override {}
  bool AgainstMachine() const override { return AgainstMachineMode; }
  void ReportError(const QString& text) override { Errors << text; }

  QString EnabledColumns() const {
    QString text;
    for (bool on : Targets) text += on ? u'1' : u'0';
    return text;
  }
  // The pieces of the winning line shown at the end: 1 for the first piece.
  QList<int> MarkedPieces() const {
    QList<int> marked;
    for (const TDrop& drop : Drops)
      for (int i = 0; i < Shown.Length; ++i)
        if (Shown.Cells[i] == TCell{drop.Row, drop.Column}) marked << drop.Piece;
    return marked;
  }
};

// A game and its fake view.
struct TTable {
  TFakeView view;
  TGame game{view};

  QString Grid() const { return QString::fromStdString(game.Grid().ToString()); }
  // "move <MoveNumber> player <CurrentPlayer> <playing|over> <targets> <counting|stopped>"
  QString Turn() const {
    return u"move %1 player %2 %3 %4 %5"_s.arg(game.MoveNumber)
        .arg(game.CurrentPlayer)
        .arg(game.GameOver ? "over" : "playing", view.EnabledColumns(),
             view.Counting ? "counting" : "stopped");
  }
  // Plays the columns of `moves` (one digit each) as clicks on enabled targets.
  void Click(const QString& moves) {
    for (QChar move : moves) {
      QVERIFY2(view.Targets[move.digitValue()], qPrintable(u"column %1 disabled"_s.arg(move)));
      game.PlayHumanMove(move.digitValue());
    }
  }
  // A network game as the client of a connected peer.
  void JoinAsClient(TRecordingLink& link) {
    game.SetNetworkLink(&link);
    game.NetworkGame = true;
    link.Active = true;
    link.Connected = true;
  }
  // A two-human game played with `moves`, then the network server listens.
  void ListenAfterLocalGame(TRecordingLink& link, const QString& moves) {
    game.SetNetworkLink(&link);
    game.StartGame();
    Click(moves);
    game.NetworkGame = true;
    link.Listening = true;
  }
  // In the mode against the machine, a start where the human begins.
  bool StartWithHumanFirst() {
    view.AgainstMachineMode = true;
    for (unsigned seed = 0; seed < 64; ++seed) {
      game.Random.Seed(seed);
      game.StartGame();
      if (game.MoveNumber == 1) return true;
    }
    return false;
  }
};

}  // namespace

class TestGame : public QObject {
  Q_OBJECT

 private slots:
  void twoHumansWholeGames_data() {
    QTest::addColumn<QString>("moves");
    QTest::addColumn<int>("winner");  // 0 for a draw
    QTest::newRow("red, row") << u"0011223"_s << 1;
    QTest::newRow("yellow, row") << u"60615253"_s << 2;
    QTest::newRow("red, column") << u"0101010"_s << 1;
    QTest::newRow("yellow, column") << u"60506050"_s << 2;
    QTest::newRow("red, down-right diagonal") << u"43223511211"_s << 1;
    QTest::newRow("yellow, down-right diagonal") << u"340612221311"_s << 2;
    QTest::newRow("red, down-left diagonal") << u"46143223344"_s << 1;
    QTest::newRow("yellow, down-left diagonal") << u"635144552666"_s << 2;
    QTest::newRow("draw on a full grid") << u"545062455041104565311226266362030334314210"_s << 0;
    // The 42nd piece fills the grid and makes a row: a win, not a draw.
    QTest::newRow("yellow, 42nd piece") << u"131266465341626025613300521133245552440004"_s << 2;
  }

  void twoHumansWholeGames() {
    QFETCH(QString, moves);
    QFETCH(int, winner);
    TTable t;
    // Whatever the random draw, player 1 begins, with the red pieces.
    t.game.Random.Seed(unsigned(qHash(moves)));
    t.game.StartGame();
    QCOMPARE(t.view.Log, (QStringList{kStart, kHumanBegins, QString()}));
    QCOMPARE(t.Turn(), u"move 1 player 1 playing 1111111 counting"_s);
    QCOMPARE(t.view.FirstPlayer, 1);
    t.Click(moves);

    QStringList expected{kStart, kHumanBegins, QString()};
    for (int i = 0; i < moves.size(); ++i) expected << HumanLine(i % 2 + 1, moves[i].digitValue());
    expected << QString() << kEnd
             << (winner == 0   ? u"Egalité !"_s
                 : winner == 1 ? kRedWins
                               : kYellowWins);
    QCOMPARE(t.view.Log, expected);
    QCOMPARE(t.Turn(), u"move %1 player %2 over 0000000 stopped"_s.arg(moves.size() + 1)
                           .arg(moves.size() % 2 + 1));
    QVERIFY(t.view.StartOn);

    // The four winning pieces are marked, all of the winner's colour.
    const QList<int> marked = t.view.MarkedPieces();
    QCOMPARE(marked.size(), winner == 0 ? 0 : 4);
    for (int k : marked) QCOMPARE(k % 2 == 1, winner == 1);
    QCOMPARE(t.view.ShownPieces, int(moves.size()));
  }

  void gamesAgainstTheMachine_data() {
    QTest::addColumn<QString>("moves");
    QTest::addColumn<bool>("humanWins");
    QTest::newRow("human wins") << u"3333"_s << true;
    QTest::newRow("machine wins") << u"6564"_s << false;
  }

  void gamesAgainstTheMachine() {
    QFETCH(QString, moves);
    QFETCH(bool, humanWins);
    // An empty pattern table: the machine plays the leftmost column with room.
    TTable t;
    QVERIFY(t.StartWithHumanFirst());
    t.Click(moves);
    QStringList expected{kStart, kHumanBegins, QString()};
    for (int i = 0; i < moves.size(); ++i) {
      expected << HumanLine(1, moves[i].digitValue());
      if (!humanWins || i + 1 < moves.size()) expected << kThinking << MachineLine(0);
    }
    expected << QString() << kEnd << (humanWins ? kRedWins : kLost);
    QCOMPARE(t.view.Log, expected);
    // The human's pieces are the odd ones.
    const QList<int> marked = t.view.MarkedPieces();
    QCOMPARE(marked.size(), 4);
    for (int k : marked) QCOMPARE(k % 2 == 1, humanWins);
    // After the machine's last move the targets are on again, but inert.
    QCOMPARE(t.Turn(), humanWins ? u"move 8 player 2 over 0000000 stopped"_s
                                 : u"move 9 player 1 over 1111111 stopped"_s);
    const QString grid = t.Grid();
    t.game.PlayHumanMove(3);
    QCOMPARE(t.Grid(), grid);
    QCOMPARE(t.view.Log, expected);
  }

  void networkGameStartedHere() {
    TTable t;
    TRecordingLink link;
    // Listening with nobody connected: the board is cleared, nothing starts.
    t.ListenAfterLocalGame(link, u"3"_s);
    t.game.StartGame();
    QVERIFY(t.view.Log.isEmpty());
    QCOMPARE(t.Grid(), kEmptyGrid);
    QCOMPARE(t.view.EnabledColumns(), u"0000000"_s);
    QVERIFY(link.Sent.isEmpty());
    QVERIFY(t.view.StartOn);
    QVERIFY(!t.view.Counting);

    link.Listening = false;
    t.JoinAsClient(link);
    t.game.StartGame();
    QCOMPARE(t.view.Log, (QStringList{kStart, u"MODE MULTI-JOUEURS"_s,
                                      u"Vous commencez la partie"_s, QString()}));
    QCOMPARE(link.Sent, QStringList{u"start"_s});
    QCOMPARE(t.Turn(), u"move 1 player 1 playing 1111111 counting"_s);

    // Our move is sent after it is played; then we wait for the peer.
    t.Click(u"3"_s);
    QCOMPARE(link.Sent.last(), u"move 3"_s);
    QCOMPARE(t.Turn(), u"move 2 player 2 playing 0000000 counting"_s);
    t.game.PlayPeerMove(u"4"_s);
    QCOMPARE(t.view.Log.mid(4), (QStringList{HumanLine(1, 3), PeerLine(2, 4)}));
    QCOMPARE(t.Turn(), u"move 3 player 1 playing 1111111 counting"_s);

    for (int i = 0; i < 2; ++i) {
      t.game.PlayHumanMove(3);
      t.game.PlayPeerMove(u"4"_s);
    }
    t.game.PlayHumanMove(3);
    QCOMPARE(t.view.Log.mid(t.view.Log.size() - 3),
             (QStringList{QString(), kEnd, u"Bravo, vous avez gagné !"_s}));
    QCOMPARE(link.Sent.last(), u"move 3"_s);
    QCOMPARE(t.Turn(), u"move 8 player 2 over 0000000 stopped"_s);
    QVERIFY(t.view.StartOn);
  }

  void peerStartsWinsAndEnds() {
    TTable t;
    TRecordingLink link;
    // A finished local game first.
    t.ListenAfterLocalGame(link, u"0101010"_s);
    link.Connections = 1;
    t.game.StartPeerGame();
    QCOMPARE(t.view.Log, (QStringList{kStart, u"MODE MULTI-JOUEURS"_s, kPeerBegins, QString()}));
    QCOMPARE(t.Grid(), kEmptyGrid);
    QCOMPARE(t.Turn(), u"move 1 player 1 playing 0000000 counting"_s);
    QVERIFY(t.view.GridRestored);
    QCOMPARE(t.view.FirstPlayer, 1);

    t.game.PlayPeerMove(u"0"_s);
    QCOMPARE(t.view.Log.last(), PeerLine(1, 0));
    QCOMPARE(t.Grid().right(7), u"1000000"_s);
    t.Click(u"2"_s);
    QCOMPARE(t.view.Log.last(), HumanLine(2, 2));
    QCOMPARE(link.Sent, QStringList{u"move 2"_s});
    // The peer wins with a column of four.
    for (int i = 0; i < 2; ++i) {
      t.game.PlayPeerMove(u"0"_s);
      t.Click(u"6"_s);
    }
    t.game.PlayPeerMove(u"0"_s);
    QCOMPARE(t.view.Log.mid(t.view.Log.size() - 3), (QStringList{QString(), kEnd, kLost}));
    // The end keeps the move number and the player of the last move.
    QCOMPARE(t.Turn(), u"move 7 player 1 over 0000000 stopped"_s);

    // "DATA_FIN": the game is over, nothing else changes.
    t.game.StartPeerGame();
    t.game.PlayPeerMove(u"5"_s);
    const QStringList lines = t.view.Log;
    t.game.EndAnnouncedByPeer();
    QVERIFY(t.game.GameOver);
    t.game.PlayHumanMove(1);
    QCOMPARE(t.view.Log, lines);
    QCOMPARE(t.Grid().right(7), u"0000010"_s);
  }

  void peerMoveTextIsChecked() {
    TTable t;
    TRecordingLink link;
    t.JoinAsClient(link);
    t.game.StartPeerGame();
    const QStringList lines = t.view.Log;

    // Outside the grid, ignored before anything changes; a value beyond 32
    // bits is no integer.
    for (const char* text : {"3x", "7", "-1", "99999999999", "2147483647"})
      t.game.PlayPeerMove(QString::fromLatin1(text));
    QCOMPARE(t.view.Errors,
             (QStringList{u"'3x' n'est pas une valeur entière correcte"_s,
                          u"'99999999999' n'est pas une valeur entière correcte"_s}));
    QCOMPARE(t.view.Log, lines);
    QCOMPARE(t.Grid(), kEmptyGrid);
    QCOMPARE(t.Turn(), u"move 1 player 1 playing 0000000 counting"_s);

    // A full column is ignored without a line.
    for (int i = 0; i < 3; ++i) {
      t.game.PlayPeerMove(u"2"_s);
      t.game.PlayHumanMove(2);
    }
    QCOMPARE(t.Grid()[2], u'2');
    const QStringList full = t.view.Log;
    t.game.PlayPeerMove(u"2"_s);
    QCOMPARE(t.view.Log, full);
    QCOMPARE(t.game.MoveNumber, 7);
  }
};

QTEST_GUILESS_MAIN(TestGame)
#include "tst_Game.moc"
