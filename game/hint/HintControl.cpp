#include "game/hint/HintControl.h"

#include <QMap>
#include <utility>

#include "game/model/Game.h"
#include "game/model/GameTexts.h"

namespace zerud {

THintControl::THintControl(TGame& game, TGameView& view, std::function<void(int)> moveMarker,
                           QObject* parent)
    : QObject(parent),
      game_(game),
      view_(view),
      moveMarker_(std::move(moveMarker)),
      finder_(new THintFinder(this)) {
  connect(finder_, &THintFinder::Found, this, &THintControl::Show);
  // The game goes before its window's children, this one among them.
  game_.SetMoveOverHandler([this] { MoveOver(); });
}

void THintControl::Ask() {
  if (game_.MoveUnderWay()) {
    waiting_ = true;
    return;
  }
  if (game_.LocalMayMove()) finder_->Find(game_.Grid(), game_.PatternTable());
}

void THintControl::MoveOver() {
  if (std::exchange(waiting_, false)) Ask();
}

void THintControl::Drop() { finder_->Cancel(); }

void THintControl::Show(const THint& hint) {
  // Any change of the pieces has dropped the request; the side to move
  // may still have changed (a frozen game).
  if (hint.Column < 0 || !game_.LocalMayMove()) return;
  static const QMap<THint::TValue, QString> kVerdicts = {
      {THint::TValue::Win, texts::kHintWins},
      {THint::TValue::Draw, texts::kHintDraws},
      {THint::TValue::Loss, texts::kHintLoses},
      {THint::TValue::Estimate, texts::kHintEstimate}};
  view_.LogLine(texts::kHint.arg(hint.Column) + kVerdicts.value(hint.Value), TSpeaker::Hint);
  view_.ScrollLogToLast();
  moveMarker_(hint.Column);
}

}  // namespace zerud
