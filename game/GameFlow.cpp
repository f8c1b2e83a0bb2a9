// The window's side of the game: the handlers that hand clicks and the
// peer's messages to TGame, and what TGame shows through the window.
#include <QAbstractSpinBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include "controls/ButtonComps.h"
#include "controls/TimeCounter.h"
#include "game/FormMain.h"
#include "game/GameParts.h"
#include "game/KeyboardPlay.h"
#include "game/log/MessageLog.h"
#include "platform/ErrorDisplay.h"

namespace zerud {

void TFormMain::SeedRandom(unsigned seed) { game_.Random.Seed(seed); }

QString TFormMain::GridText() const { return QString::fromStdString(game_.Grid().ToString()); }

// The grid into the hidden trace: six rows, top row first, then an empty line.
void TFormMain::TraceGrid() {
  for (int row = 0; row < kRows; ++row) {
    QString line;
    for (int column = 0; column < kColumns; ++column) line += QChar(game_.Grid().At(row, column));
    Memo1->appendPlainText(line);
  }
  Memo1->appendPlainText(QString());
}

void TFormMain::EnableColumns(bool on) { game_.EnableColumns(on); }

void TFormMain::cbJoueursHumainsClick() { EnableColumns(false); }

void TFormMain::Colonne0MouseMove(int column) {
  if (MoveUnderWay()) return;
  parts_->Board->Colonne0MouseMove(Colonne[column]->pos(), MoveNumber, GameOver);
}

void TFormMain::bnStartClick() { game_.StartGame(); }

// The trace follows every click, whether it made a move or not.
void TFormMain::Colonne0Click(int column) {
  game_.PlayHumanMove(column);
  TraceGrid();
}

void TFormMain::PlayMachineMove() { game_.PlayMachineMove(); }

void TFormMain::PlayOpponentMove(const QString& text) { game_.PlayPeerMove(text); }

void TFormMain::StartOpponentGame() { game_.StartPeerGame(); }

void TFormMain::EndAnnouncedByPeer() { game_.EndAnnouncedByPeer(); }

// Keys play as clicks on the column targets: a key reaches a column only
// where a click would (an enabled target), and shows the next piece only
// where the mouse would. Text fields and the options panel keep their keys.
void TFormMain::BuildKeyboardPlay() {
  auto listening = [this](const QWidget* receiver) {
    const bool typing =
        qobject_cast<const QLineEdit*>(receiver) || qobject_cast<const QPlainTextEdit*>(receiver) ||
        qobject_cast<const QTextEdit*>(receiver) || qobject_cast<const QAbstractSpinBox*>(receiver);
    return !typing && !PanelOptions->isVisible();
  };
  auto play = [this](int column) {
    if (Colonne[column]->isEnabled()) Colonne0Click(column);
  };
  auto showMarker = [this](int column) {
    if (Colonne[column]->isEnabled()) Colonne0MouseMove(column);
  };
  new TKeyboardPlay(this, {listening, play, showMarker});
}

// A peer's game start or move behind another window marks ours.

void TFormMain::StartPeerGame() {
  if (!isActiveWindow()) attention_();
  StartOpponentGame();
}

void TFormMain::PlayPeerMove(const QString& column) {
  if (!isActiveWindow()) attention_();
  PlayOpponentMove(column);
}

// The network window's requests.

void TFormMain::EnterNetworkMode() {
  EnableColumns(false);
  NetworkGame = true;
  cbJoueursHumains->setEnabled(false);
  cbMachine->setEnabled(false);
}

void TFormMain::LeaveNetworkMode() {
  NetworkGame = false;
  cbJoueursHumains->setEnabled(true);
  cbMachine->setEnabled(true);
}

void TFormMain::ShowNetworkStatus(const QString& text) { lbReseau->setText(text); }

void TFormMain::AllowNewGame(bool on) { bnStart->SetEnabled(on); }

// Every line ends with its line break, so the memo holds as many lines as it
// was given, an empty one included. The view follows the new line when it
// showed the end already. Besides its count of lines, the memo keeps at most
// kChatTextLimit characters: the oldest lines go first.
void TFormMain::AppendChatLine(const QString& line) {
  QScrollBar* bar = MemoChat->verticalScrollBar();
  const bool atEnd = bar->value() == bar->maximum();
  QTextDocument* document = MemoChat->document();
  QTextCursor cursor(document);
  cursor.movePosition(QTextCursor::End);
  cursor.insertText(line + QLatin1Char('\n'));
  // characterCount() counts the empty last block's end as well.
  while (document->characterCount() - 1 > kChatTextLimit && document->blockCount() > 1) {
    QTextCursor oldest(document);
    oldest.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    oldest.removeSelectedText();
  }
  if (atEnd) bar->setValue(bar->maximum());
}

// What the game shows.

void TFormMain::ClearLog() { MemoMessages->ClearLines(); }

void TFormMain::LogLine(const QString& line) { MemoMessages->AppendLine(line); }

void TFormMain::ScrollLogToLast() { MemoMessages->ScrollToLastLine(); }

void TFormMain::EnableColumnTargets(const std::array<bool, kColumns>& enabled) {
  for (TColumnTarget* target : Colonne) target->setEnabled(enabled[target->Tag()]);
}

void TFormMain::EnableStart(bool on) { bnStart->SetEnabled(on); }

void TFormMain::PrepareSlots(int firstPlayer) { parts_->Board->PrepareSlots(firstPlayer); }

void TFormMain::ClearAwayPieces(int count) { parts_->Board->ClearAwayPieces(count); }

void TFormMain::RestoreGrid() { parts_->Board->RestoreGrid(); }

// The piece falls from the column's target into its cell.
void TFormMain::DropPiece(int moveNumber, int column, int row) {
  TPieceSlot& slot = parts_->Board->PieceSlot(moveNumber);
  slot.Column = column;
  slot.Row = row;
  parts_->Board->DropPiece(moveNumber, Colonne[column]->pos(), row);
}

void TFormMain::ShowGameEnd(const TWinningLine& line, int piecesPlayed) {
  parts_->Board->ShowGameEnd(line, piecesPlayed);
}

// The board comes last at creation; error dialogs before it let events run.
bool TFormMain::Animating() const { return parts_->Board && parts_->Board->Animating(); }

void TFormMain::ResetClock() { Chrono->Reset(); }

void TFormMain::StartClock() { Chrono->Start(); }

void TFormMain::StopClock() { Chrono->Stop(); }

void TFormMain::EnableClockTicks() { Chrono->SetEnabled(true); }

void TFormMain::ReportError(const QString& text) { ShowError(text); }

}  // namespace zerud
