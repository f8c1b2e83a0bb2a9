// The machine player: a depth-limited alpha-beta search over the columns 0 to
// 6, player 2 (the machine) maximising and player 1 minimising, leaves scored
// by EvaluateBoard.
#pragma once

#include <array>
#include <functional>

#include "rules/Board.h"
#include "rules/PatternTable.h"
#include "rules/Random.h"

namespace zerud {

// Starting bounds of the root: every score the search meets must lie
// strictly between them for the root's choice to mean anything.
constexpr double kRootAlpha = -1000000.0;
constexpr double kRootBeta = 1000000.0;

// What the search keeps between its nodes, owned by the main window.
struct TSearchState {
  static constexpr int kBestMovesSize = 20;
  static constexpr int kInitialMaxDepth = 4;

  // The depth at which a node stops and scores its grid: 2 x the level
  // (4, 6, 8 or 10). Read afresh at every node, so a change made while a
  // search runs (from the event pump) takes effect at the next node.
  int MaxDepth = kInitialMaxDepth;
  // BestMoves[d], d = 1 .. 20: the best column found so far by the node
  // being searched at depth d; BestMoves[1] is the machine's choice. Entry 0
  // is unused. A node deeper than 20 keeps no entry.
  std::array<int, kBestMovesSize + 1> BestMoves{};

  void ClearBestMoves() { BestMoves.fill(0); }
};

// Called once at every node before anything else, to let the window handle
// its pending events. May be empty.
using TEventPump = std::function<void()>;

// What a search node needs besides its grid.
struct TSearchContext {
  TSearchState& State;
  const TPatternTable& Table;
  const TEventPump& Pump;
};

// The plain search, in the order of the columns. The node where player 2
// moves: tries '2' in every column that is not full, left to right; returns
// the value of the grid for player 2 (fail-hard: a bound when cut off).
// Scores the grid itself when depth >= MaxDepth or when IsGameOver holds.
// Writes BestMoves[depth] as the value improves and restores it on a
// cut-off. Throws TConvertError from the evaluation.
double MaxNode(const TBoard& board, int depth, double alpha, double beta,
               const TSearchContext& context);
// The node where player 1 moves: the same with '1', minimising.
double MinNode(const TBoard& board, int depth, double alpha, double beta,
               const TSearchContext& context);

// The column (0 .. 6) the machine plays on `board`, where `moveNumber` is the
// number of the piece about to be placed (1 .. 42). For the first piece of a
// game the column is random, without a search; otherwise it is the root's
// choice of MaxNode(board, 1, kRootAlpha, kRootBeta). The ordered search
// (OrderedSearch.h) finds that choice and calls the pump at each of its far
// fewer nodes; MaxNode itself searches for a table with a weight that is not
// a whole number, a grid with floating pieces, and once the level changes
// under the ordered search (it then starts again at the root with the new
// level). When that choice is a full column (scores reaching the root
// bounds, or a grid already over) the leftmost column that is not full is
// played; -1 only for a full grid. BestMoves is all 0 on return, also when
// the evaluation throws (the error goes on to the caller and no column is
// chosen).
int ChooseMachineColumn(const TBoard& board, int moveNumber, TSearchState& state,
                        const TPatternTable& table, TRandomSource& random,
                        const TEventPump& pump = {});

// The leftmost column that is not full, or -1 for a full grid.
int LeftmostOpenColumn(const TBoard& board);

}  // namespace zerud
