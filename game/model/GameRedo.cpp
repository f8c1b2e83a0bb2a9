// Playing again the moves undo took back, in the games played at this screen.
#include "game/model/Game.h"

namespace zerud {

bool TGame::CanRedo() const {
  return mode_ != TPlayMode::Network && !optionsOpen_ && LocalMayMove() && !redo_.empty();
}

// Step 1 plays your move again; step 2, against the machine, its reply as it
// was, so that a game can be walked back and forth without the machine
// choosing anew. The moves are played as they were first: their lines,
// their falls and their end test.
void TGame::RedoMove() {
  if (!CanRedo()) return;
  // Step 1. Your move, which must be yours to play now.
  const TPlayedMove move = redo_.back();
  redo_.pop_back();
  if (move.By != TMover::Local || move.Player != currentPlayer_) {
    redo_.clear();
    return;
  }
  PlayMove(TMover::Local, move.Column);
  // Step 2. The machine's reply.
  if (mode_ == TPlayMode::Machine && !GameOver() && !freezeAsked_) {
    turn_ = TMover::Machine;
    if (!redo_.empty() && redo_.back().By == TMover::Machine) {
      const TPlayedMove reply = redo_.back();
      redo_.pop_back();
      PlayMove(TMover::Machine, reply.Column);
      turn_ = TMover::Local;
    } else {
      // None was taken back with it: the machine thinks as after any move.
      redo_.clear();
      MachineMove();
    }
  }
  FinishMove();
}

}  // namespace zerud
