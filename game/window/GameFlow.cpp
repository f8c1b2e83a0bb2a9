// The window's side of the game: the handlers that hand clicks, keys and the
// peer's messages to TGame, which decides what each does.
#include <QAbstractSpinBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

#include "assets/Pictures.h"
#include "controls/ButtonComps.h"
#include "game/hint/HintControl.h"
#include "game/log/MessageLog.h"
#include "game/window/AnalysisControl.h"
#include "game/window/AnalysisStrip.h"
#include "game/window/BoardMenu.h"
#include "game/window/FocusRing.h"
#include "game/window/FormMain.h"
#include "game/window/GameParts.h"
#include "game/window/HighContrast.h"
#include "game/window/KeyboardPlay.h"
#include "sound/SoundEffects.h"

namespace zerud {

void TFormMain::SeedRandom(unsigned seed) { game_.SeedRandom(seed); }

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

void TFormMain::cbJoueursHumainsClick(TPlayMode mode) {
  game_.SelectMode(mode);
  emit SettingsChanged();
}

// The next piece shows over the column only where the game takes a move.
void TFormMain::Colonne0MouseMove(int column) {
  if (!game_.MayPlay(column)) return;
  parts_->Board->Colonne0MouseMove(Colonne[column]->pos(), game_.MoveNumber(), game_.GameOver());
}

void TFormMain::bnStartClick() { game_.StartGame(); }

// The trace follows every click, whether it made a move or not.
void TFormMain::Colonne0Click(int column) {
  game_.PlayHumanMove(column);
  TraceGrid();
}

void TFormMain::AskAttention() { attention_(); }

// Keys play as clicks on the column targets, where the game takes a move.
// Text fields, the options panel and a control reached by Tab keep their
// keys.
void TFormMain::BuildKeyboardPlay() {
  auto listening = [this](const QWidget* receiver) {
    const bool typing =
        qobject_cast<const QLineEdit*>(receiver) || qobject_cast<const QPlainTextEdit*>(receiver) ||
        qobject_cast<const QTextEdit*>(receiver) || qobject_cast<const QAbstractSpinBox*>(receiver);
    // A control that Tab reached keeps Space and Enter; the board plays.
    const QWidget* reached = focusRing_ != nullptr ? focusRing_->Reached() : nullptr;
    return !typing && !game_.OptionsOpen() && (reached == nullptr || reached == img());
  };
  auto play = [this](int column) {
    if (game_.MayPlay(column)) Colonne0Click(column);
  };
  keyboard_ =
      new TKeyboardPlay(this, {listening, play, [this](int column) { Colonne0MouseMove(column); }});
}

void TFormMain::DropHint() { hint_->Drop(); }

// The board's context menu and its keys. Undo, redo, a pasted game and the
// hint act on the board, which the options panel covers. "Son" switches the
// game's sounds, "Analyse" the values over the columns, "Contraste élevé"
// the board's high-contrast style. The record of a game
// goes through the clipboard; the chat field keeps Ctrl+C, Ctrl+V, Ctrl+Y
// and Ctrl+Shift+Z for its text.
void TFormMain::BuildBoardMenu() {
  std::vector<TBoardMenu::TEntry> entries = {
      {QStringLiteral("Nouvelle partie"),
       {QKeySequence(Qt::CTRL | Qt::Key_N)},
       [this] { return game_.MayStartGame(); },
       [this] { bnStartClick(); }},
      {QStringLiteral("Annuler le dernier coup"),
       {QKeySequence(Qt::CTRL | Qt::Key_Z), QKeySequence(Qt::Key_Backspace)},
       [this] { return game_.CanUndo(); },
       [this] { game_.UndoLastMove(); }},
      {QStringLiteral("Rétablir le coup"),
       {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
       [this] { return game_.CanRedo(); },
       [this] { game_.RedoMove(); }},
      {QStringLiteral("Copier la partie"),
       {QKeySequence(Qt::CTRL | Qt::Key_C)},
       [this] { return !game_.Moves().empty(); },
       [this] { QGuiApplication::clipboard()->setText(game_.Record()); }},
      {QStringLiteral("Coller une partie"),
       {QKeySequence(Qt::CTRL | Qt::Key_V)},
       [this] { return game_.CanPaste(); },
       [this] { game_.PasteRecord(QGuiApplication::clipboard()->text()); }},
      {QStringLiteral("Conseil"),
       {QKeySequence(Qt::Key_H)},
       [this] { return game_.MayAskHint(); },
       [this] { hint_->Ask(); }},
      {QStringLiteral("Analyse"),
       {QKeySequence(Qt::Key_A)},
       [this] { return analysis_->Offered(); },
       [this] { analysis_->SetOn(!analysis_->On()); },
       [this] { return analysis_->On(); }},
      {QStringLiteral("Aide"),
       {QKeySequence(Qt::Key_F1)},
       [] { return true; },
       [this] { bnAideClick(); }},
      {QStringLiteral("Son"),
       {QKeySequence(Qt::Key_M)},
       [] { return true; },
       [this] { sounds_->SetOn(!sounds_->On()); },
       [this] { return sounds_->On(); }},
      {QStringLiteral("Contraste élevé"),
       {},
       [] { return true; },
       [this] { contrast_->Choose(!contrast_->On()); },
       [this] { return contrast_->On(); }},
  };
  // The window owns the menu.
  new TBoardMenu(this, img(), std::move(entries));
}

// The game's sounds, the hint, the analysis and the high-contrast style,
// which the menu and its keys reach.
void TFormMain::BuildSoundsAndAids() {
  sounds_ = new TSoundEffects(this);
  game_.SetSoundPlayer(sounds_);
  auto* strip = new TAnalysisStrip(img());
  strip->stackUnder(lbResultat);
  analysis_ = new TAnalysisControl(game_, strip, this);
  hint_ = new THintControl(
      game_, view_, [this](int column) { keyboard_->MoveMarker(column); }, this);
  contrast_ = new THighContrast(
      *parts_,
      [this](bool on) {
        TLogIcons icons;
        for (int i = 0; i < kLogIconCount; ++i) icons[i] = LogIcon(i, on);
        MemoMessages->SetIcons(icons);
      },
      this);
}

}  // namespace zerud
