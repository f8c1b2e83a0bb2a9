#include "game/window/WindowView.h"

#include <QLabel>
#include <QRadioButton>

#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/board/BoardView.h"
#include "game/log/MessageLog.h"
#include "game/window/AnalysisControl.h"
#include "game/window/ChatMemo.h"
#include "game/window/FormMain.h"
#include "platform/ErrorDisplay.h"

namespace zerud {

void TWindowView::ClearLog() { window_.MemoMessages->ClearLines(); }

void TWindowView::LogLine(const QString& line, TSpeaker speaker) {
  window_.MemoMessages->AppendLine(line, speaker);
  announcer_.LogLine(line, speaker);
}

void TWindowView::ScrollLogToLast() { window_.MemoMessages->ScrollToLastLine(); }

void TWindowView::AppendChatLine(const QString& line, bool own) {
  window_.MemoChat->AppendLine(line, own);
  if (!own) announcer_.PeerChat(line);
}

void TWindowView::EnableColumnTargets(const std::array<bool, kColumns>& enabled) {
  for (TColumnTarget* target : window_.Colonne) target->setEnabled(enabled[target->Tag()]);
  // Every change of the game shows here: the analysis looks whether its grid changed.
  if (window_.analysis_ != nullptr) window_.analysis_->Follow();
}

void TWindowView::EnableStart(bool on) { window_.bnStart->SetEnabled(on); }

void TWindowView::PrepareSlots(int firstPlayer) {
  window_.DropHint();
  window_.BoardView().PrepareSlots(firstPlayer);
}

void TWindowView::ClearAwayPieces(int count) { window_.BoardView().ClearAwayPieces(count); }

void TWindowView::RestoreGrid() { window_.BoardView().RestoreGrid(); }

// The piece falls from the column's target into its cell.
void TWindowView::DropPiece(int moveNumber, int column, int row) {
  window_.DropHint();
  TBoardView& board = window_.BoardView();
  TPieceSlot& slot = board.PieceSlot(moveNumber);
  slot.Column = column;
  slot.Row = row;
  announcer_.Move(window_.Game().CurrentPlayer(), column);
  board.DropPiece(moveNumber, window_.Colonne[column]->pos(), row);
}

void TWindowView::PlacePiece(int moveNumber, int column, int row) {
  window_.BoardView().PlacePiece(moveNumber, row, column);
}

void TWindowView::ShowGameEnd(const TWinningLine& line, int piecesPlayed) {
  window_.BoardView().ShowGameEnd(line, piecesPlayed);
}

void TWindowView::TakeBackPiece(int moveNumber) {
  window_.DropHint();
  announcer_.Undone(window_.BoardView().PieceSlot(moveNumber).Column);
  window_.BoardView().TakeBackPiece(moveNumber);
}

void TWindowView::ReopenGame() { window_.BoardView().ClearGameEnd(); }

void TWindowView::ShowScore(const QString& text) { window_.lbScore->setText(text); }

// The options panel covers the board: the result stays hidden under it.
void TWindowView::ShowResult(const QString& text) {
  window_.lbResultat->setText(text);
  announcer_.Result(text);
  window_.lbResultat->setVisible(!text.isEmpty() && !window_.PanelOptions->isVisible());
}

void TWindowView::ResetClock() { window_.Chrono->Reset(); }

void TWindowView::StartClock() { window_.Chrono->Start(); }

void TWindowView::StopClock() { window_.Chrono->Stop(); }

void TWindowView::EnableClockTicks() { window_.Chrono->SetEnabled(true); }

// The rows of the log are drawn by the mode shown: they follow it. No
// change of mode while a connection is open or opening.
void TWindowView::ShowSelectedMode(TPlayMode mode) {
  (mode == TPlayMode::TwoHumans ? window_.cbJoueursHumains : window_.cbMachine)->setChecked(true);
  const bool local = !window_.game_.ConnectionOpen();
  window_.cbMachine->setEnabled(local);
  window_.cbJoueursHumains->setEnabled(local);
  window_.MemoMessages->viewport()->update();
}

void TWindowView::ReportError(const QString& text) { ShowError(text); }

}  // namespace zerud
