// Random grids and pattern tables for holding the fast machine player to
// the plain one.
#pragma once

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "rules/Board.h"

namespace zerud::testing_cases {

inline int Uniform(std::mt19937& random, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(random);
}

inline std::string RandomPattern(std::mt19937& random) {
  std::string pattern;
  const int length = Uniform(random, 0, 20) == 0 ? Uniform(random, 8, 9) : Uniform(random, 1, 5);
  for (int i = 0; i < length; ++i) pattern += "0120"[Uniform(random, 0, 3)];
  return pattern;
}

inline std::string RandomValue(std::mt19937& random, bool withBadValues) {
  switch (Uniform(random, 0, withBadValues ? 12 : 9)) {
    case 0:
      return std::to_string(Uniform(random, -1500000, 1500000));
    case 1:
      return " " + std::to_string(Uniform(random, -50, 50)) + " ";
    case 10:
      return "x" + std::to_string(Uniform(random, 0, 9));
    case 11:
      return std::to_string(Uniform(random, 0, 9)) + "|1";
    case 12:
      return "";
    default:
      return std::to_string(Uniform(random, -1000, 1000));
  }
}

// A grid reached by `pieces` random moves, player 1 first; play stops early
// at a four or a full grid. Sets `nextPlayer`.
inline TBoard RandomPlayedGrid(std::mt19937& random, int pieces, int& nextPlayer) {
  TBoard board;
  nextPlayer = 1;
  for (int n = 0; n < pieces && !IsGameOver(board); ++n) {
    int column;
    do {
      column = Uniform(random, 0, kColumns - 1);
    } while (LandingRow(board, column) < 0);
    board.Set(LandingRow(board, column), column, PlayerCell(nextPlayer));
    nextPlayer = OtherPlayer(nextPlayer);
  }
  return board;
}

// Moves that make a four are avoided where another exists, so that full and
// nearly full grids come up.
inline TBoard RandomQuietGrid(std::mt19937& random, int pieces) {
  TBoard board;
  int player = 1;
  for (int n = 0; n < pieces && !IsGameOver(board); ++n) {
    std::vector<int> quiet, open;
    for (int column = 0; column < kColumns; ++column) {
      const int row = LandingRow(board, column);
      if (row < 0) continue;
      open.push_back(column);
      TBoard after = board;
      after.Set(row, column, PlayerCell(player));
      if (!IsGameOver(after) || IsBoardFull(after)) quiet.push_back(column);
    }
    const std::vector<int>& choices = quiet.empty() ? open : quiet;
    const int column = choices[Uniform(random, 0, static_cast<int>(choices.size()) - 1)];
    board.Set(LandingRow(board, column), column, PlayerCell(player));
    player = OtherPlayer(player);
  }
  return board;
}

// Any cells at all, floating pieces included.
inline TBoard RandomCells(std::mt19937& random) {
  TBoard board;
  const int emptyShare = Uniform(random, 1, 4);
  for (char& cell : board.Cells)
    cell = Uniform(random, 0, 4) < emptyShare ? '0' : "12"[Uniform(random, 0, 1)];
  return board;
}

// A few entries mixing what a hand-edited table may hold: fours, short and
// long patterns, no "|" or several, empty patterns, blank lines, values with
// blanks, values that are not integers (when `withBadValues`), and weights
// large enough to reach the root bounds.
inline std::vector<std::string> RandomEntries(std::mt19937& random, bool withBadValues) {
  std::vector<std::string> entries;
  const int count = Uniform(random, 0, 12);
  if (Uniform(random, 0, 1)) {
    entries.push_back("2222|" + std::to_string(Uniform(random, 1000, 200000)));
    entries.push_back("1111|" + std::to_string(-Uniform(random, 1000, 200000)));
  }
  for (int i = 0; i < count; ++i) {
    switch (Uniform(random, 0, 9)) {
      case 0:
        entries.push_back(RandomPattern(random));  // no "|"
        break;
      case 1:
        entries.push_back("|" + RandomValue(random, withBadValues));  // empty pattern
        break;
      case 2:
        entries.push_back("");
        break;
      default:
        entries.push_back(RandomPattern(random) + "|" + RandomValue(random, withBadValues));
    }
  }
  std::shuffle(entries.begin(), entries.end(), random);
  return entries;
}

inline std::string JoinLines(const std::vector<std::string>& entries) {
  std::string text;
  for (const std::string& entry : entries) text += entry + "\r\n";
  return text;
}

}  // namespace zerud::testing_cases
