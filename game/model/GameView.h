// What the game needs of its window: the message log and the chat, the
// column targets and the start button, the board's pieces, the clock and
// the mode boxes. The window's view object implements it; the game's tests
// hand a fake one.
#pragma once

#include <QString>
#include <array>

#include "game/model/LogSpeaker.h"
#include "game/model/PlayMode.h"
#include "rules/Board.h"

namespace zerud {

class TGameView {
 public:
  virtual ~TGameView() = default;

  // The message log.
  virtual void ClearLog() = 0;
  virtual void LogLine(const QString& line, TSpeaker speaker) = 0;
  virtual void ScrollLogToLast() = 0;
  // A line of the chat: the peer's, or one of ours.
  virtual void AppendChatLine(const QString& line, bool own) = 0;

  // enabled[c] for the target of column c.
  virtual void EnableColumnTargets(const std::array<bool, kColumns>& enabled) = 0;
  virtual void EnableStart(bool on) = 0;

  // The pieces: slot k shows the k-th piece of the game. The animations
  // handle the window's events while they run.
  virtual void PrepareSlots(int firstPlayer) = 0;
  virtual void ClearAwayPieces(int count) = 0;
  virtual void RestoreGrid() = 0;
  virtual void DropPiece(int moveNumber, int column, int row) = 0;
  // The piece put straight into its cell, without a fall (a pasted game).
  virtual void PlacePiece(int moveNumber, int column, int row) = 0;
  virtual void ShowGameEnd(const TWinningLine& line, int piecesPlayed) = 0;
  // Undo: piece `moveNumber` leaves the board; a finished game reopens (its
  // line unmarked, the grid shown again).
  virtual void TakeBackPiece(int moveNumber) = 0;
  virtual void ReopenGame() = 0;
  // The games won, "<red>-<yellow>", and the result in large type over the
  // board (empty: none).
  virtual void ShowScore(const QString& text) = 0;
  virtual void ShowResult(const QString& text) = 0;

  // The game clock and its ticks on the display.
  virtual void ResetClock() = 0;
  virtual void StartClock() = 0;
  virtual void StopClock() = 0;
  virtual void EnableClockTicks() = 0;

  // The mode the boxes show (Machine or TwoHumans) has changed, or a
  // connection opened or closed: the boxes and the log's rows follow.
  virtual void ShowSelectedMode(TPlayMode mode) = 0;
  // An error the game cannot go on from (a bad pattern table). What a peer
  // sends never comes here: it is written into the log.
  virtual void ReportError(const QString& text) = 0;
};

}  // namespace zerud
