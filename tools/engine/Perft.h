// Counting the grids reachable in play, ply by ply.
#pragma once

#include <cstdint>
#include <functional>

namespace zerud {

// Calls onPly(n, count) for n = 0 .. plies, as soon as each count is known:
// the number of distinct grids reachable after exactly n pieces, player 1
// moving first, the players alternating, no move made from a grid that
// holds a four or is full. The grids of a ply are held in memory, so deep
// plies can run out of it (std::bad_alloc) after the shallower ones have
// been reported.
void Perft(int plies, const std::function<void(int ply, std::uint64_t count)>& onPly);

}  // namespace zerud
