// Positions of real games, each with player 2 (the machine) to move and the
// perfect-play outcome of every column, to measure how often the machine's
// choice keeps what the position is worth.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "rules/Board.h"
#include "rules/PatternTable.h"

namespace zerud::bench {

constexpr int kFullColumn = -2;

struct TQualityPosition {
  TBoard Board;
  int Pieces = 0;
  // The game it comes from: even games are the tuning half, odd ones held out.
  int Game = 0;
  // For player 2 playing the column: 1 won, 0 drawn, -1 lost, kFullColumn.
  std::array<std::int8_t, kColumns> Outcomes{};
  // Columns that make four at once.
  std::array<bool, kColumns> WinsNow{};

  bool HeldOut() const { return Game % 2 == 1; }
  int Best() const;
  bool Sound(int column) const { return Outcomes[column] == Best(); }
  // Some open column throws away part of what the position is worth.
  bool Contested() const;
  bool CanWinNow() const;
};

// Reads the set from `cachePath` when it holds `count` positions; otherwise
// plays games between the levels from random openings, solves every new
// position (reporting progress on stderr) and writes the set there.
std::vector<TQualityPosition> LoadOrBuildQualitySet(const std::string& cachePath, int count);

// The column the machine plays on the position at `level` with `table`.
int MachineColumn(const TQualityPosition& position, const TPatternTable& table, int level);

struct TLevelFigures {
  int Positions = 0;
  int Sound = 0;
  int Contested = 0;
  int ContestedSound = 0;
  int WinsNow = 0;       // positions where a column makes four at once
  int WinsNowTaken = 0;  // ... and the machine played one
  int WinsPutOff = 0;    // ... and it played a later win instead
};

// The machine's choices at `level` with `table` on the positions of `set`
// for which `keep` holds.
template <class TKeep>
TLevelFigures MeasureLevel(const std::vector<TQualityPosition>& set, const TPatternTable& table,
                           int level, TKeep&& keep);
TLevelFigures MeasureLevel(const std::vector<const TQualityPosition*>& positions,
                           const TPatternTable& table, int level);

template <class TKeep>
TLevelFigures MeasureLevel(const std::vector<TQualityPosition>& set, const TPatternTable& table,
                           int level, TKeep&& keep) {
  std::vector<const TQualityPosition*> kept;
  for (const TQualityPosition& position : set) {
    if (keep(position)) kept.push_back(&position);
  }
  return MeasureLevel(kept, table, level);
}

}  // namespace zerud::bench
