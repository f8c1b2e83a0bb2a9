// The game's side of the network: the connection opening and ending, and
// the messages of the peer, queued and handled in the order sent.
#include <QTimer>

#include "game/model/Game.h"
#include "game/model/GameTexts.h"
#include "game/model/PeerText.h"
#include "rules/Errors.h"
#include "rules/Integer.h"

namespace zerud {

using namespace texts;

// The local game stops where it stands, finished or not: nothing of it
// can be played, undone or reopened once a connection is wanted.
void TGame::ConnectionOpening() {
  connection_ = TConnection::Opening;
  if (mode_ != TPlayMode::Network) localGameClosed_ = true;
  FreezeGame();
  view_.ShowSelectedMode(selectedMode_);
}

// Someone else to play against: the score starts again.
void TGame::PeerConnected() {
  connection_ = TConnection::PeerThere;
  if (mode_ != TPlayMode::Network) localGameClosed_ = true;
  scoreMode_ = TPlayMode::Network;
  ResetScore();
  FreezeGame();
}

// What the peer sent before it left is still played, in its turn; then the
// game ends where it stands.
void TGame::ConnectionLost() {
  connection_ = TConnection::None;
  startHeld_ = false;
  view_.ShowSelectedMode(selectedMode_);
  // Handled now when nothing runs, so that no click comes in between; else
  // once the move under way or the drain that holds it is over.
  queue_.push_back({TPeerEvent::Lost, {}});
  Drain();
  ShowControls();
}

void TGame::AllowNewGame(bool on) {
  startHeld_ = !on;
  ShowControls();
}

// The peer's messages.

void TGame::StartPeerGame() { Deliver(TPeerEvent::Start, {}); }
void TGame::PlayPeerMove(const QString& text) { Deliver(TPeerEvent::Move, text); }
void TGame::EndAnnouncedByPeer() { Deliver(TPeerEvent::End, {}); }
// A chat line shows at once, even while a piece falls: it changes nothing
// of the game, so it need not wait its turn.
void TGame::ShowPeerChat(const QString& line) {
  view_.AppendChatLine(line, false);
  Sound(TSound::Chat);
}

// Every message waits in the queue and is handled from the event loop, so
// the messages of one read are all queued before the first of them runs. A
// peer that keeps to the turns sends one or two messages while a move of
// ours runs; one that floods us would make the queue grow without end, so
// past kDeferredLimit its messages are dropped (the end of the connection,
// queued behind them, never is).
void TGame::Deliver(TPeerEvent event, const QString& text) {
  if (queue_.size() >= kDeferredLimit) return;
  queue_.push_back({event, text});
  ScheduleDrain();
}

void TGame::ScheduleDrain() {
  if (queue_.empty() || drainScheduled_) return;
  drainScheduled_ = true;
  QTimer::singleShot(0, this, [this] {
    drainScheduled_ = false;
    Drain();
  });
}

// In the order sent; the game's messages wait for the end of a running move
// (the end of the move drains the rest).
void TGame::Drain() {
  if (draining_) return;
  draining_ = true;
  while (!queue_.empty()) {
    if (MoveUnderWay()) break;
    const TPeerMessage message = queue_.front();
    queue_.pop_front();
    Handle(message);
  }
  draining_ = false;
}

void TGame::Handle(const TPeerMessage& message) {
  switch (message.Event) {
    case TPeerEvent::Start:
      StartPeerGameNow();
      break;
    case TPeerEvent::Move:
      PlayPeerMoveNow(message.Text);
      break;
    case TPeerEvent::End:
      phase_ = TPhase::Over;
      ShowControls();
      break;
    case TPeerEvent::Lost:
      if (mode_ == TPlayMode::Network && phase_ == TPhase::Waiting) EndWithLostPeer();
      startHeld_ = false;
      ShowControls();
      break;
  }
}

// The peer moves first with the red pieces; its last game's pieces are
// parked at once, without the clearing animation.
void TGame::StartPeerGameNow() {
  mode_ = TPlayMode::Network;
  currentPlayer_ = 1;
  localColour_ = 2;
  moveNumber_ = 1;
  turn_ = TMover::Peer;
  view_.ClearLog();
  Log(kGameStart);
  Log(kNetworkMode);
  Log(kPeerBegins);
  Log(QString());
  grid_.Clear();
  moves_.clear();
  countedWinner_ = -1;
  view_.ShowResult({});
  view_.PrepareSlots(1);
  view_.RestoreGrid();
  phase_ = TPhase::Waiting;
  // The start button stays off until the game ends.
  startHeld_ = true;
  ShowControls();
  view_.ResetClock();
  view_.StartClock();
  view_.EnableClockTicks();
}

// Only the peer's move in its turn of a network game under way counts; any
// other leaves the grid alone, so the two grids can never part. A column
// text that is no number is written into the log, the connection goes on.
void TGame::PlayPeerMoveNow(const QString& text) {
  int n = 0;
  try {
    n = ParseInteger(text.toStdString());
  } catch (const TConvertError&) {
    Log(QString::fromUtf8(TConvertError(ShownPeerText(text).toStdString()).what()));
    view_.ScrollLogToLast();
    return;
  }
  if (mode_ != TPlayMode::Network || phase_ != TPhase::Waiting || turn_ != TMover::Peer) return;
  // A column the grid does not have, a full one, or a full grid: ignored.
  if (LandingRow(grid_, n) == -1 || moveNumber_ > kPieceCount) return;
  mode_ = TPlayMode::Network;
  startHeld_ = true;
  PlayMove(TMover::Peer, n, text);
  turn_ = TMover::Local;
  FinishMove();
}

}  // namespace zerud
