#include "rules/Evaluation.h"

namespace zerud {

double EvaluateBoard(const TBoard& board, TLineBuffer& lines, const TPatternTable& table) {
  // The table has matched every possible line text at load time: each line
  // costs one look-up, and a bad value still raises on its first use.
  double score = 0;
  lines.ClearAll();
  for (const TLine& line : ScoringLines()) {
    ExtractLine(line.Direction, board, line.Column, line.Row, lines);
    score += table.ScoreLine(lines.Text(line.Direction));
  }
  return score;
}

}  // namespace zerud
