// The turns of a game: starting it, the human's, the machine's and the
// peer's moves, and the end of the game.
//
// Every move lets the window handle its events while the piece falls, the
// machine thinks or the end is shown, so other handlers run in the middle of
// a move. The column targets are disabled during a move; a new game asked
// for meanwhile is refused (start button) or held back until the move is
// over (a game, a move or a game end sent by the peer, in the order sent).
#include <QCoreApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>
#include <utility>

#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/FormMain.h"
#include "game/GameParts.h"
#include "game/SearchPump.h"
#include "game/board/Pause.h"
#include "game/log/MessageLog.h"
#include "platform/ErrorDisplay.h"
#include "rules/Errors.h"

namespace zerud {

namespace {

const QString kGameStart = QStringLiteral("DEBUT DE LA PARTIE");
const QString kNetworkMode = QStringLiteral("MODE MULTI-JOUEURS");
const QString kYouBegin = QStringLiteral("Vous commencez la partie");
const QString kPeerBegins = QStringLiteral("Votre adversaire commence la partie");
const QString kHumanBegins = QStringLiteral("Joueur \"HUMAIN-1\" commence");
const QString kMachineBegins = QStringLiteral("Joueur \"MACHINE\" commence");
const QString kHumanMove = QStringLiteral("[HUMAIN-%1] : Je joue la colonne n° %2");
const QString kMachineThinks = QStringLiteral("[MACHINE] : Je réfléchis...");
const QString kMachineMove = QStringLiteral("[MACHINE] : Je joue la colonne n° %1");
const QString kPeerMove = QStringLiteral("[ADVERSAIRE-%1] : Adversaire a joué la colonne n°");
const QString kGameEnd = QStringLiteral("FIN DE LA PARTIE");
const QString kDraw = QStringLiteral("Egalité !");
const QString kLocalWin = QStringLiteral("Joueur des %1 a gagné !");
const QString kNetworkWin = QStringLiteral("Bravo, vous avez gagné !");
const QString kLost = QStringLiteral("Désolé, vous avez perdu !");

const QString kInitCommand = QStringLiteral("INIT");
const QString kInitPayload = QStringLiteral("xxx");
const QString kMoveCommand = QStringLiteral("DATA_GAME");

constexpr double kMachineDelayMs = 50;

QString ColourName(int player) {
  return player == 1 ? QStringLiteral("pions rouges") : QStringLiteral("pions jaunes");
}

// What CheckGameEnd tells about the grid after a move. A winner of 0 means
// no four in a row.
struct TGameEnd {
  bool Over = false;
  bool Full = false;
  int Direction = 0;
  int Column = 0;
  int Row = 0;
  int Winner = 0;
};

TGameEnd EndOf(const TBoard& grid) {
  TGameEnd end;
  end.Over = CheckGameEnd(grid, end.Direction, end.Column, end.Row, end.Winner, end.Full);
  return end;
}

}  // namespace

// Marks a move under way for as long as it lives. When the outermost move is
// over, what the peer sent meanwhile runs from the event loop.
class TMoveScope {
 public:
  explicit TMoveScope(TFormMain& form) : form_(form) { ++form_.busy_; }
  ~TMoveScope() {
    if (--form_.busy_ == 0 && !form_.deferred_.empty()) {
      QTimer::singleShot(0, &form_, [form = &form_] { form->RunDeferred(); });
    }
  }
  TMoveScope(const TMoveScope&) = delete;
  TMoveScope& operator=(const TMoveScope&) = delete;

