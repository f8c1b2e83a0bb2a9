// What the main window owns besides its controls: the grid, the pattern
// table, the settings, the machine's search state, the random source and the
// board's layers.
#pragma once

#include <memory>

#include "game/board/BoardView.h"
#include "game/board/LayeredImage.h"
#include "rules/Board.h"
#include "rules/PatternTable.h"
#include "rules/Random.h"
#include "rules/Search.h"

namespace zerud {

struct TGameParts {
  TBoard Grid;
  TPatternTable PatternTable;
  TBoardSettings Settings;
  TSearchState Search;
  TRandomSource Random;
  TLayeredImage* Img = nullptr;
  std::unique_ptr<TBoardView> Board;
};

}  // namespace zerud
