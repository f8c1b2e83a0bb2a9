// Taking moves back, in the games played at this screen.
#include <algorithm>

#include "game/model/Game.h"
#include "game/model/GameTexts.h"

namespace zerud {

using namespace texts;

// A request is taken whenever a move of a local player can be taken back now
// or once the fall, the search or the end display under way is over.
// Never in a network game, nor in a local game that a connection found, nor
// under the options panel.
bool TGame::CanUndo() const {
  if (mode_ == TPlayMode::Network || ConnectionOpen() || localGameClosed_ || optionsOpen_)
    return false;
  const bool finished = phase_ == TPhase::Over;
  if (phase_ != TPhase::Waiting && !finished && !MoveUnderWay()) return false;
  return std::any_of(moves_.begin(), moves_.end(),
                     [](const TPlayedMove& move) { return move.By == TMover::Local; });
}

void TGame::UndoLastMove() {
  if (!CanUndo()) return;
  if (MoveUnderWay()) {
    undoAsked_ = true;
    return;
  }
  TakeBack();
}

// Against the machine, moves go back until one of yours has: it is your turn
// again. Each move taken back writes its line.
void TGame::TakeBack() {
  if (GameOver()) {
    if (countedWinner_ != -1) --Tally(countedWinner_);
    countedWinner_ = -1;
    ShowScore();
    view_.ShowResult({});
    view_.ReopenGame();
    view_.StartClock();
  }
  while (!moves_.empty()) {
    const TPlayedMove move = moves_.back();
    moves_.pop_back();
    redo_.push_back(move);
    grid_.Set(LandingRow(grid_, move.Column) + 1, move.Column, kEmptyCell);
    --moveNumber_;
    view_.TakeBackPiece(moveNumber_);
    currentPlayer_ = move.Player;
    Log(kUndone.arg(move.Column));
    if (move.By == TMover::Local || mode_ != TPlayMode::Machine) break;
  }
  view_.ScrollLogToLast();
  turn_ = TMover::Local;
  phase_ = TPhase::Waiting;
  ShowControls();
}

}  // namespace zerud
