// The game model without a window: a fake view records what the game shows.
// Whole games through clicks, the machine and the peer, and one table of
// what each event does in each phase of a game.
#include <QCoreApplication>
#include <QTest>
#include <functional>
#include <vector>

#include "GameTestSupport.h"
#include "game/model/Game.h"

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

// What the game showed, as the window would have. The hooks run once, in the
// middle of a move: while a piece falls, while the machine thinks, while the
// end is shown.
class TFakeView : public TGameView {
 public:
  struct TDrop {
    int Piece, Column, Row;
  };

  QStringList Log;
  QList<TSpeaker> Speakers;
  QStringList Chat;
  std::array<bool, kColumns> Targets{};
  bool StartOn = true;
  bool Counting = false;
  TPlayMode BoxesShow = TPlayMode::Machine;
  int FirstPlayer = 0;
  bool GridRestored = false;
  std::vector<TDrop> Drops;
  TWinningLine Shown;
  int ShownPieces = 0;
  QStringList Errors;
  int Clears = 0;
  QList<int> TakenBack;
  bool Reopened = false;
  QString Score = u"0-0"_s;  // as the window starts
  QString Result;
  std::function<void()> DuringFall, DuringThinking, DuringEnd;

  void ClearLog() override {
    Log.clear();
    Speakers.clear();
    ++Clears;
  }
  void LogLine(const QString& line, TSpeaker speaker) override {
    Log << line;
    Speakers << speaker;
    if (line == kThinking) RunOnce(DuringThinking);
  }
  void ScrollLogToLast() override {}
  void AppendChatLine(const QString& line, bool own) override {
    Chat << (own ? u"me: "_s : u"peer: "_s) + line;
  }
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
  void DropPiece(int piece, int column, int row) override {
    Drops.push_back({piece, column, row});
    RunOnce(DuringFall);
  }
  void PlacePiece(int piece, int column, int row) override {
    Drops.push_back({piece, column, row});
  }
  void ShowGameEnd(const TWinningLine& line, int piecesPlayed) override {
    Shown = line;
    ShownPieces = piecesPlayed;
    RunOnce(DuringEnd);
  }
  void TakeBackPiece(int piece) override { TakenBack << piece; }
  void ReopenGame() override { Reopened = true; }
  void ShowScore(const QString& text) override { Score = text; }
  void ShowResult(const QString& text) override { Result = text; }
  void ResetClock() override {}
  void StartClock() override { Counting = true; }
  void StopClock() override { Counting = false; }
  void EnableClockTicks() override {}
  void ShowSelectedMode(TPlayMode mode) override { BoxesShow = mode; }
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
        if (Shown.Cells[i].Column == drop.Column && Shown.Cells[i].Row == drop.Row)
          marked << drop.Piece;
    return marked;
  }

 private:
  static void RunOnce(std::function<void()>& hook) {
    if (auto run = std::exchange(hook, nullptr)) run();
  }
};

// The sounds the game asked for, a letter each: Landing, Won, Xlost,
// Draw, Chat.
struct TSoundLog : TSoundPlayer {
  QString Heard;
  void Play(TSound sound) override { Heard += QStringLiteral("LWXDC")[int(sound)]; }
};

// A game and its fake view, link and sound player.
struct TTable {
  TFakeView view;
  TRecordingLink link;
  TSoundLog sounds;
  TGame game{view};

  // Two humans unless a row asks for the machine.
  TTable() {
    game.SetNetworkLink(&link);
    game.SetSoundPlayer(&sounds);
    game.SelectMode(TPlayMode::TwoHumans);
  }
  // A click on the mode box already chosen.
  void SameModeClicked() { game.SelectMode(game.SelectedMode()); }

  QString Grid() const { return QString::fromStdString(game.Grid().ToString()); }
  // From here on, what the game logs, sends and shows counts as new.
  void Mark() {
    logged = view.Log.size();
    sent = link.Sent.size();
    clears = view.Clears;
    view.Chat.clear();
  }
  // The log lines since the mark (all of them after a new game), then
  // "sent <message>" and "chat <line>".
  QStringList Added() const {
    QStringList added = view.Log.mid(view.Clears != clears ? 0 : logged);
    for (const QString& message : link.Sent.mid(sent)) added << u"sent "_s + message;
    for (const QString& line : view.Chat) added << u"chat "_s + line;
    return added;
  }
  qsizetype logged = 0, sent = 0;
  int clears = 0;
  // "move <MoveNumber> player <CurrentPlayer> <playing|over> <targets> <counting|stopped>"
  QString Turn() const {
    return u"move %1 player %2 %3 %4 %5"_s.arg(game.MoveNumber())
        .arg(game.CurrentPlayer())
        .arg(game.GameOver() ? "over" : "playing", view.EnabledColumns(),
             view.Counting ? "counting" : "stopped");
  }
  // What the peer sent is handled from the event loop.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  // Plays the columns of `moves` (one digit each) as clicks on enabled targets.
  void Click(const QString& moves) {
    for (QChar move : moves) {
      QVERIFY2(view.Targets[move.digitValue()], qPrintable(u"column %1 disabled"_s.arg(move)));
      QVERIFY(game.PlayHumanMove(move.digitValue()));
    }
  }
  void Peer(const QString& column) {
    game.PlayPeerMove(column);
    Settle();
  }
  // A connection with a peer there.
  void Connect(bool client = true) {
    game.SetServerRole(!client);
    game.ConnectionOpening();
    game.PeerConnected();
  }
  // In the mode against the machine, a start where the human begins, or
  // where the machine does.
  bool StartWithHumanFirst(bool human = true) {
    game.SelectMode(TPlayMode::Machine);
    for (unsigned seed = 0; seed < 64; ++seed) {
      game.SeedRandom(seed);
      game.StartGame();
      if ((game.MoveNumber() == 1) == human) return true;
    }
    return false;
  }
};

