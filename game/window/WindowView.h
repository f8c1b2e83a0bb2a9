#pragma once

#include "game/model/GameView.h"
#include "game/window/Announcer.h"

namespace zerud {

class TFormMain;

// How the game shows itself in the main window: the log, the chat, the
// column targets, the start button, the board's pieces and the clock.
class TWindowView : public TGameView {
 public:
  explicit TWindowView(TFormMain& window) : window_(window) {}

  void ClearLog() override;
  void LogLine(const QString& line, TSpeaker speaker) override;
  void ScrollLogToLast() override;
  void AppendChatLine(const QString& line, bool own) override;
  void EnableColumnTargets(const std::array<bool, kColumns>& enabled) override;
  void EnableStart(bool on) override;
  void PrepareSlots(int firstPlayer) override;
  void ClearAwayPieces(int count) override;
  void RestoreGrid() override;
  void DropPiece(int moveNumber, int column, int row) override;
  void PlacePiece(int moveNumber, int column, int row) override;
  void ShowGameEnd(const TWinningLine& line, int piecesPlayed) override;
  void TakeBackPiece(int moveNumber) override;
  void ReopenGame() override;
  void ShowScore(const QString& text) override;
  void ShowResult(const QString& text) override;
  void ResetClock() override;
  void StartClock() override;
  void StopClock() override;
  void EnableClockTicks() override;
  void ShowSelectedMode(TPlayMode mode) override;
  void ReportError(const QString& text) override;

  // Says what the view shows, for a screen reader.
  TAnnouncer& Announcer() { return announcer_; }

 private:
  TFormMain& window_;
  TAnnouncer announcer_;
};

}  // namespace zerud
