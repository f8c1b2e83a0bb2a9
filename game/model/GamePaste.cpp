// The record of the game shown, and a game set up from a record.
#include <algorithm>

#include "game/model/Game.h"
#include "game/model/GameRecord.h"
#include "game/model/GameTexts.h"

namespace zerud {

using namespace texts;

QString TGame::Record() const {
  std::vector<int> columns;
  for (const TPlayedMove& move : moves_) columns.push_back(move.Column);
  return RecordText(columns);
}

// A pasted game starts a local game: not over a network game, nor while the
// network window holds the start button.
bool TGame::CanPaste() const {
  return !ConnectionOpen() && !optionsOpen_ && !startHeld_ && !MoveUnderWay();
}

// Like a new game: the last game's pieces are cleared away, then the record's
// pieces stand in their cells at once. The game goes on from there in the
// selected mode, you to move; undo takes the pasted moves back as if they
// had been played (against the machine, its side's moves as its own). A
// record that ends the game shows its end, counted in no score.
void TGame::PasteRecord(const QString& text) {
  if (!CanPaste()) return;
  const TRecord record = ReadRecord(text);
  if (!record.Playable()) {
    Log(record.Refusal);
    view_.ScrollLogToLast();
    return;
  }
  // Step 1. The last game goes.
  ClearLastGame();
  // A connection opened while the pieces fell away: the next game is the
  // peer's, and the board stays empty.
  if (ConnectionOpen()) {
    phase_ = TPhase::NoGame;
    ShowControls();
    ScheduleDrain();
    return;
  }
  TakeSelectedMode();
  // Step 2. The record's pieces, red first.
  const int you = record.Columns.size() % 2 == 0 ? 1 : 2;
  view_.PrepareSlots(1);
  moveNumber_ = 1;
  currentPlayer_ = 1;
  for (const int column : record.Columns) {
    const int row = LandingRow(grid_, column);
    grid_.Set(row, column, PlayerCell(currentPlayer_));
    const bool machines = mode_ == TPlayMode::Machine && currentPlayer_ != you;
    moves_.push_back({column, currentPlayer_, machines ? TMover::Machine : TMover::Local});
    view_.PlacePiece(moveNumber_, column, row);
    ++moveNumber_;
    currentPlayer_ = OtherPlayer(currentPlayer_);
  }
  Log(kPasted.arg(RecordText(record.Columns)));
  view_.ScrollLogToLast();
  turn_ = TMover::Local;
  // Step 3. You play on, or the end the record reached is shown.
  const TWinningLine line = WinningLine(grid_);
  if (line.Winner != 0 || IsBoardFull(grid_)) {
    phase_ = TPhase::EndShown;
    ShowControls();
    view_.ShowGameEnd(line, moveNumber_ - 1);
    view_.ShowResult(line.Winner == 1   ? kResultRedWins
                     : line.Winner == 2 ? kResultYellowWins
                                        : kResultDraw);
    phase_ = TPhase::Over;
  } else {
    phase_ = TPhase::Waiting;
    view_.StartClock();
  }
  ShowControls();
  ScheduleDrain();
}

}  // namespace zerud
