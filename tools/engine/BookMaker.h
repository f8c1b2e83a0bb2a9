// Makes and checks the opening book (`zerud-engine book`).
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "solver/BitPosition.h"

namespace zerud {

// Every grid of exactly `pieces` pieces that can arise in a game (no four
// on it), one of each pair of mirror images (the one whose code is the
// canonical one), grids from the same parent next to each other.
std::vector<std::vector<TBitPosition>> BookGridsByPieces(int maxPieces);

struct TBookMakerOptions {
  std::string Out;  // the book; its progress goes to Out + ".progress"
  int Threads = 1;
  std::size_t TableMib = 128;
};

// Solves every grid of 8 pieces not yet in the progress file, appending
// each as it is solved, then scores the smaller grids from them and writes
// the book. Returns the exit status; reports progress on `out`.
int MakeBook(const TBookMakerOptions& options, std::ostream& out, std::ostream& err);

// Solves `count` entries of the book in `path` chosen at random again,
// without the book, and reports any difference. Returns the exit status:
// 1 on a difference or a refused file.
int VerifyBook(const std::string& path, int count, int threads, std::size_t tableMib,
               std::ostream& out, std::ostream& err);

}  // namespace zerud
