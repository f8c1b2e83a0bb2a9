#pragma once

#include <QObject>
#include <functional>

#include "game/hint/HintFinder.h"

namespace zerud {

class TGame;
class TGameView;

// The hint in the window: asked for with H or "Conseil", found on the
// finder's thread, then written into the log and shown by moving the
// keyboard's marker over the advised column. A move meanwhile drops it; one
// asked for while a piece falls or the machine thinks waits until the move
// is over, and comes if a local player is to move then.
class THintControl : public QObject {
  Q_OBJECT

 public:
  // `moveMarker` puts the next piece over a column, where Return plays it.
  THintControl(TGame& game, TGameView& view, std::function<void(int column)> moveMarker,
               QObject* parent);

  void Ask();
  void Drop();

 private:
  void MoveOver();
  void Show(const THint& hint);

  TGame& game_;
  TGameView& view_;
  std::function<void(int)> moveMarker_;
  THintFinder* finder_;
  bool waiting_ = false;
};

}  // namespace zerud
