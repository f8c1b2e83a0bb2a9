// The order in which both searches try columns: the middle first, since
// central pieces take part in more lines and so are more often best.
#pragma once

#include <array>

#include "rules/Board.h"

namespace zerud {

constexpr std::array<int, kColumns> kCentreFirst = {3, 2, 4, 1, 5, 0, 6};

// Adds `move` with `score` to the first `count` entries, kept sorted from
// the highest score down; among equal scores the earlier added stays first,
// so moves added centre-first keep that order on ties. Returns the new count.
template <typename TMove>
int InsertByScore(TMove* moves, int* scores, int count, TMove move, int score) {
  int at = count;
  for (; at > 0 && scores[at - 1] < score; --at) {
    moves[at] = moves[at - 1];
    scores[at] = scores[at - 1];
  }
  moves[at] = move;
  scores[at] = score;
  return count + 1;
}

}  // namespace zerud
