#include "game/Game.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "game/SearchPump.h"
#include "game/board/Pause.h"
#include "rules/Errors.h"
#include "rules/Integer.h"

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

constexpr double kMachineDelayMs = 50;

QString ColourName(int player) {
  return player == 1 ? QStringLiteral("pions rouges") : QStringLiteral("pions jaunes");
}

}  // namespace

// Marks a move under way for as long as it lives. When the outermost move is
// over, what the peer sent meanwhile runs from the event loop.
class TMoveScope {
 public:
  explicit TMoveScope(TGame& game) : game_(game) { ++game_.busy_; }
  ~TMoveScope() {
    if (--game_.busy_ == 0 && !game_.deferred_.empty()) {
      QTimer::singleShot(0, &game_, [game = &game_] { game->RunDeferred(); });
    }
  }
  TMoveScope(const TMoveScope&) = delete;
  TMoveScope& operator=(const TMoveScope&) = delete;

 private:
  TGame& game_;
};

TGame::TGame(TGameView& view) : view_(view) {}

// Returns false when the peer's message may run now. Messages are handled in
// the order they came: while a move runs or earlier ones wait, a new one waits
// behind them; a held-back message, when its turn comes, passes once. A peer
// that keeps to the turns sends one or two messages while a move of ours
// runs; one that floods us would make the list grow without end, so past
// kDeferredLimit its messages are dropped.
bool TGame::HoldBack(std::function<void()> action) {
  if (std::exchange(resuming_, false)) return false;
  if (!MoveUnderWay() && deferred_.empty()) return false;
  if (deferred_.size() < kDeferredLimit) deferred_.push_back(std::move(action));
  return true;
}

void TGame::RunDeferred() {
  while (busy_ == 0 && !deferred_.empty()) {
    auto action = std::move(deferred_.front());
    deferred_.erase(deferred_.begin());
    resuming_ = true;
    action();
    resuming_ = false;
  }
}

void TGame::Log(const QString& line) { view_.LogLine(line); }

// An empty line, "FIN DE LA PARTIE", then the result.
void TGame::LogGameEnd(const QString& result) {
  Log(QString());
  Log(kGameEnd);
  Log(result);
  view_.ScrollLogToLast();
}

void TGame::EnableColumns(bool on) {
  std::array<bool, kColumns> enabled{};
  for (int column = 0; column < kColumns; ++column)
    enabled[column] = on && LandingRow(grid_, column) != -1;
  view_.EnableColumnTargets(enabled);
}

void TGame::StartGame() {
  // The grid and the slots belong to the move under way.
  if (MoveUnderWay()) return;
  TMoveScope scope(*this);

  view_.EnableStart(false);
  view_.ResetClock();
  view_.StopClock();
  view_.ClearLog();
  GameOver = false;
  EnableColumns(false);
  grid_.Clear();
  if (MoveNumber > 1) view_.ClearAwayPieces(std::min(MoveNumber, kPieceCount));
  MoveNumber = 1;
  view_.EnableClockTicks();

  if (NetworkGame) {
    // Without a peer nothing starts: the log, the grid and the targets stay empty.
    const bool open =
        network_ != nullptr && (network_->ServerListening() || network_->ClientActive());
    const bool peer = network_ != nullptr &&
                      (network_->ServerActiveConnections() > 0 || network_->ClientConnected());
    if (open && peer) {
      CurrentPlayer = 1;
      view_.PrepareSlots(1);
      Log(kGameStart);
      Log(kNetworkMode);
      Log(kYouBegin);
      Log(QString());
      network_->SendGameStart();
      EnableColumns(true);
      view_.StartClock();
    }
  } else {
    Log(kGameStart);
    const int r = Random.Below(2);
    if (r != 0 || !view_.AgainstMachine()) {
      view_.PrepareSlots(1);
      CurrentPlayer = 1;
      Log(kHumanBegins);
      Log(QString());
    } else {
      view_.PrepareSlots(2);
      CurrentPlayer = 2;
      Log(kMachineBegins);
      Log(QString());
      PlayMachineMove();
    }
    EnableColumns(true);
    view_.StartClock();
  }
  view_.EnableStart(true);
}

