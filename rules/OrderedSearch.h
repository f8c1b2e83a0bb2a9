// The machine's choice found the quick way: the root's columns get the same
// depth-limited minimax values as in the plain left-to-right search, but the
// nodes below try their columns best first, remember the grids they have met
// and prove most columns worse with a window of width one. The root still
// plays the leftmost column of greatest value.
#pragma once

#include "rules/Board.h"
#include "rules/PatternTable.h"
#include "rules/Search.h"

namespace zerud {

// Thrown out of the ordered search when MaxDepth changes under it (from the
// event pump): the plain search then starts again with the new depth.
struct TLevelChanged {};

// True when a piece sits above an empty cell somewhere in the grid.
bool HasFloatingPiece(const TBoard& board);

// Whether the ordered search makes the plain search's choice: the grid has
// no floating piece (taking a piece back would then move others), no line
// the table scores raises a conversion error (which leaf raises it first
// depends on the order of the search) and the depth limit is at most 63.
bool OrderedSearchApplies(const TBoard& board, const TPatternTable& table, int maxDepth);

// What the plain root search leaves in BestMoves[1]: the leftmost column of
// greatest value, or 0 when the root scores its own grid or no column's
// value lies strictly between the root bounds. The event pump is called at
// every node; BestMoves is not written. Throws TLevelChanged.
int OrderedRootChoice(const TBoard& board, const TSearchContext& context);

}  // namespace zerud
