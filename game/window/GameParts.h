// What the main window owns besides its controls and the game: the board's
// settings and layers.
#pragma once

#include <memory>

#include "game/board/BoardView.h"
#include "game/board/LayeredImage.h"

namespace zerud {

struct TGameParts {
  TBoardSettings Settings;
  TLayeredImage* Img = nullptr;
  std::unique_ptr<TBoardView> Board;
};

}  // namespace zerud
