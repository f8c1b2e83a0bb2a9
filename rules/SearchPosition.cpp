#include "rules/SearchPosition.h"

#include <string_view>

namespace zerud {

namespace {

// For every cell, the scoring lines through it and the digit weight 3^k of
// the cell's place k in each line.
struct TCellLines {
  int Count = 0;
  std::array<int, 4> Line{};
  std::array<int, 4> Power{};
};

// For every line text of 4 .. 7 cells (indexed like the pattern table's
// weights), whether it holds "1111" or "2222".
struct TLineTables {
  std::array<TCellLines, kCells> CellLines;
  std::array<std::array<bool, 2187>, TPatternTable::kMaxLineLength + 1> HasFour{};

  TLineTables() {
    const auto& lines = ScoringLines();
    for (int l = 0; l < kLineCount; ++l) {
      const TLine& line = lines[l];
      int power = 1;
      for (int k = 0; k < line.Length; ++k, power *= 3) {
        const int row = line.Row + k * kDirectionRowStep[line.Direction];
        const int column = line.Column + k * kDirectionColumnStep[line.Direction];
        TCellLines& cell = CellLines[row * kColumns + column];
        cell.Line[cell.Count] = l;
        cell.Power[cell.Count] = power;
        ++cell.Count;
      }
    }
    TPatternTable::ForEachLineText([this](int length, int code, std::string_view text) {
      HasFour[length][code] = text.find("1111") != std::string_view::npos ||
                              text.find("2222") != std::string_view::npos;
    });
  }
};

// Built when the program starts rather than on first use: the search reads
// them at every move, and a guarded local would be checked each time.
const TLineTables kTables;

const TLineTables& Tables() { return kTables; }

}  // namespace

TSearchPosition::TSearchPosition(const TBoard& board, const TPatternTable& table)
    : table_(table), cells_(board.Cells) {
  const auto& lines = ScoringLines();
  for (int l = 0; l < kLineCount; ++l) {
    weights_[l] = table_.WeightsOfLength(lines[l].Length);
  }
  // Start from the empty grid's codes and place every piece.
  cells_.fill(kEmptyCell);
  emptyCells_ = kCells;
  for (int l = 0; l < kLineCount; ++l) {
    const TLineWeight& weight = weights_[l][0];
    weightSum_ += weight.Weight;
    if (weight.BadEntry >= 0) ++badLines_;
  }
  for (int i = 0; i < kCells; ++i) {
    if (board.Cells[i] != kEmptyCell) Put(i, board.Cells[i]);
  }
  hasFour_ = ScanForFour();
}

void TSearchPosition::Put(int index, char cell) {
  const int change = (cell - '0') - (cells_[index] - '0');
  if (change == 0) return;
  const bool wasEmpty = cells_[index] == kEmptyCell;
  emptyCells_ += (cell == kEmptyCell) - wasEmpty;
  cells_[index] = cell;
  const TLineTables& tables = Tables();
  const TCellLines& through = tables.CellLines[index];
  const auto& lines = ScoringLines();
  bool four = false;
  for (int k = 0; k < through.Count; ++k) {
    const int l = through.Line[k];
    const TLineWeight& before = weights_[l][codes_[l]];
    codes_[l] += change * through.Power[k];
    const TLineWeight& after = weights_[l][codes_[l]];
    weightSum_ += std::int64_t{after.Weight} - before.Weight;
    badLines_ += (after.BadEntry >= 0) - (before.BadEntry >= 0);
    four = four || tables.HasFour[lines[l].Length][codes_[l]];
  }
  // A piece dropped on an empty cell can only add a four through itself.
  // Taking a piece away can only break fours; replacing one can do both.
  if (wasEmpty) {
    hasFour_ = hasFour_ || four;
  } else if (hasFour_ || cell != kEmptyCell) {
    hasFour_ = ScanForFour();
  }
}

std::int64_t TSearchPosition::WeightSumAfter(int index, char cell) const {
  const TCellLines& through = Tables().CellLines[index];
  std::int64_t sum = weightSum_;
  for (int k = 0; k < through.Count; ++k) {
    const int l = through.Line[k];
    const int code = codes_[l];
    sum += std::int64_t{weights_[l][code + (cell - '0') * through.Power[k]].Weight} -
           weights_[l][code].Weight;
  }
  return sum;
}

bool TSearchPosition::ScanForFour() const {
  const auto& lines = ScoringLines();
  for (int l = 0; l < kLineCount; ++l) {
    if (Tables().HasFour[lines[l].Length][codes_[l]]) return true;
  }
  return false;
}

void TSearchPosition::ThrowFirstBadLine() const {
  for (int l = 0; l < kLineCount; ++l) {
    const TLineWeight& weight = weights_[l][codes_[l]];
    if (weight.BadEntry >= 0) table_.ThrowBadEntry(weight);
  }
  // badLines_ > 0 guarantees a bad line above.
  __builtin_unreachable();
}

}  // namespace zerud