// Its line in the log, the targets off, the current player's piece into the
// column, slot MoveNumber falling into the cell, then the end test. At the
// end the clock stops, the end lines are written and the end is shown. Then
// the turn passes, except after the peer's last move: that one keeps the
// move number and the player of the last move.
bool TGame::PlayMove(TMover mover, int column, const QString& peerText) {
  const int row = LandingRow(grid_, column);
  if (row == -1 || MoveNumber > kPieceCount) return false;

  QString moveLine, winLine = kLost;
  switch (mover) {
    case TMover::Human:
      moveLine = kHumanMove.arg(CurrentPlayer).arg(column);
      winLine = NetworkGame ? kNetworkWin : kLocalWin.arg(ColourName(CurrentPlayer));
      break;
    case TMover::Machine:
      moveLine = kMachineMove.arg(column);
      break;
    case TMover::Peer:
      moveLine = kPeerMove.arg(CurrentPlayer) + peerText;
      break;
  }
  Log(moveLine);
  view_.ScrollLogToLast();
  EnableColumns(false);
  grid_.Set(row, column, PlayerCell(CurrentPlayer));
  view_.DropPiece(MoveNumber, column, row);

  const TWinningLine line = WinningLine(grid_);
  GameOver = line.Winner != 0 || IsBoardFull(grid_);
  if (GameOver) {
    view_.StopClock();
    // The winner's line when there is a four, even on a full grid.
    LogGameEnd(line.Winner != 0 ? winLine : kDraw);
    view_.ShowGameEnd(line, MoveNumber);
    // The machine's end comes within a move that began with the button on.
    if (mover != TMover::Machine) view_.EnableStart(true);
    if (mover == TMover::Peer) return true;
  }
  ++MoveNumber;
  CurrentPlayer = OtherPlayer(CurrentPlayer);
  return true;
}

void TGame::PlayHumanMove(int column) {
  if (MoveUnderWay() || GameOver || LandingRow(grid_, column) == -1) return;
  TMoveScope scope(*this);
  PlayMove(TMover::Human, column);
  if (NetworkGame && network_ != nullptr &&
      (network_->ServerListening() || network_->ClientActive())) {
    network_->SendMove(column);
  }
  // In a network game the targets stay disabled until the peer's move.
  if (!GameOver && !NetworkGame) {
    if (view_.AgainstMachine()) {
      Pause(kMachineDelayMs);
      PlayMachineMove();
    } else {
      EnableColumns(true);
    }
  }
}

void TGame::PlayMachineMove() {
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
      column = ChooseMachineColumn(grid_, MoveNumber, Search, PatternTable, Random, [this, &pump] {
        ++searchNodes_;
        pump();
      });
    } catch (const TGameError& error) {
      view_.ReportError(QString::fromUtf8(error.what()));
      return;
    }
    PlayMove(TMover::Machine, column);
  }
  // After the end the targets are enabled again, but GameOver makes them inert.
  EnableColumns(true);
}

void TGame::PlayPeerMove(const QString& text) {
  if (HoldBack([this, text] { PlayPeerMove(text); })) return;
  int n = 0;
  try {
    n = ParseInteger(text.toStdString());
  } catch (const TGameError& error) {
    view_.ReportError(QString::fromUtf8(error.what()));
    return;
  }
  // A column the grid does not have, a full one, or a full grid: ignored.
  if (LandingRow(grid_, n) == -1 || MoveNumber > kPieceCount) return;
  TMoveScope scope(*this);
  PlayMove(TMover::Peer, n, text);
  if (!GameOver) EnableColumns(true);
}

void TGame::StartPeerGame() {
  if (HoldBack([this] { StartPeerGame(); })) return;
  CurrentPlayer = 1;
  MoveNumber = 1;
  view_.ClearLog();
  Log(kGameStart);
  Log(kNetworkMode);
  Log(kPeerBegins);
  Log(QString());
  EnableColumns(false);
  grid_.Clear();
  view_.PrepareSlots(1);
  view_.RestoreGrid();
  GameOver = false;
  view_.ResetClock();
  view_.StartClock();
  view_.EnableClockTicks();
}

void TGame::EndAnnouncedByPeer() {
  if (HoldBack([this] { EndAnnouncedByPeer(); })) return;
  GameOver = true;
}

}  // namespace zerud