// The phases a game goes through, each entered with the event under test
// fired in it: at once, or in the middle of a move by the view's hooks.
enum class TSetup {
  NoGame,
  MachineWaiting,
  MachineThinking,
  TwoHumansFalling,
  Interrupted,
  NetworkOurTurn,
  NetworkPeersTurn,
  NetworkFalling,
  NetworkEndShown,
  NetworkOver,
  TwoHumansOver,
  NetworkPeerFalling,
};

// What the game logs, sends and shows counts from the mark, made just before
// the event or the move it comes in the middle of.
void Enter(TTable& t, TSetup setup, const std::function<void()>& event) {
  auto now = [&] {
    t.Mark();
    event();
  };
  auto duringMove = [&](std::function<void()>& hook, const QString& column) {
    hook = event;
    t.Mark();
    t.Click(column);
  };
  switch (setup) {
    case TSetup::NoGame:
      now();
      break;
    case TSetup::MachineWaiting:
      QVERIFY(t.StartWithHumanFirst());
      now();
      break;
    case TSetup::MachineThinking:
      QVERIFY(t.StartWithHumanFirst());
      duringMove(t.view.DuringThinking, u"3"_s);
      break;
    case TSetup::TwoHumansFalling:
      t.game.StartGame();
      duringMove(t.view.DuringFall, u"3"_s);
      break;
    case TSetup::TwoHumansOver:
      t.game.StartGame();
      t.Click(u"0101010"_s);
      now();
      break;
    case TSetup::NetworkPeerFalling:
      t.Connect();
      t.game.StartPeerGame();
      TTable::Settle();
      t.view.DuringFall = event;
      t.Mark();
      t.Peer(u"3"_s);
      break;
    case TSetup::Interrupted:
      QVERIFY(t.StartWithHumanFirst());
      t.SameModeClicked();
      now();
      break;
    case TSetup::NetworkOurTurn:
      t.Connect();
      t.game.StartGame();
      now();
      break;
    case TSetup::NetworkPeersTurn:
      t.Connect();
      t.game.StartPeerGame();
      TTable::Settle();
      now();
      break;
    case TSetup::NetworkFalling:
      t.Connect();
      t.game.StartGame();
      duringMove(t.view.DuringFall, u"3"_s);
      break;
    case TSetup::NetworkEndShown:
    case TSetup::NetworkOver:
      // We win with a column of four.
      t.Connect();
      t.game.StartGame();
      for (int i = 0; i < 3; ++i) {
        t.Click(u"3"_s);
        t.Peer(u"4"_s);
      }
      if (setup == TSetup::NetworkEndShown) {
        duringMove(t.view.DuringEnd, u"3"_s);
      } else {
        t.Click(u"3"_s);
        now();
      }
      break;
  }
  TTable::Settle();
}

// In the order of TPhase.
const char* const kPhaseNames[] = {"no game",  "starting",  "waiting", "falling",
                                   "thinking", "end shown", "over",    "interrupted"};

