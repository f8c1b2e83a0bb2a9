#include "rules/Search.h"

#include "rules/OrderedSearch.h"
#include "rules/SearchPosition.h"

namespace zerud {

namespace {

// One search over one grid: the nodes play and take back their pieces on a
// single TSearchPosition instead of copying the grid, and read the score and
// the end test from its line codes. A grid with floating pieces (an empty
// cell under a piece) can make taking a piece back remove another one, as it
// would on a copy of the grid; there every node puts its grid back as it
// found it before returning, so each node still sees what a copy would hold.
class TSearch {
 public:
  TSearch(const TBoard& board, const TSearchContext& context)
      : position_(board, context.Table), context_(context), floating_(HasFloatingPiece(board)) {}

  template <bool kMaximising>
  double Node(int depth, double alpha, double beta);

 private:
  void Restore(const std::array<char, kCells>& cells);

  TSearchPosition position_;
  const TSearchContext& context_;
  const bool floating_;
};

void TSearch::Restore(const std::array<char, kCells>& cells) {
  // Pieces first taken away, then put back, so that the four flag is right.
  for (int i = 0; i < kCells; ++i) {
    if (position_.Cell(i) != cells[i] && cells[i] == kEmptyCell) position_.Put(i, cells[i]);
  }
  for (int i = 0; i < kCells; ++i) {
    if (position_.Cell(i) != cells[i]) position_.Put(i, cells[i]);
  }
}

template <bool kMaximising>
double TSearch::Node(int depth, double alpha, double beta) {
  TSearchState& state = context_.State;
  const bool keepsBestMove = depth <= TSearchState::kBestMovesSize;
  // Let the window handle its pending events.
  if (context_.Pump) context_.Pump();
  // Remember this depth's best move, for a cut-off.
  const int saved = keepsBestMove ? state.BestMoves[depth] : 0;
  // A leaf: the depth limit first, then the end of the game.
  if (depth >= state.MaxDepth || position_.IsOver()) return position_.Evaluate();

  std::array<char, kCells> entry;
  if (floating_) entry = position_.Cells();
  const char piece = kMaximising ? kPlayer2Cell : kPlayer1Cell;
  for (int column = 0; column < kColumns; ++column) {
    // A full column is skipped.
    const int row = position_.LandingRow(column);
    if (row < 0) continue;
    // Place the piece.
    position_.Put(row * kColumns + column, piece);
    // The other side answers.
    const double value =
        kMaximising ? Node<false>(depth + 1, alpha, beta) : Node<true>(depth + 1, alpha, beta);
    // Keep a strict improvement.
    if (kMaximising ? value > alpha : value < beta) {
      if (keepsBestMove) state.BestMoves[depth] = column;
      (kMaximising ? alpha : beta) = value;
    }
    // Take the piece back: the cell under the new landing row.
    const int landing = position_.LandingRow(column);
    position_.Put((landing < 0 ? 0 : landing + 1) * kColumns + column, kEmptyCell);
    // Cut-off: leave no trace in BestMoves.
    if (!(beta > alpha)) {
      if (keepsBestMove) state.BestMoves[depth] = saved;
      if (floating_) Restore(entry);
      return kMaximising ? beta : alpha;
    }
  }
  if (floating_) Restore(entry);
  return kMaximising ? alpha : beta;
}

}  // namespace

double MaxNode(const TBoard& board, int depth, double alpha, double beta,
               const TSearchContext& context) {
  TSearch search(board, context);
  return search.Node<true>(depth, alpha, beta);
}

double MinNode(const TBoard& board, int depth, double alpha, double beta,
               const TSearchContext& context) {
  TSearch search(board, context);
  return search.Node<false>(depth, alpha, beta);
}

int LeftmostOpenColumn(const TBoard& board) {
  for (int column = 0; column < kColumns; ++column) {
    if (LandingRow(board, column) >= 0) return column;
  }
  return -1;
}

namespace {

// The root's choice, BestMoves[1] of the plain search: found by the ordered
// search where it makes the same choice, otherwise (and after a change of
// level under the ordered search) by the plain one, which reads the depth
// limit afresh at every node.
int RootChoice(const TBoard& board, TSearchState& state, const TPatternTable& table,
               const TEventPump& pump) {
  const TSearchContext context{state, table, pump};
  if (OrderedSearchApplies(board, table, state.MaxDepth)) {
    try {
      return OrderedRootChoice(board, context);
    } catch (const TLevelChanged&) {
      state.ClearBestMoves();
    }
  }
  MaxNode(board, 1, kRootAlpha, kRootBeta, context);
  return state.BestMoves[1];
}

}  // namespace

int ChooseMachineColumn(const TBoard& board, int moveNumber, TSearchState& state,
                        const TPatternTable& table, TRandomSource& random, const TEventPump& pump) {
  // Every search starts from an all-zero table, also after an error.
  struct TClearOnExit {
    TSearchState& State;
    ~TClearOnExit() { State.ClearBestMoves(); }
  } clearOnExit{state};

  int column;
  if (moveNumber == 1) {
    // The machine opens the game: a random column, no search.
    column = random.Below(kColumns);
  } else {
    // A copy: the window may drop its table from the pump, and the plain
    // search that takes over after a level change still scores with it.
    column = RootChoice(board, state, TPatternTable(table), pump);
  }
  if (LandingRow(board, column) < 0) column = LeftmostOpenColumn(board);
  return column;
}

}  // namespace zerud
