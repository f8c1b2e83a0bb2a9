#include "game/model/Game.h"

#include <QCoreApplication>
#include <algorithm>
#include <utility>

#include "game/model/GameTexts.h"
#include "game/model/Pause.h"
#include "game/model/SearchPump.h"
#include "rules/Errors.h"

namespace zerud {

using namespace texts;

namespace {

constexpr double kMachineDelayMs = 50;

QString ColourName(int player) {
  return player == 1 ? QStringLiteral("pions rouges") : QStringLiteral("pions jaunes");
}

}  // namespace

TGame::TGame(TGameView& view) : view_(view) {}

bool TGame::MoveUnderWay() const {
  switch (phase_) {
    case TPhase::Starting:
    case TPhase::Falling:
    case TPhase::Thinking:
    case TPhase::EndShown:
      return true;
    default:
      return false;
  }
}

void TGame::Log(const QString& line, TSpeaker speaker) { view_.LogLine(line, speaker); }

// An empty line, "FIN DE LA PARTIE", then the result; the score's line
// follows, and the log scrolls to it.
void TGame::LogGameEnd(const QString& result) {
  Log(QString());
  Log(kGameEnd);
  Log(result);
}

// The targets of the columns with room while a local player may move, none
// otherwise; the start button unless a start runs or the peer holds it.
void TGame::ShowControls() {
  std::array<bool, kColumns> enabled{};
  for (int column = 0; column < kColumns; ++column) enabled[column] = MayPlay(column);
  view_.EnableColumnTargets(enabled);
  view_.EnableStart(phase_ != TPhase::Starting && !startHeld_);
}

// The grid and the slots belong to the move under way; the options panel
// covers the board; the peer holds the start while its game runs.
bool TGame::MayStartGame() const { return !MoveUnderWay() && !optionsOpen_ && !startHeld_; }

// The last game goes: its log, its grid, its result, and its pieces, which
// fall away while the window's events go on.
void TGame::ClearLastGame() {
  phase_ = TPhase::Starting;
  localGameClosed_ = false;
  view_.ResetClock();
  view_.StopClock();
  view_.ClearLog();
  grid_.Clear();
  moves_.clear();
  redo_.clear();
  countedWinner_ = -1;
  view_.ShowResult({});
  ShowControls();
  if (moveNumber_ > 1) view_.ClearAwayPieces(std::min(moveNumber_, kPieceCount));
  moveNumber_ = 1;
  view_.EnableClockTicks();
}

// A local game takes the selected mode; another mode than the score's
// starts the count again.
void TGame::TakeSelectedMode() {
  mode_ = selectedMode_;
  if (mode_ != scoreMode_) {
    scoreMode_ = mode_;
    ResetScore();
  }
}

void TGame::StartGame() {
  if (!MayStartGame()) return;
  ClearLastGame();

  if (ConnectionOpen()) {
    mode_ = TPlayMode::Network;
    // Without a peer nothing starts: the log, the grid and the targets stay empty.
    phase_ = TPhase::NoGame;
    if (PeerThere() && network_ != nullptr) {
      currentPlayer_ = 1;
      localColour_ = 1;
      turn_ = TMover::Local;
      view_.PrepareSlots(1);
      Log(kGameStart);
      Log(kNetworkMode);
      Log(kYouBegin);
      Log(QString());
      network_->SendGameStart();
      phase_ = TPhase::Waiting;
      view_.StartClock();
    }
    ShowControls();
    ScheduleDrain();
    return;
  }

  TakeSelectedMode();
  Log(kGameStart);
  const int r = random_.Below(2);
  if (r != 0 || mode_ != TPlayMode::Machine) {
    view_.PrepareSlots(1);
    currentPlayer_ = 1;
    turn_ = TMover::Local;
    Log(kHumanBegins);
    Log(QString());
  } else {
    view_.PrepareSlots(2);
    currentPlayer_ = 2;
    turn_ = TMover::Machine;
    Log(kMachineBegins);
    Log(QString());
    MachineMove();
  }
  FinishMove();
  if (phase_ == TPhase::Waiting) view_.StartClock();
}

// Its line in the log, the targets off, the current player's piece into the
// column, slot moveNumber_ falling into the cell, then the end test. At the
// end the clock stops, the end lines are written and the end is shown. Then
// the turn passes, except after the peer's last move: that one keeps the
// move number and the player of the last move.
bool TGame::PlayMove(TMover side, int column, const QString& peerText) {
  const int row = LandingRow(grid_, column);
  if (row == -1 || moveNumber_ > kPieceCount) return false;

  QString winLine = kLost;
  switch (side) {
    case TMover::Local:
      Log(kHumanMove.arg(currentPlayer_).arg(column),
          currentPlayer_ == 1 ? TSpeaker::Human1 : TSpeaker::Human2);
      winLine =
          mode_ == TPlayMode::Network ? kNetworkWin : kLocalWin.arg(ColourName(currentPlayer_));
      break;
    case TMover::Machine:
      Log(kMachineMove.arg(column), TSpeaker::Machine);
      break;
    case TMover::Peer:
      Log(kPeerMove.arg(currentPlayer_) + peerText, TSpeaker::Peer);
      break;
  }
  view_.ScrollLogToLast();
  phase_ = TPhase::Falling;
  ShowControls();
  grid_.Set(row, column, PlayerCell(currentPlayer_));
  moves_.push_back({column, currentPlayer_, side});
  view_.DropPiece(moveNumber_, column, row);
  // The piece has arrived: the knock now, not when it left the target.
  Sound(TSound::Landing);

  const TWinningLine line = WinningLine(grid_);
  if (line.Winner != 0 || IsBoardFull(grid_)) {
    phase_ = TPhase::EndShown;
    view_.StopClock();
    // The winner's line when there is a four, even on a full grid.
    LogGameEnd(line.Winner != 0 ? winLine : kDraw);
    CountResult(line.Winner);
    view_.ShowGameEnd(line, moveNumber_);
    view_.ShowResult(ResultText(line.Winner, side));
    Sound(ResultSound(line.Winner, side));
    startHeld_ = false;
    if (side == TMover::Peer) return true;
  }
  ++moveNumber_;
  currentPlayer_ = OtherPlayer(currentPlayer_);
  return true;
}

bool TGame::PlayHumanMove(int column) {
  if (!MayPlay(column)) return false;
  // A new move: what undo took back can no longer be played again.
  redo_.clear();
  PlayMove(TMover::Local, column);
  if (mode_ == TPlayMode::Network) {
    // Sent after its fall and end test, the winning move too.
    if (network_ != nullptr) network_->SendMove(column);
    turn_ = TMover::Peer;
  } else if (mode_ == TPlayMode::Machine && !GameOver() && !freezeAsked_) {
    turn_ = TMover::Machine;
    phase_ = TPhase::Thinking;
    Pause(kMachineDelayMs);
    MachineMove();
  }
  FinishMove();
  return true;
}

void TGame::MachineMove() {
  phase_ = TPhase::Thinking;
  ShowControls();
  Log(kMachineThinks, TSpeaker::Machine);
  // A bad weight in the pattern table ends the move here: no piece, and the
  // targets stay off until a new game.
  int column = -1;
  try {
    TSearchPump pump([] { QCoreApplication::processEvents(); });
    searchNodes_ = 0;
    // The search plays yellow; after a pasted game the machine may be red.
    const TBoard seen = currentPlayer_ == 2 ? grid_ : SwapColours(grid_);
    column = ChooseMachineColumn(seen, moveNumber_, search_, patternTable_, random_, [this, &pump] {
      ++searchNodes_;
      pump();
    });
  } catch (const TGameError& error) {
    machineFailed_ = true;
    view_.ReportError(QString::fromUtf8(error.what()));
    return;
  }
  PlayMove(TMover::Machine, column);
  turn_ = TMover::Local;
}

void TGame::FinishMove() {
  if (GameOver()) {
    phase_ = TPhase::Over;
  } else if (machineFailed_) {
    phase_ = TPhase::Interrupted;
  } else if (freezeAsked_) {
    Freeze();
  } else {
    phase_ = TPhase::Waiting;
  }
  freezeAsked_ = machineFailed_ = false;
  ShowControls();
  if (std::exchange(undoAsked_, false) && CanUndo()) TakeBack();
  if (moveOver_) moveOver_();
  ScheduleDrain();
}

void TGame::Freeze() {
  phase_ = TPhase::Interrupted;
  view_.StopClock();
  Log(kInterrupted);
  view_.ScrollLogToLast();
}

// The grid stays as it is; nobody plays on.
void TGame::EndWithLostPeer() {
  phase_ = TPhase::Over;
  view_.StopClock();
  Log(kPeerGone);
  view_.ScrollLogToLast();
}

void TGame::SelectMode(TPlayMode mode) {
  if (mode == TPlayMode::Network) return;
  selectedMode_ = mode;
  view_.ShowSelectedMode(mode);
  if (mode != scoreMode_ && mode_ != TPlayMode::Network) {
    scoreMode_ = mode;
    ResetScore();
  }
  FreezeGame();
}

void TGame::FreezeGame() {
  if (mode_ == TPlayMode::Network) return;
  if (phase_ == TPhase::Waiting) {
    Freeze();
    ShowControls();
  } else if (phase_ == TPhase::Falling || phase_ == TPhase::Thinking) {
    freezeAsked_ = true;
  }
}

}  // namespace zerud