// "<phase>, <who moves>, move <n>, targets <0/1 x 7>, start <on|off>,
// clock <on|off>, may <what the menu and its keys may do: start undo hint>"
QString State(const TTable& t) {
  const char* turn = t.game.Turn() == TMover::Local     ? "local"
                     : t.game.Turn() == TMover::Machine ? "machine"
                                                        : "peer";
  QStringList may;
  if (t.game.MayStartGame()) may << u"start"_s;
  if (t.game.CanUndo()) may << u"undo"_s;
  if (t.game.MayAskHint()) may << u"hint"_s;
  return u"%1, %2, move %3, targets %4, start %5, clock %6, may %7"_s
      .arg(kPhaseNames[int(t.game.Phase())], turn)
      .arg(t.game.MoveNumber())
      .arg(t.view.EnabledColumns(), t.view.StartOn ? "on" : "off", t.view.Counting ? "on" : "off",
           may.isEmpty() ? u"nothing"_s : may.join(u' '));
}

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
    t.game.SeedRandom(unsigned(qHash(moves)));
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
                               : kYellowWins)
             << (winner == 0   ? u"Score : 0 - 0, 1 nul(s)"_s
                 : winner == 1 ? u"Score : 1 - 0"_s
                               : u"Score : 0 - 1"_s);
    QCOMPARE(t.view.Log, expected);
    QCOMPARE(t.Turn(), u"move %1 player %2 over 0000000 stopped"_s.arg(moves.size() + 1)
                           .arg(moves.size() % 2 + 1));
    QVERIFY(t.view.StartOn);

    // The four winning pieces are marked, all of the winner's colour.
    const QList<int> marked = t.view.MarkedPieces();
    QCOMPARE(marked.size(), winner == 0 ? 0 : 4);
    for (int k : marked) QCOMPARE(k % 2 == 1, winner == 1);
    QCOMPARE(t.view.ShownPieces, int(moves.size()));

    // The history holds every move, by whom and in which colour.
    QCOMPARE(t.game.Moves().size(), std::size_t(moves.size()));
    for (int i = 0; i < moves.size(); ++i) {
      const TPlayedMove& move = t.game.Moves()[std::size_t(i)];
      QCOMPARE(move.Column, moves[i].digitValue());
      QCOMPARE(move.Player, i % 2 + 1);
      QVERIFY(move.By == TMover::Local);
    }
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
    expected << QString() << kEnd << (humanWins ? kRedWins : kLost)
             << (humanWins ? u"Score : 1 - 0"_s : u"Score : 0 - 1"_s);
    QCOMPARE(t.view.Log, expected);
    // Each line comes with its speaker.
    QCOMPARE(t.view.Speakers.mid(3, 3),
             (QList<TSpeaker>{TSpeaker::Human1, TSpeaker::Machine, TSpeaker::Machine}));
    QCOMPARE(t.view.Speakers.last(), TSpeaker::None);
    // The human's pieces are the odd ones.
    const QList<int> marked = t.view.MarkedPieces();
    QCOMPARE(marked.size(), 4);
    for (int k : marked) QCOMPARE(k % 2 == 1, humanWins);
    QCOMPARE(t.Turn(), humanWins ? u"move 8 player 2 over 0000000 stopped"_s
                                 : u"move 9 player 1 over 0000000 stopped"_s);
    QVERIFY(t.game.Moves().back().By == (humanWins ? TMover::Local : TMover::Machine));
    const QString grid = t.Grid();
    QVERIFY(!t.game.PlayHumanMove(3));
    QCOMPARE(t.Grid(), grid);
    QCOMPARE(t.view.Log, expected);
  }

  void networkGameStartedHere() {
    TTable t;
    // Listening with nobody connected: the board is cleared, nothing starts.
    t.game.StartGame();
    t.Click(u"3"_s);
    t.game.ConnectionOpening();
    t.game.StartGame();
    QVERIFY(t.view.Log.isEmpty());
    QCOMPARE(t.Grid(), kEmptyGrid);
    QCOMPARE(t.view.EnabledColumns(), u"0000000"_s);
    QVERIFY(t.link.Sent.isEmpty());
    QVERIFY(t.view.StartOn);
    QVERIFY(!t.view.Counting);

    t.Connect();
    t.game.StartGame();
    QCOMPARE(t.view.Log, (QStringList{kStart, u"MODE MULTI-JOUEURS"_s,
                                      u"Vous commencez la partie"_s, QString()}));
    QCOMPARE(t.link.Sent, QStringList{u"start"_s});
    QCOMPARE(t.Turn(), u"move 1 player 1 playing 1111111 counting"_s);

    // Our move is sent after it is played; then we wait for the peer.
    t.Click(u"3"_s);
    QCOMPARE(t.link.Sent.last(), u"move 3"_s);
    QCOMPARE(t.Turn(), u"move 2 player 2 playing 0000000 counting"_s);
    t.Peer(u"4"_s);
    QCOMPARE(t.view.Log.mid(4), (QStringList{HumanLine(1, 3), PeerLine(2, 4)}));
    QCOMPARE(t.view.Speakers.mid(4), (QList<TSpeaker>{TSpeaker::Human1, TSpeaker::Peer}));
    QCOMPARE(t.Turn(), u"move 3 player 1 playing 1111111 counting"_s);

    for (int i = 0; i < 2; ++i) {
      t.Click(u"3"_s);
      t.Peer(u"4"_s);
    }
    t.Click(u"3"_s);
    QCOMPARE(t.view.Log.mid(t.view.Log.size() - 4),
             (QStringList{QString(), kEnd, u"Bravo, vous avez gagné !"_s, u"Score : 1 - 0"_s}));
    QCOMPARE(t.link.Sent.last(), u"move 3"_s);
    QCOMPARE(t.Turn(), u"move 8 player 2 over 0000000 stopped"_s);
    QVERIFY(t.view.StartOn);
  }

  void peerStartsWinsAndEnds() {
    TTable t;
    // A finished local game first.
    t.game.StartGame();
    t.Click(u"0101010"_s);
    t.Connect(false);
    t.game.StartPeerGame();
    TTable::Settle();
    QCOMPARE(t.view.Log, (QStringList{kStart, u"MODE MULTI-JOUEURS"_s, kPeerBegins, QString()}));
    QCOMPARE(t.Grid(), kEmptyGrid);
    QCOMPARE(t.Turn(), u"move 1 player 1 playing 0000000 counting"_s);
    QVERIFY(t.view.GridRestored);
    QCOMPARE(t.view.FirstPlayer, 1);
    QVERIFY(!t.view.StartOn);

    t.Peer(u"0"_s);
    QCOMPARE(t.view.Log.last(), PeerLine(1, 0));
    QCOMPARE(t.Grid().right(7), u"1000000"_s);
    t.Click(u"2"_s);
    QCOMPARE(t.view.Log.last(), HumanLine(2, 2));
    QCOMPARE(t.view.Speakers.last(), TSpeaker::Human2);
    QCOMPARE(t.link.Sent, QStringList{u"move 2"_s});
    // The peer wins with a column of four.
    for (int i = 0; i < 2; ++i) {
      t.Peer(u"0"_s);
      t.Click(u"6"_s);
    }
    t.Peer(u"0"_s);
    QCOMPARE(t.view.Log.mid(t.view.Log.size() - 4),
             (QStringList{QString(), kEnd, kLost, u"Score : 0 - 1"_s}));
    // The end keeps the move number and the player of the last move.
    QCOMPARE(t.Turn(), u"move 7 player 1 over 0000000 stopped"_s);
    QVERIFY(t.view.StartOn);

    // "DATA_FIN": the game is over, nothing else changes.
    t.game.StartPeerGame();
    t.Peer(u"5"_s);
    const QStringList lines = t.view.Log;
    t.game.EndAnnouncedByPeer();
    TTable::Settle();
    QVERIFY(t.game.GameOver());
    QVERIFY(!t.game.PlayHumanMove(1));
    QCOMPARE(t.view.Log, lines);
    QCOMPARE(t.Grid().right(7), u"0000010"_s);
  }

  void peerMoveTextIsChecked() {
    TTable t;
    t.Connect();
    t.game.StartPeerGame();
    TTable::Settle();
    t.Mark();

    // Outside the grid, ignored before anything changes; a value beyond 32
    // bits is no integer. A text that is no number is one line of the log,
    // its control characters shown, at most 64 of its characters repeated.
    const QString x64 = QString(64, u'x');
    for (const QString& text : {u"3x"_s, u"7"_s, u"-1"_s, u"99999999999"_s, u"2147483647"_s, x64,
                                x64 + u"y"_s, u"0\n\r\t\u0085\u202E"_s})
      t.game.PlayPeerMove(text);
    TTable::Settle();
    const QString bad = u"'%1' n'est pas une valeur entière correcte"_s;
    QCOMPARE(t.Added(), (QStringList{bad.arg(u"3x"_s), bad.arg(u"99999999999"_s), bad.arg(x64),
                                     bad.arg(x64 + u"…"_s),
                                     bad.arg(u"0\u240A\u240D\u2409<U+0085><U+202E>"_s)}));
    QVERIFY(t.view.Errors.isEmpty());
    QCOMPARE(t.Grid(), kEmptyGrid);
    QCOMPARE(t.Turn(), u"move 1 player 1 playing 0000000 counting"_s);

    // A full column is ignored without a line.
    for (int i = 0; i < 3; ++i) {
      t.Peer(u"2"_s);
      t.Click(u"2"_s);
    }
    QCOMPARE(t.Grid()[2], u'2');
    const QStringList full = t.view.Log;
    t.Peer(u"2"_s);
    QCOMPARE(t.view.Log, full);
    QCOMPARE(t.game.MoveNumber(), 7);
  }

  // Each event in each phase: the state after it, the log lines it added,
  // the messages sent to the peer and the chat lines shown.
  void eventsInEachPhase_data() {
    QTest::addColumn<int>("setup");
    QTest::addColumn<QString>("event");
    QTest::addColumn<QString>("state");
    QTest::addColumn<QStringList>("added");  // log lines, then "sent ..." and "chat ..."
    auto row = [](const char* name, TSetup setup, const char* event, const char* state,
                  QStringList added = {}) {
      QTest::newRow(name) << int(setup) << QString::fromLatin1(event) << QString::fromUtf8(state)
                          << added;
    };
    const QString interrupted =
        u"Partie interrompue : cliquez sur « Nouvelle partie » pour rejouer."_s;
    const QString gone = u"La connexion avec votre adversaire est perdue."_s;
    const QString badColumn = u"'0\u240A' n'est pas une valeur entière correcte"_s;

    // Nothing started: clicks and keys find no game.
    row("no game: click", TSetup::NoGame, "click",
        "no game, local, move 1, targets 0000000, start on, clock off, may start");
    row("no game: mode", TSetup::NoGame, "mode",
        "no game, local, move 1, targets 0000000, start on, clock off, may start");
    row("no game: a peer's move changes nothing", TSetup::NoGame, "peer move",
        "no game, local, move 1, targets 0000000, start on, clock off, may start");
    row("no game: a peer's bad column is one line", TSetup::NoGame, "bad column",
        "no game, local, move 1, targets 0000000, start on, clock off, may start", {badColumn});

    // A human to move against the machine.
    row("machine, waiting: click", TSetup::MachineWaiting, "click",
        "waiting, local, move 3, targets 1111111, start on, clock on, may start undo hint",
        {HumanLine(1, 0), kThinking, MachineLine(0)});
    row("machine, waiting: mode freezes", TSetup::MachineWaiting, "mode",
        "interrupted, local, move 1, targets 0000000, start on, clock off, may start",
        {interrupted});
    row("machine, waiting: Connexion freezes", TSetup::MachineWaiting, "connexion",
        "interrupted, local, move 1, targets 0000000, start on, clock off, may start",
        {interrupted});
    row("machine, waiting: a lost connection is not this game's", TSetup::MachineWaiting, "lost",
        "waiting, local, move 1, targets 1111111, start on, clock on, may start hint");

    // The machine thinking: no second move, no new game; a freeze waits for
    // the machine's piece.
    row("thinking: click", TSetup::MachineThinking, "click",
        "waiting, local, move 3, targets 1111111, start on, clock on, may start undo hint",
        {HumanLine(1, 3), kThinking, MachineLine(0)});
    row("thinking: start refused", TSetup::MachineThinking, "start",
        "waiting, local, move 3, targets 1111111, start on, clock on, may start undo hint",
        {HumanLine(1, 3), kThinking, MachineLine(0)});
    row("thinking: mode", TSetup::MachineThinking, "mode",
        "interrupted, local, move 3, targets 0000000, start on, clock off, may start",
        {HumanLine(1, 3), kThinking, MachineLine(0), interrupted});
    row("thinking: Connexion", TSetup::MachineThinking, "connexion",
        "interrupted, local, move 3, targets 0000000, start on, clock off, may start",
        {HumanLine(1, 3), kThinking, MachineLine(0), interrupted});

    // A piece falling with two humans.
    row("two humans, falling: click", TSetup::TwoHumansFalling, "click",
        "waiting, local, move 2, targets 1111111, start on, clock on, may start undo hint",
        {HumanLine(1, 3)});
    row("two humans, falling: start refused", TSetup::TwoHumansFalling, "start",
        "waiting, local, move 2, targets 1111111, start on, clock on, may start undo hint",
        {HumanLine(1, 3)});
    row("two humans, falling: mode", TSetup::TwoHumansFalling, "mode",
        "interrupted, local, move 2, targets 0000000, start on, clock off, may start",
        {HumanLine(1, 3), interrupted});

    // Frozen: only a new game goes on.
    row("interrupted: click", TSetup::Interrupted, "click",
        "interrupted, local, move 1, targets 0000000, start on, clock off, may start");
    row("interrupted: start", TSetup::Interrupted, "start",
        "waiting, local, move 1, targets 1111111, start on, clock on, may start hint",
        {kStart, kHumanBegins, QString()});

    // A network game, our turn.
    row("network, our turn: click sends", TSetup::NetworkOurTurn, "click",
        "waiting, peer, move 2, targets 0000000, start on, clock on, may start",
        {HumanLine(1, 0), u"sent move 0"_s});
    row("network, our turn: the peer's move out of turn changes nothing", TSetup::NetworkOurTurn,
        "peer move", "waiting, local, move 1, targets 1111111, start on, clock on, may start hint");
    row("network, our turn: chat", TSetup::NetworkOurTurn, "chat",
        "waiting, local, move 1, targets 1111111, start on, clock on, may start hint",
        {u"chat peer: salut"_s, u"chat shown at once"_s});
    row("network, our turn: mode boxes do nothing", TSetup::NetworkOurTurn, "mode",
        "waiting, local, move 1, targets 1111111, start on, clock on, may start hint");
    row("network, our turn: peer lost", TSetup::NetworkOurTurn, "lost",
        "over, local, move 1, targets 0000000, start on, clock off, may start", {gone});

    // A network game, the peer's turn.
    row("network, peer's turn: click", TSetup::NetworkPeersTurn, "click",
        "waiting, peer, move 1, targets 0000000, start off, clock on, may nothing");
    row("network, peer's turn: peer's move", TSetup::NetworkPeersTurn, "peer move",
        "waiting, local, move 2, targets 1111111, start off, clock on, may hint", {PeerLine(1, 5)});
    row("network, peer's turn: a second move in a row changes nothing", TSetup::NetworkPeersTurn,
        "peer move, peer move",
        "waiting, local, move 2, targets 1111111, start off, clock on, may hint", {PeerLine(1, 5)});
    row("network, peer's turn: a bad column is one line", TSetup::NetworkPeersTurn, "bad column",
        "waiting, peer, move 1, targets 0000000, start off, clock on, may nothing", {badColumn});
    row("network, peer's turn: peer's end", TSetup::NetworkPeersTurn, "peer end",
        "over, peer, move 1, targets 0000000, start off, clock on, may nothing");
    row("network, peer's turn: peer lost", TSetup::NetworkPeersTurn, "lost",
        "over, peer, move 1, targets 0000000, start on, clock off, may start", {gone});
    row("network, peer's turn: new game after the loss is local", TSetup::NetworkPeersTurn,
        "lost, start",
        "waiting, local, move 1, targets 1111111, start on, clock on, may start hint",
        {kStart, kHumanBegins, QString()});

    // Our piece falling: the peer's messages wait for its end, in order; a
    // lost peer ends the game once the piece has landed.
    row("network, falling: peer's move waits", TSetup::NetworkFalling, "peer move",
        "waiting, local, move 3, targets 1111111, start off, clock on, may hint",
        {HumanLine(1, 3), PeerLine(2, 5), u"sent move 3"_s});
    row("network, falling: peer's new game waits", TSetup::NetworkFalling, "peer start",
        "waiting, peer, move 1, targets 0000000, start off, clock on, may nothing",
        {kStart, u"MODE MULTI-JOUEURS"_s, kPeerBegins, QString(), u"sent move 3"_s});
    row("network, falling: peer lost", TSetup::NetworkFalling, "lost",
        "over, peer, move 2, targets 0000000, start on, clock off, may start",
        {HumanLine(1, 3), gone, u"sent move 3"_s});
    row("network, falling: what the peer sent before it left still counts", TSetup::NetworkFalling,
        "peer move, lost", "over, local, move 3, targets 0000000, start on, clock off, may start",
        {HumanLine(1, 3), PeerLine(2, 5), gone, u"sent move 3"_s});
    row("network, falling: click", TSetup::NetworkFalling, "click",
        "waiting, peer, move 2, targets 0000000, start on, clock on, may start",
        {HumanLine(1, 3), u"sent move 3"_s});
    row("network, falling: chat passes", TSetup::NetworkFalling, "chat",
        "waiting, peer, move 2, targets 0000000, start on, clock on, may start",
        {HumanLine(1, 3), u"sent move 3"_s, u"chat peer: salut"_s, u"chat shown at once"_s});

    // The end shown: the peer's new game waits for it, and keeps the start
    // button off.
    row("network, end shown: peer's new game", TSetup::NetworkEndShown, "peer start",
        "waiting, peer, move 1, targets 0000000, start off, clock on, may nothing",
        {kStart, u"MODE MULTI-JOUEURS"_s, kPeerBegins, QString(), u"sent move 3"_s});
    row("network, end shown: start refused", TSetup::NetworkEndShown, "start",
        "over, peer, move 8, targets 0000000, start on, clock off, may start",
        {HumanLine(1, 3), QString(), kEnd, u"Bravo, vous avez gagné !"_s, u"Score : 1 - 0"_s,
         u"sent move 3"_s});

    // After the end.
    row("network, over: click", TSetup::NetworkOver, "click",
        "over, peer, move 8, targets 0000000, start on, clock off, may start");
    row("network, over: the peer's move changes nothing", TSetup::NetworkOver, "peer move",
        "over, peer, move 8, targets 0000000, start on, clock off, may start");
    row("network, over: peer lost", TSetup::NetworkOver, "lost",
        "over, peer, move 8, targets 0000000, start on, clock off, may start");

    // A finished local game stays as it is once a connection is wanted:
    // nothing plays, undoes or reopens it, not even after the connection.
    row("two humans, over: Connexion, undo", TSetup::TwoHumansOver, "connexion, undo",
        "over, local, move 8, targets 0000000, start on, clock off, may start");
    row("two humans, over: Connexion, click", TSetup::TwoHumansOver, "connexion, click",
        "over, local, move 8, targets 0000000, start on, clock off, may start");
    row("two humans, over: Connexion, lost, undo", TSetup::TwoHumansOver, "connexion, lost, undo",
        "over, local, move 8, targets 0000000, start on, clock off, may start");
    row("interrupted: Connexion, the peer's end, undo", TSetup::Interrupted,
        "connexion, peer end, undo",
        "over, local, move 1, targets 0000000, start on, clock off, may start");

    // The options panel covers the board: no start, no undo, no hint.
    row("two humans, over: options, start", TSetup::TwoHumansOver, "options, start",
        "over, local, move 8, targets 0000000, start on, clock off, may nothing");
    row("two humans, over: options, undo", TSetup::TwoHumansOver, "options, undo",
        "over, local, move 8, targets 0000000, start on, clock off, may nothing");
    row("machine, waiting: options", TSetup::MachineWaiting, "options",
        "waiting, local, move 1, targets 1111111, start on, clock on, may nothing");

    // A chat line shows while the peer's piece falls.
    row("network, peer's piece falling: chat", TSetup::NetworkPeerFalling, "chat",
        "waiting, local, move 2, targets 1111111, start off, clock on, may hint",
        {PeerLine(1, 3), u"chat peer: salut"_s, u"chat shown at once"_s});
  }

  void undoInEachModeAndPhase_data();
  void undoInEachModeAndPhase();
  void scoreCountsAndStartsAgain();
  void soundsOfEachEvent();

  void eventsInEachPhase() {
    QFETCH(int, setup);
    QFETCH(QString, event);
    QFETCH(QString, state);
    QFETCH(QStringList, added);
    TTable t;
    auto fire = [&] {
      for (const QString& name : event.split(u", "_s)) {
        if (name == u"click") t.game.PlayHumanMove(0);
        if (name == u"undo") t.game.UndoLastMove();
        if (name == u"options") t.game.SetOptionsOpen(true);
        if (name == u"start") t.game.StartGame();
        if (name == u"mode") t.SameModeClicked();
        if (name == u"connexion") t.game.ConnectionOpening();
        if (name == u"lost") {
          t.game.ConnectionLost();
        }
        if (name == u"peer move") t.game.PlayPeerMove(u"5"_s);
        if (name == u"bad column") t.game.PlayPeerMove(u"0\n"_s);
        if (name == u"peer start") t.game.StartPeerGame();
        if (name == u"peer end") t.game.EndAnnouncedByPeer();
        if (name == u"chat") {
          t.game.ShowPeerChat(u"salut"_s);
          if (!t.view.Chat.isEmpty()) t.view.Chat << u"shown at once"_s;
        }
      }
    };
    Enter(t, TSetup(setup), fire);
    QCOMPARE(State(t), state);
    QCOMPARE(t.Added(), added);
  }
};

