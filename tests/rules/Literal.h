// The machine player written the plain way: line texts, a substring search
// per table entry, the value converted when it is used, a fresh copy of the
// grid at every node. Slow; the tests and the benchmark hold the fast
// search of the game to it.
#pragma once

#include <string>
#include <vector>

#include "rules/Board.h"
#include "rules/Search.h"

namespace zerud::literal {

// The table as plain text entries, in file order.
using TEntries = std::vector<std::string>;

double EvaluateBoard(TBoard board, TLineBuffer& lines, const TEntries& entries);

struct TContext {
  TSearchState& State;
  const TEntries& Entries;
  const TEventPump& Pump;
};

double MaxNode(TBoard board, int depth, double alpha, double beta, const TContext& context);
double MinNode(TBoard board, int depth, double alpha, double beta, const TContext& context);

// The search's choice for a grid where the machine does not open the game:
// BestMoves[1] after the root search, or the leftmost open column when that
// is full. BestMoves is cleared afterwards, also on an error.
int ChooseMachineColumn(const TBoard& board, TSearchState& state, const TEntries& entries,
                        const TEventPump& pump = {});

}  // namespace zerud::literal