 private:
  TFormMain& form_;
};

// Returns false when the peer's message may run now. Messages are handled in
// the order they came: while a move runs or earlier ones wait, a new one waits
// behind them; a held-back message, when its turn comes, passes once. A peer
// that keeps to the turns sends one or two messages while a move of ours
// runs; one that floods us would make the list grow without end, so past
// kDeferredLimit its messages are dropped.
bool TFormMain::HoldBack(std::function<void()> action) {
  if (std::exchange(resuming_, false)) return false;
  if (!MoveUnderWay() && deferred_.empty()) return false;
  if (deferred_.size() < kDeferredLimit) deferred_.push_back(std::move(action));
  return true;
}

void TFormMain::RunDeferred() {
  while (busy_ == 0 && !deferred_.empty()) {
    auto action = std::move(deferred_.front());
    deferred_.erase(deferred_.begin());
    resuming_ = true;
    action();
    resuming_ = false;
  }
}

bool TFormMain::MoveUnderWay() const { return busy_ > 0 || parts_->Board->Animating(); }

void TFormMain::SeedRandom(unsigned seed) { parts_->Random.Seed(seed); }

QString TFormMain::GridText() const { return QString::fromStdString(parts_->Grid.ToString()); }

void TFormMain::Log(const QString& line) { MemoMessages->AppendLine(line); }

void TFormMain::ScrollLogToLast() { MemoMessages->ScrollToLastLine(); }

// An empty line, "FIN DE LA PARTIE", then the result: the winner's line when
// there is a four, even on a full grid.
void TFormMain::LogGameEnd(bool won, const QString& winLine) {
  Log(QString());
  Log(kGameEnd);
  Log(won ? winLine : kDraw);
  ScrollLogToLast();
}

// The grid into the hidden trace: six rows, top row first, then an empty line.
void TFormMain::TraceGrid() {
  for (int row = 0; row < kRows; ++row) {
    QString line;
    for (int column = 0; column < kColumns; ++column) line += QChar(parts_->Grid.At(row, column));
    Memo1->appendPlainText(line);
  }
  Memo1->appendPlainText(QString());
}

int TFormMain::DrawRandom(int count) { return parts_->Random.Below(count); }

void TFormMain::EnableColumns(bool on) {
  for (TColumnTarget* target : Colonne)
    target->setEnabled(on && LandingRow(parts_->Grid, target->Tag()) != -1);
}

void TFormMain::cbJoueursHumainsClick() { EnableColumns(false); }

void TFormMain::Colonne0MouseMove(int column) {
  if (MoveUnderWay()) return;
  parts_->Board->Colonne0MouseMove(Colonne[column]->pos(), MoveNumber, GameOver);
}

void TFormMain::bnStartClick() {
  // The grid and the slots belong to the move under way.
  if (MoveUnderWay()) return;
  TMoveScope scope(*this);

  bnStart->SetEnabled(false);
  Chrono->Reset();
  Chrono->Stop();
  MemoMessages->ClearLines();
  GameOver = false;
  EnableColumns(false);
  parts_->Grid.Clear();
  if (MoveNumber > 1) parts_->Board->ClearAwayPieces(std::min(MoveNumber, TBoardView::kSlotCount));
  MoveNumber = 1;
  Chrono->SetEnabled(true);

  if (NetworkGame) {
    // Without a peer nothing starts: the log, the grid and the targets stay empty.
    const bool open =
        network_ != nullptr && (network_->ServerListening() || network_->ClientActive());
    const bool peer = network_ != nullptr &&
                      (network_->ServerActiveConnections() > 0 || network_->ClientConnected());
    if (open && peer) {
      CurrentPlayer = 1;
      parts_->Board->PrepareSlots(1);
      Log(kGameStart);
      Log(kNetworkMode);
      Log(kYouBegin);
      Log(QString());
      network_->SendNetMessage(kInitCommand, kInitPayload);
      EnableColumns(true);
      Chrono->Start();
    }
  } else {
    Log(kGameStart);
    const int r = DrawRandom(2);
    if (r != 0 || !AgainstMachine()) {
      parts_->Board->PrepareSlots(1);
      CurrentPlayer = 1;
      Log(kHumanBegins);
      Log(QString());
    } else {
      parts_->Board->PrepareSlots(2);
      CurrentPlayer = 2;
      Log(kMachineBegins);
      Log(QString());
      PlayMachineMove();
    }
    EnableColumns(true);
    Chrono->Start();
  }
  bnStart->SetEnabled(true);
}

void TFormMain::Colonne0Click(int column) {
  const int c = column;
  if (!MoveUnderWay() && !GameOver && c >= 0 && c < kColumns && LandingRow(parts_->Grid, c) != -1) {
    TMoveScope scope(*this);
    if (MoveNumber <= TBoardView::kSlotCount) {
      const QString win = NetworkGame ? kNetworkWin : kLocalWin.arg(ColourName(CurrentPlayer));
      if (PlayPiece(c, kHumanMove.arg(CurrentPlayer).arg(c), win)) bnStart->SetEnabled(true);
      ++MoveNumber;
      CurrentPlayer = OtherPlayer(CurrentPlayer);
    }
    if (NetworkGame && network_ != nullptr &&
        (network_->ServerListening() || network_->ClientActive())) {
      network_->SendNetMessage(kMoveCommand, QString::number(c));
    }
    // In a network game the targets stay disabled until the peer's move.
    if (!GameOver && !NetworkGame) {
      if (AgainstMachine()) {
        Pause(kMachineDelayMs);
        PlayMachineMove();
      } else {
        EnableColumns(true);
      }
    }
  }
  TraceGrid();
}

// One move, whoever plays it: its line in the log, the targets off, the
// current player's piece into the column, slot MoveNumber falling from the
// column's target into the cell, then the end test. At the end the clock
// stops, the end lines are written (winLine for a four) and the end is
// shown. Returns GameOver.
bool TFormMain::PlayPiece(int column, const QString& moveLine, const QString& winLine) {
  const int row = LandingRow(parts_->Grid, column);
  Log(moveLine);
  ScrollLogToLast();
  EnableColumns(false);
  parts_->Grid.Set(row, column, PlayerCell(CurrentPlayer));
  TPieceSlot& slot = parts_->Board->PieceSlot(MoveNumber);
  slot.Column = column;
  slot.Row = row;
  parts_->Board->DropPiece(MoveNumber, Colonne[column]->pos(), row);
  const TGameEnd end = EndOf(parts_->Grid);
  GameOver = end.Over;
  if (GameOver) {
    Chrono->Stop();
    LogGameEnd(end.Winner != 0, winLine);
    ShowGameEnd(end.Direction, end.Column, end.Row, end.Winner, MoveNumber);
  }
  return GameOver;
}

void TFormMain::ShowGameEnd(int direction, int column, int row, int winner, int piecesPlayed) {
  const TBoard& grid = parts_->Grid;
  parts_->Board->ShowGameEnd(direction, column, row, winner, piecesPlayed,
                             [&grid](int r, int c) { return grid.At(r, c); });
}

void TFormMain::PlayMachineMove() {
  TMoveScope scope(*this);
  EnableColumns(false);
  if (!GameOver) {
    Log(kMachineThinks);
    // A bad weight in the pattern table ends the move here: no piece, the
    // targets stay disabled until a new game.
    int column = -1;
    try {
      TSearchPump pump([] { QCoreApplication::processEvents(); });
      searchNodes_ = 0;
      column = ChooseMachineColumn(parts_->Grid, MoveNumber, parts_->Search, parts_->PatternTable,
                                   parts_->Random, [this, &pump] {
                                     ++searchNodes_;
                                     pump();
                                   });
    } catch (const TGameError& error) {
      ShowError(QString::fromUtf8(error.what()));
      return;
    }
    PlayPiece(column, kMachineMove.arg(column), kLost);
    ++MoveNumber;
    CurrentPlayer = OtherPlayer(CurrentPlayer);
  }
  // After the end the targets are enabled again, but GameOver makes them inert.
  EnableColumns(true);
}

void TFormMain::PlayOpponentMove(const QString& text) {
  if (HoldBack([this, text] { PlayOpponentMove(text); })) return;
  int n = 0;
  try {
    n = TPatternTable::ParseValue(text.toStdString());
  } catch (const TGameError& error) {
    ShowError(QString::fromUtf8(error.what()));
    return;
  }
  // The grid has no such column.
  if (n < 0 || n >= kColumns) return;
  const int row = LandingRow(parts_->Grid, n);
  if (row == -1 || MoveNumber > TBoardView::kSlotCount) return;

  TMoveScope scope(*this);
  if (PlayPiece(n, kPeerMove.arg(CurrentPlayer) + text, kLost)) {
    // The end keeps the move number and the player of the last move.
    bnStart->SetEnabled(true);
  } else {
    EnableColumns(true);
    ++MoveNumber;
    CurrentPlayer = OtherPlayer(CurrentPlayer);
  }
}

void TFormMain::StartOpponentGame() {
  if (HoldBack([this] { StartOpponentGame(); })) return;
  CurrentPlayer = 1;
  MoveNumber = 1;
  MemoMessages->ClearLines();
  Log(kGameStart);
  Log(kNetworkMode);
  Log(kPeerBegins);
  Log(QString());
  EnableColumns(false);
  parts_->Grid.Clear();
  parts_->Board->PrepareSlots(1);
  parts_->Board->RestoreGrid();
  GameOver = false;
  Chrono->Reset();
  Chrono->Start();
  Chrono->SetEnabled(true);
}

void TFormMain::EndAnnouncedByPeer() {
  if (HoldBack([this] { EndAnnouncedByPeer(); })) return;
  GameOver = true;
}

}  // namespace zerud