namespace {

// The state an undo leaves: "<moves played> moves, player <n>, <phase>,
// score <shown>, result <shown>"; then the log lines it added.
QString UndoState(const TTable& t) {
  return u"%1 moves, player %2, %3, score %4, result %5"_s.arg(t.game.Moves().size())
      .arg(t.game.CurrentPlayer())
      .arg(kPhaseNames[int(t.game.Phase())], t.view.Score,
           t.view.Result.isEmpty() ? u"none"_s : t.view.Result);
}

QString Undone(int column) { return u"Coup annulé : colonne n° %1"_s.arg(column); }

struct TUndoCase {
  const char* name;
  // Plays up to the undo, which it asks for itself when it comes in the
  // middle of a move.
  std::function<void(TTable&)> play;
  const char* state;
  QStringList undone;       // the log lines added from the mark
  bool duringMove = false;  // `play` marks and asks for the undo itself
};

// An empty pattern table: the machine plays the leftmost column with room.
const std::vector<TUndoCase>& UndoCases() {
  static const std::vector<TUndoCase> cases = {
      {"machine: your move and its reply",
       [](TTable& t) {
         QVERIFY(t.StartWithHumanFirst());
         t.Click(u"3"_s);
       },
       "0 moves, player 1, waiting, score 0-0, result none",
       {Undone(0), Undone(3)}},
      {"machine opened: its first piece stays",
       [](TTable& t) {
         QVERIFY(t.StartWithHumanFirst(false));
         t.Click(u"3"_s);
       },
       "1 moves, player 1, waiting, score 0-0, result none",
       {Undone(0), Undone(3)}},
      {"machine opened, nothing of yours yet",
       [](TTable& t) { QVERIFY(t.StartWithHumanFirst(false)); },
       "1 moves, player 1, waiting, score 0-0, result none",
       {}},
      {"machine won: its four and your move",
       [](TTable& t) {
         QVERIFY(t.StartWithHumanFirst());
         t.Click(u"6564"_s);
       },
       "6 moves, player 1, waiting, score 0-0, result none",
       {Undone(0), Undone(4)}},
      {"you won against the machine",
       [](TTable& t) {
         QVERIFY(t.StartWithHumanFirst());
         t.Click(u"3333"_s);
       },
       "6 moves, player 1, waiting, score 0-0, result none",
       {Undone(3)}},
      {"while the machine thinks: after its move",
       [](TTable& t) {
         QVERIFY(t.StartWithHumanFirst());
         t.view.DuringThinking = [&t] { t.game.UndoLastMove(); };
         t.Mark();
         t.Click(u"3"_s);
       },
       "0 moves, player 1, waiting, score 0-0, result none",
       {HumanLine(1, 3), kThinking, MachineLine(0), Undone(0), Undone(3)},
       true},
      {"two humans: one move",
       [](TTable& t) {
         t.game.StartGame();
         t.Click(u"34"_s);
       },
       "1 moves, player 2, waiting, score 0-0, result none",
       {Undone(4)}},
      {"two humans, nothing played",
       [](TTable& t) { t.game.StartGame(); },
       "0 moves, player 1, waiting, score 0-0, result none",
       {}},
      {"two humans, during a fall: once it has landed",
       [](TTable& t) {
         t.game.StartGame();
         t.view.DuringFall = [&t] { t.game.UndoLastMove(); };
         t.Mark();
         t.Click(u"3"_s);
       },
       "0 moves, player 1, waiting, score 0-0, result none",
       {HumanLine(1, 3), Undone(3)},
       true},
      {"two humans, after the end: the game reopens",
       [](TTable& t) {
         t.game.StartGame();
         t.Click(u"0101010"_s);
       },
       "6 moves, player 1, waiting, score 0-0, result none",
       {Undone(0)}},
      {"frozen by a change of mode",
       [](TTable& t) {
         t.game.StartGame();
         t.Click(u"3"_s);
         t.SameModeClicked();
       },
       "1 moves, player 2, interrupted, score 0-0, result none",
       {}},
      {"network game",
       [](TTable& t) {
         t.Connect();
         t.game.StartGame();
         t.Click(u"3"_s);
       },
       "1 moves, player 2, waiting, score 0-0, result none",
       {}},
  };
  return cases;
}

}  // namespace

