#include "Literal.h"

#include "rules/Integer.h"
#include "rules/PatternTable.h"

namespace zerud::literal {

namespace {

double ScoreLine(int direction, const TBoard& board, int row, int column, TLineBuffer& lines,
                 const TEntries& entries) {
  ExtractLine(direction, board, column, row, lines);
  const std::string text(lines.Text(direction));
  for (const std::string& entry : entries) {
    const std::size_t bar = entry.find('|');
    const std::string pattern = bar == std::string::npos ? std::string() : entry.substr(0, bar);
    if (pattern.empty() || text.find(pattern) == std::string::npos) continue;
    return ParseInteger(entry.substr(bar + 1));
  }
  return 0;
}

}  // namespace

double EvaluateBoard(TBoard board, TLineBuffer& lines, const TEntries& entries) {
  double score = 0;
  lines.ClearAll();
  for (int r = 5; r >= 0; --r) score += ScoreLine(1, board, r, 0, lines, entries);
  for (int c = 0; c <= 3; ++c) score += ScoreLine(2, board, 0, c, lines, entries);
  for (int r = 1; r <= 2; ++r) score += ScoreLine(2, board, r, 0, lines, entries);
  for (int c = 0; c <= 6; ++c) score += ScoreLine(3, board, 0, c, lines, entries);
  for (int c = 6; c >= 3; --c) score += ScoreLine(4, board, 0, c, lines, entries);
  for (int r = 1; r <= 2; ++r) score += ScoreLine(4, board, r, 6, lines, entries);
  return score;
}

namespace {

double Node(bool maximising, TBoard board, int depth, double alpha, double beta,
            const TContext& context) {
  if (context.Pump) context.Pump();
  auto& best = context.State.BestMoves;
  const bool keeps = depth <= TSearchState::kBestMovesSize;
  const int saved = keeps ? best[depth] : 0;
  TLineBuffer lines;
  if (depth >= context.State.MaxDepth) return EvaluateBoard(board, lines, context.Entries);
  if (IsGameOver(board)) return EvaluateBoard(board, lines, context.Entries);
  for (int c = 0; c < kColumns; ++c) {
    if (LandingRow(board, c) == -1) continue;
    board.Set(LandingRow(board, c), c, maximising ? '2' : '1');
    const double v = Node(!maximising, board, depth + 1, alpha, beta, context);
    if (maximising && v > alpha) {
      if (keeps) best[depth] = c;
      alpha = v;
    }
    if (!maximising && v < beta) {
      if (keeps) best[depth] = c;
      beta = v;
    }
    const int landing = LandingRow(board, c);
    board.Set(landing == -1 ? 0 : landing + 1, c, '0');
    if (!(beta > alpha)) {
      if (keeps) best[depth] = saved;
      return maximising ? beta : alpha;
    }
  }
  return maximising ? alpha : beta;
}

}  // namespace

double MaxNode(TBoard board, int depth, double alpha, double beta, const TContext& context) {
  return Node(true, board, depth, alpha, beta, context);
}

double MinNode(TBoard board, int depth, double alpha, double beta, const TContext& context) {
  return Node(false, board, depth, alpha, beta, context);
}

int ChooseMachineColumn(const TBoard& board, TSearchState& state, const TEntries& entries,
                        const TEventPump& pump) {
  int column;
  try {
    MaxNode(board, 1, kRootAlpha, kRootBeta, TContext{state, entries, pump});
    column = state.BestMoves[1];
  } catch (...) {
    state.ClearBestMoves();
    throw;
  }
  state.ClearBestMoves();
  if (LandingRow(board, column) == -1) column = LeftmostOpenColumn(board);
  return column;
}

}  // namespace zerud::literal
