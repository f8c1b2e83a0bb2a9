// Random grids and pattern tables for holding the fast machine player to
// the plain one.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "rules/Board.h"

namespace zerud::testing_cases {

// A grid reached by `pieces` random moves from the empty grid, player 1
// first; play stops early at a four or a full grid. Sets `nextPlayer`.
TBoard RandomPlayedGrid(std::mt19937& random, int pieces, int& nextPlayer);

// Like RandomPlayedGrid, but moves that make a four are avoided where
// another move exists, so that full and nearly full grids come up.
TBoard RandomQuietGrid(std::mt19937& random, int pieces);

// Any cells at all, floating pieces included.
TBoard RandomCells(std::mt19937& random);

// A table of a few entries mixing what a hand-edited file may hold: fours,
// short and long patterns, entries without "|" or with several, empty
// patterns, blank lines, values with blanks, values that are not integers
// (when `withBadValues`), and now and then weights large enough to reach
// the search's root bounds.
std::vector<std::string> RandomEntries(std::mt19937& random, bool withBadValues);

std::string JoinLines(const std::vector<std::string>& entries);

}  // namespace zerud::testing_cases