void TestGame::undoInEachModeAndPhase_data() {
  QTest::addColumn<int>("index");
  for (std::size_t i = 0; i < UndoCases().size(); ++i) QTest::newRow(UndoCases()[i].name) << int(i);
}

// Undo by mode, phase and moves played: what is taken back, whose turn it
// is, and that a finished game reopens with its result taken off the score.
void TestGame::undoInEachModeAndPhase() {
  QFETCH(int, index);
  const TUndoCase& c = UndoCases()[std::size_t(index)];
  TTable t;
  c.play(t);
  if (!c.duringMove) {
    t.Mark();
    t.game.UndoLastMove();
  }
  TTable::Settle();
  QCOMPARE(UndoState(t), QString::fromLatin1(c.state));
  QCOMPARE(t.Added(), c.undone);
  QCOMPARE(t.view.TakenBack.size(), c.undone.filter(u"Coup annulé"_s).size());
  if (!c.undone.isEmpty()) {
    QVERIFY(t.view.Counting);
    QVERIFY(t.game.LocalMayMove());
  }
}

// The games won, by colour, since the opponent last changed: another mode,
// or a connection made.
void TestGame::scoreCountsAndStartsAgain() {
  TTable t;
  t.game.StartGame();
  t.Click(u"0101010"_s);  // red
  QCOMPARE(t.view.Result, u"Les rouges gagnent !"_s);
  t.game.StartGame();
  QVERIFY(t.view.Result.isEmpty());
  t.Click(u"60506050"_s);  // yellow
  QCOMPARE(t.view.Result, u"Les jaunes gagnent !"_s);
  t.game.StartGame();
  t.Click(u"545062455041104565311226266362030334314210"_s);  // a draw
  QCOMPARE(t.view.Log.last(), u"Score : 1 - 1, 1 nul(s)"_s);
  QCOMPARE(t.view.Score, u"1-1"_s);
  QCOMPARE(t.view.Result, u"Égalité !"_s);

  // The same mode box clicked again keeps the count; the other one resets it.
  t.SameModeClicked();
  QCOMPARE(t.view.Score, u"1-1"_s);
  t.game.SelectMode(TPlayMode::Machine);
  QCOMPARE(t.view.BoxesShow, TPlayMode::Machine);
  QCOMPARE(t.view.Score, u"0-0"_s);
  QVERIFY(t.StartWithHumanFirst());
  t.Click(u"3333"_s);
  QCOMPARE(t.view.Result, u"Gagné !"_s);
  QCOMPARE(t.view.Score, u"1-0"_s);

  // A connection brings another opponent.
  t.Connect();
  QCOMPARE(t.view.Score, u"0-0"_s);
  t.game.StartPeerGame();
  TTable::Settle();
  for (int i = 0; i < 3; ++i) {
    t.Peer(u"0"_s);
    t.Click(u"6"_s);
  }
  t.Peer(u"0"_s);
  QCOMPARE(t.view.Result, u"Perdu !"_s);
  // Over the network the score counts players, this one first: the peer
  // won with red.
  QCOMPARE(t.view.Log.last(), u"Score : 0 - 1"_s);
  // Then we begin, with red, and win: one each.
  t.game.StartGame();
  for (int i = 0; i < 3; ++i) {
    t.Click(u"3"_s);
    t.Peer(u"4"_s);
  }
  t.Click(u"3"_s);
  QCOMPARE(t.view.Log.last(), u"Score : 1 - 1"_s);
  QCOMPARE(t.view.Score, u"1-1"_s);
}

