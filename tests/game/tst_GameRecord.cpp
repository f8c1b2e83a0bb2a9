// The record of a game: reading one (legal games and each kind of refusal),
// a game set up from one in each local mode and phase, and redo after undo
// and after a new move. A small fake view records what the game shows.
#include <QCoreApplication>
#include <QTest>

#include "game/model/Game.h"
#include "game/model/GameRecord.h"

using namespace zerud;
using namespace Qt::StringLiterals;

namespace {

class TPasteView : public TGameView {
 public:
  QStringList Log;
  std::array<bool, kColumns> Targets{};
  int FirstPlayer = 0;
  QList<int> Placed;  // the pieces put straight into their cells
  QList<int> Dropped;
  QString Result;
  bool Counting = false;
  std::function<void()> DuringFall, DuringClear;

  void ClearLog() override { Log.clear(); }
  void LogLine(const QString& line, TSpeaker) override { Log << line; }
  void ScrollLogToLast() override {}
  void AppendChatLine(const QString&, bool) override {}
  void EnableColumnTargets(const std::array<bool, kColumns>& enabled) override {
    Targets = enabled;
  }
  void EnableStart(bool) override {}
  void PrepareSlots(int firstPlayer) override {
    FirstPlayer = firstPlayer;
    Placed.clear();
    Dropped.clear();
  }
  void ClearAwayPieces(int) override {
    if (auto run = std::exchange(DuringClear, nullptr)) run();
  }
  void RestoreGrid() override {}
  void DropPiece(int piece, int, int) override {
    Dropped << piece;
    if (auto run = std::exchange(DuringFall, nullptr)) run();
  }
  void PlacePiece(int piece, int, int) override { Placed << piece; }
  void ShowGameEnd(const TWinningLine&, int) override {}
  void TakeBackPiece(int) override {}
  void ReopenGame() override {}
  void ShowScore(const QString&) override {}
  void ShowResult(const QString& text) override { Result = text; }
  void ResetClock() override {}
  void StartClock() override { Counting = true; }
  void StopClock() override { Counting = false; }
  void EnableClockTicks() override {}
  void ShowSelectedMode(TPlayMode) override {}
  void ReportError(const QString&) override {}
};

// A game against an empty pattern table: the machine plays the leftmost
// column with room.
struct TPasteTable {
  TPasteView view;
  TGame game{view};

  TPasteTable() { game.SelectMode(TPlayMode::TwoHumans); }
  void Select(bool machine) {
    if ((game.SelectedMode() == TPlayMode::Machine) != machine)
      game.SelectMode(machine ? TPlayMode::Machine : TPlayMode::TwoHumans);
  }

  // The moves played, who played them and whose turn it is:
  // "4453 LMLM, local to move" (the record, then L local, M machine).
  QString Moves() const {
    QString by;
    for (const TPlayedMove& move : game.Moves()) by += move.By == TMover::Local ? u'L' : u'M';
    const char* phase = game.GameOver()       ? "over"
                        : game.LocalMayMove() ? "local to move"
                        : game.MoveUnderWay() ? "move under way"
                                              : "no move";
    return u"%1 %2, %3"_s.arg(game.Record(), by, QLatin1String(phase));
  }
  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }
  void StartMachineGameHumanFirst() {
    Select(true);
    for (unsigned seed = 0; seed < 64 && !(game.LocalMayMove() && game.MoveNumber() == 1); ++seed) {
      game.SeedRandom(seed);
      game.StartGame();
    }
  }
};

}  // namespace

class TestGameRecord : public QObject {
  Q_OBJECT

