// Games between two machine players, for measuring speed and strength.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "rules/Board.h"
#include "rules/PatternTable.h"

namespace zerud::bench {

// A player: the column to play on a grid, as player 2 (the grid is mirrored
// for player 1), with the number of the piece about to be placed.
using TPlayer = std::function<int(const TBoard& board, int moveNumber)>;

struct TGame {
  int Winner = 0;  // 0 for a draw
  int Pieces = 0;
  TBoard Final;
};

// Plays the opening columns, then lets `first` (player 1) and `second`
// (player 2) take turns until a four or a full grid. `onMove` sees each grid
// before the machine's move, with the player to move.
TGame PlayGame(const std::vector<int>& opening, const TPlayer& first, const TPlayer& second,
               const std::function<void(const TBoard&, int player, int moveNumber)>& onMove = {});

// Options of the measuring programs: --scores FILE, --level L, and counts
// such as --positions N; each falls back to its default.
struct TOptions {
  std::string Scores;
  int Level = 5;
  std::map<std::string, std::string> Others;

  int Count(const std::string& name, int fallback) const;
  std::string Text(const std::string& name, const std::string& fallback) const;
};
TOptions ParseOptions(int argc, char** argv, const std::string& defaultScores);

// A player using the game's search at `level` with `table`.
TPlayer SearchPlayer(const TPatternTable& table, int level);

// A fixed plain table for games whose grids must stay the same whatever
// table the game ships.
TPatternTable PlainGamesTable();
// From one to eight random columns, for the first pieces of a game; a four
// ends it early.
std::vector<int> RandomOpening(std::mt19937& random);

// `count` distinct grids of exactly `pieces` pieces met in games between
// the levels 2 to 5 (with the plain table) from random openings.
std::vector<TBoard> GridsFromPlay(int pieces, int count, std::uint32_t seed);

// Processor time of this thread, so that other programs on the machine do
// not count.
double ThreadMilliseconds();

}  // namespace zerud::bench
