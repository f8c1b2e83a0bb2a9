// The grid as the search sees it: the cells, plus for each of the 25 scoring
// lines its base-3 code, and the running sum of the lines' weights. Writing
// a cell updates only the lines through it, so the score of a leaf and the
// end test after a move cost a few look-ups instead of a scan of the grid.
#pragma once

#include <array>
#include <cstdint>

#include "rules/Board.h"
#include "rules/PatternTable.h"

namespace zerud {

class TSearchPosition {
 public:
  TSearchPosition(const TBoard& board, const TPatternTable& table);

  char Cell(int index) const { return cells_[index]; }
  const std::array<char, kCells>& Cells() const { return cells_; }

  // Same result as LandingRow on the same cells.
  int LandingRow(int column) const {
    for (int row = kRows - 1; row >= 0; --row) {
      if (cells_[row * kColumns + column] == kEmptyCell) return row;
    }
    return -1;
  }

  // Writes `cell` ('0', '1' or '2') at cell `index` (row * 7 + column) and
  // brings the line codes, the weight sum and the four flag up to date.
  void Put(int index, char cell);

  // The weight sum Evaluate would give after writing `cell` on the empty
  // cell `index`, the position left as it is. Raises no conversion error:
  // for tables whose every line weight is a whole number.
  std::int64_t WeightSumAfter(int index, char cell) const;

  // Same result as IsGameOver on the same cells.
  bool IsOver() const { return hasFour_ || emptyCells_ == 0; }

  // Same result as EvaluateBoard on the same cells, errors included.
  double Evaluate() const {
    if (badLines_ > 0) ThrowFirstBadLine();
    return static_cast<double>(weightSum_);
  }

 private:
  [[noreturn]] void ThrowFirstBadLine() const;
  bool ScanForFour() const;

  // A copy: it keeps the weights alive for the whole search.
  const TPatternTable table_;
  std::array<char, kCells> cells_;
  std::array<int, kLineCount> codes_{};
  std::array<const TLineWeight*, kLineCount> weights_{};
  std::int64_t weightSum_ = 0;
  int badLines_ = 0;
  int emptyCells_ = 0;
  bool hasFour_ = false;
};

}  // namespace zerud