// Every piece knocks as it lands, the result follows the end from the
// player's side, a peer's chat line chimes; nothing else makes a sound.
// Each row plays steps: "humans <columns>", "machine <columns>" (we begin),
// "peer <its columns>/<ours>" (one each in turn, the peer first), "undo",
// "chat", "end" (its DATA_FIN), "lost" (the connection).
void TestGame::soundsOfEachEvent() {
  const std::pair<QString, QString> rows[] = {
      {u"humans 0101010"_s, u"LLLLLLLW"_s},
      {u"humans 60506050"_s, u"LLLLLLLLW"_s},
      {u"humans 545062455041104565311226266362030334314210"_s, QString(42, u'L') + u'D'},
      {u"humans 3, undo"_s, u"L"_s},
      {u"machine 3333"_s, u"LLLLLLLW"_s},
      {u"peer 0000/666, end"_s, u"LLLLLLLX"_s},
      {u"peer 0011/6666"_s, u"LLLLLLLLW"_s},
      {u"peer /, chat, lost"_s, u"C"_s},
  };
  for (const auto& [steps, heard] : rows) {
    TTable t;
    for (const QString& step : steps.split(u", "_s)) {
      const QString moves = step.section(u' ', 1);
      if (step.startsWith(u"humans")) {
        t.game.StartGame();
        t.Click(moves);
      } else if (step.startsWith(u"machine")) {
        QVERIFY(t.StartWithHumanFirst());
        t.Click(moves);
      } else if (step.startsWith(u"peer")) {
        t.Connect();
        t.game.StartPeerGame();
        TTable::Settle();
        const QString peer = moves.section(u'/', 0, 0), ours = moves.section(u'/', 1);
        for (qsizetype i = 0; i < peer.size(); ++i) {
          t.Peer(peer.mid(i, 1));
          if (i < ours.size()) t.Click(ours.mid(i, 1));
        }
      }
      if (step == u"undo") t.game.UndoLastMove();
      if (step == u"chat") t.game.ShowPeerChat(u"salut"_s);
      if (step == u"end") t.game.EndAnnouncedByPeer();
      if (step == u"lost") t.game.ConnectionLost();
      TTable::Settle();
    }
    QVERIFY2(t.sounds.Heard == heard, qPrintable(steps + u": "_s + t.sounds.Heard));
  }
}

QTEST_GUILESS_MAIN(TestGame)
#include "tst_Game.moc"
