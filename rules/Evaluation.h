// Scoring a grid for the machine player with the pattern table.
#pragma once

#include "rules/Board.h"
#include "rules/PatternTable.h"

namespace zerud {

// The score of a grid: over the 25 lines of four cells or more (in the order
// of ScoringLines()), the weight of the first table entry whose pattern
// occurs in the line's text, added up. Larger is better for player 2. The
// buffer is scratch space and is overwritten. Throws TConvertError when the
// first matching entry of a line has a value that is not an integer.
double EvaluateBoard(const TBoard& board, TLineBuffer& lines, const TPatternTable& table);

}  // namespace zerud
