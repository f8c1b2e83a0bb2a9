// Counting the grids reachable in play, ply by ply.
#pragma once

#include <cstdint>
#include <vector>

namespace zerud {

// counts[n], n = 0 .. plies: the number of distinct grids reachable after
// exactly n pieces, player 1 moving first, the players alternating, no move
// made from a grid that holds a four or is full.
std::vector<std::uint64_t> Perft(int plies);

}  // namespace zerud