 private slots:
  void readingRecords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("read");  // the columns again, or the refusal
    auto row = [](const char* name, const QString& text, const QString& read) {
      QTest::newRow(name) << text << read;
    };
    row("one move", u"4"_s, u"4"_s);
    row("a game", u"4453"_s, u"4453"_s);
    row("blanks around", u"  4453\n"_s, u"4453"_s);
    row("a column filled to the top", u"444444"_s, u"444444"_s);
    row("ends with a four", u"1212121"_s, u"1212121"_s);
    row("a full grid, drawn", u"656173566152215676422337377473141445425321"_s,
        u"656173566152215676422337377473141445425321"_s);
    row("nothing", u" \n"_s, u"Partie refusée : aucun coup à coller."_s);
    row("a zero", u"4403"_s,
        u"Partie refusée : « 0 » n'est pas une colonne de 1 à 7 (coup n° 3)."_s);
    row("an eight", u"8"_s,
        u"Partie refusée : « 8 » n'est pas une colonne de 1 à 7 (coup n° 1)."_s);
    row("a blank inside", u"44 53"_s,
        u"Partie refusée : « U+0020 » n'est pas une colonne de 1 à 7 (coup n° 3)."_s);
    row("a control character", u"4\t4"_s,
        u"Partie refusée : « U+0009 » n'est pas une colonne de 1 à 7 (coup n° 2)."_s);
    row("a letter after 42 moves", QString(42, u'1') + u'x',
        u"Partie refusée : « x » n'est pas une colonne de 1 à 7 (coup n° 43)."_s);
    row("a full column", u"4444444"_s, u"Partie refusée : la colonne 4 est pleine au coup n° 7."_s);
    row("a move after a four", u"12121213"_s,
        u"Partie refusée : le coup n° 8 suit un alignement de quatre."_s);
    row("43 moves", QString(43, u'1'), u"Partie refusée : plus de 42 coups."_s);
    row("a long text", QString(100000, u'4') + u'x', u"Partie refusée : plus de 42 coups."_s);
  }

  void readingRecords() {
    QFETCH(QString, text);
    QFETCH(QString, read);
    const TRecord record = ReadRecord(text);
    QCOMPARE(record.Playable() ? RecordText(record.Columns) : record.Refusal, read);
  }

  // Each row: the mode, what comes before the paste, the record, and the
  // moves, their players and the turn after it.
  void pasteInEachModeAndPhase_data() {
    QTest::addColumn<bool>("machine");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("after");
    auto row = [](const char* name, bool machine, const char* before, const char* record,
                  const char* after) {
      QTest::newRow(name) << machine << QString::fromLatin1(before) << QString::fromLatin1(record)
                          << QString::fromLatin1(after);
    };
    row("two humans, no game yet", false, "", "4453", "4453 LLLL, local to move");
    row("two humans, mid-game", false, "start 1", "445", "445 LLL, local to move");
    row("two humans, after the end", false, "start 1212121", "44", "44 LL, local to move");
    row("two humans, frozen", false, "start 1, mode", "4", "4 L, local to move");
    // You take the side to move, the machine the other one.
    row("machine, red to move", true, "machine 4", "4453", "4453 LMLM, local to move");
    row("machine, yellow to move", true, "machine 4", "445", "445 MLM, local to move");
    row("a record that ends the game", true, "", "1212121", "1212121 MLMLMLM, over");
    row("refused: the game stays", false, "start 12", "448", "12 LL, local to move");
    row("refused while a piece falls", false, "start, fall 1", "44", "1 L, local to move");
    row("refused in a network game", false, "network", "44", " , no move");
    row("a connection opens while the pieces fall away", false, "start 1, connect while clearing",
        "44", " , no move");
  }

  void pasteInEachModeAndPhase() {
    QFETCH(bool, machine);
    QFETCH(QString, before);
    QFETCH(QString, record);
    QFETCH(QString, after);
    TPasteTable t;
    bool pasted = false;
    for (const QString& step : before.split(u", "_s, Qt::SkipEmptyParts)) {
      const QString columns = step.section(u' ', 1);
      if (step.startsWith(u"start")) t.game.StartGame();
      if (step.startsWith(u"machine")) t.StartMachineGameHumanFirst();
      if (step == u"mode") t.game.SelectMode(t.game.SelectedMode());
      if (step == u"connect while clearing")
        t.view.DuringClear = [&] { t.game.ConnectionOpening(); };
      if (step == u"network") {
        t.game.ConnectionOpening();
        t.game.PeerConnected();
      }
      if (step.startsWith(u"fall")) {
        t.view.DuringFall = [&] { t.game.PasteRecord(record); };
        pasted = true;
      }
      if (!step.startsWith(u"connect"))
        for (QChar c : columns) QVERIFY(t.game.PlayHumanMove(c.digitValue() - 1));
    }
    t.Select(machine);
    if (!pasted) t.game.PasteRecord(record);
    TPasteTable::Settle();
    QCOMPARE(t.Moves(), after);
    const bool refused = !after.startsWith(record);
    if (refused) return;
    // Red began; the pieces stand in their cells; the log says what was pasted.
    QCOMPARE(t.view.FirstPlayer, 1);
    QCOMPARE(t.view.Placed.size(), record.size());
    QCOMPARE(t.view.Log, QStringList{u"Partie collée : "_s + record});
    QCOMPARE(t.game.Mode(), machine ? TPlayMode::Machine : TPlayMode::TwoHumans);
    QCOMPARE(t.game.MoveNumber(), int(record.size()) + 1);
    QCOMPARE(t.view.Counting, !t.game.GameOver());
  }

  // Against the machine, undo takes the pasted moves back two at a time (a
  // first piece of the machine's stays), and the machine, red or yellow,
  // answers a new move.
  void undoAndNewMovesAfterAPaste() {
    TPasteTable t;
    t.Select(true);
    t.game.PasteRecord(u"445"_s);  // you are yellow
    t.game.UndoLastMove();
    QCOMPARE(t.Moves(), u"4 M, local to move"_s);
    QVERIFY(!t.game.CanUndo());
    QVERIFY(t.game.PlayHumanMove(6));
    QCOMPARE(t.Moves(), u"471 MLM, local to move"_s);
    QCOMPARE(t.game.Grid().At(5, 0), '1');  // the machine plays red
  }

  // Each row: how the game is played before the redos, the number of
  // redos, and the moves after them.
  void redo_data() {
    QTest::addColumn<bool>("machine");
    QTest::addColumn<QString>("steps");  // columns 1..7, "u" undo, "r" redo
    QTest::addColumn<QString>("after");
    QTest::addColumn<bool>("more");  // moves left to play again
    auto row = [](const char* name, bool machine, const char* steps, const char* after, bool more) {
      QTest::newRow(name) << machine << QString::fromLatin1(steps) << QString::fromLatin1(after)
                          << more;
    };
    row("two humans: one move back and again", false, "123ur", "123 LLL, local to move", false);
    row("two humans: all the way back and forth", false, "123uuurrr", "123 LLL, local to move",
        false);
    row("two humans: one at a time", false, "123uur", "12 LL, local to move", true);
    row("two humans: a new move ends it", false, "123uu5r", "15 LL, local to move", false);
    row("two humans: nothing to redo", false, "12r", "12 LL, local to move", false);
    row("two humans: the end again", false, "1212121ur", "1212121 LLLLLLL, over", false);
    row("machine: your move and its reply as they were", true, "44ur", "4141 LMLM, local to move",
        false);
    row("machine: back twice, forth once", true, "44uur", "41 LM, local to move", true);
    row("machine: a new move, a new reply", true, "44u7r", "4171 LMLM, local to move", false);
  }

  void redo() {
    QFETCH(bool, machine);
    QFETCH(QString, steps);
    QFETCH(QString, after);
    QFETCH(bool, more);
    TPasteTable t;
    if (machine)
      t.StartMachineGameHumanFirst();
    else
      t.game.StartGame();
    for (QChar step : steps) {
      if (step == u'u') {
        t.game.UndoLastMove();
      } else if (step == u'r') {
        t.game.RedoMove();
      } else {
        QVERIFY(t.game.PlayHumanMove(step.digitValue() - 1));
      }
      TPasteTable::Settle();
    }
    QCOMPARE(t.Moves(), after);
    QCOMPARE(t.game.CanRedo(), more);
  }

  // A network game has no redo, even after a local game's undo.
  void noRedoInANetworkGame() {
    TPasteTable t;
    t.game.StartGame();
    QVERIFY(t.game.PlayHumanMove(3));
    t.game.UndoLastMove();
    QVERIFY(t.game.CanRedo());
    t.game.StartPeerGame();
    TPasteTable::Settle();
    QVERIFY(!t.game.CanRedo());
  }
};

QTEST_GUILESS_MAIN(TestGameRecord)
#include "tst_GameRecord.moc"
