// How fast perfect play comes: the exact score of the empty grid (nodes and
// wall time), then of every grid of --games random games (100) from
// --seed (1), every move of each: the median and slowest answer, apart for
// the grids of up to 8 pieces (which the opening book answers) and the
// later ones, and the nodes and time of them all. One solver for the whole
// run, as the hint keeps one for a game: a grid met again is answered from
// its table.
//
//   zerud-solver-speed [--threads N] [--table-mib M] [--book FILE|none]
//                      [--games N] [--seed N] [--empty 0|1] [--from PIECES]
//
// --threads 1 and --table-mib 128 by default (the game's hint); --book the
// program folder's by default; --from skips the grids of fewer pieces
// (searching them without the book takes long).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "SelfPlay.h"
#include "solver/Solver.h"

using namespace zerud;

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The grids of a game of random moves, each before its move, until a four
// or a full grid.
std::vector<TBitPosition> RandomGame(std::mt19937& random) {
  std::vector<TBitPosition> grids;
  TBitPosition grid;
  while (grid.Pieces() < kCells) {
    grids.push_back(grid);
    std::vector<int> open;
    for (int column = 0; column < kColumns; ++column) {
      if (grid.CanPlay(column)) open.push_back(column);
    }
    const int column = open[random() % open.size()];
    if (grid.WinsAt(column)) break;
    grid.PlayColumn(column);
  }
  return grids;
}

// The grid as `zerud-engine solve` reads it.
std::string BoardText(const TBitPosition& grid) {
  const char mover = grid.Pieces() % 2 == 0 ? '1' : '2';
  const char other = mover == '1' ? '2' : '1';
  std::string text;
  for (int row = 0; row < kRows; ++row) {
    for (int column = 0; column < kColumns; ++column) {
      const std::uint64_t cell = std::uint64_t{1}
                                 << (column * TBitPosition::kStride + kRows - 1 - row);
      text += (grid.Filled() & cell) == 0 ? '0' : (grid.Mine() & cell) != 0 ? mover : other;
    }
  }
  return text;
}

void Report(const char* what, std::vector<double> times) {
  if (times.empty()) return;
  std::sort(times.begin(), times.end());
  std::printf("%-24s %6zu grids, median %9.3f ms, slowest %9.1f ms\n", what, times.size(),
              times[times.size() / 2] * 1e3, times.back() * 1e3);
}

}  // namespace

int main(int argc, char** argv) {
  const bench::TOptions options = bench::ParseOptions(argc, argv, "");
  TSolverOptions solverOptions{
      .Threads = options.Count("--threads", 1),
      .TableMib = static_cast<std::size_t>(options.Count("--table-mib", 128))};
  const std::string bookPath = options.Text("--book", "");
  if (bookPath == "none") {
    solverOptions.Book = nullptr;
  } else if (!bookPath.empty()) {
    solverOptions.Book = std::make_shared<const TOpeningBook>(TOpeningBook::FromFile(bookPath));
  }
  const int games = options.Count("--games", 100);
  const auto seed = static_cast<std::uint32_t>(options.Count("--seed", 1));
  const int from = options.Count("--from", 0);
  std::printf("%d thread(s), %zu MiB table, %s\n", solverOptions.Threads, solverOptions.TableMib,
              solverOptions.Book ? "with the opening book" : "without an opening book");
  TSolver solver(solverOptions);
  if (options.Count("--empty", 1) != 0) {
    const auto start = std::chrono::steady_clock::now();
    const int score = solver.Solve(TBitPosition());
    std::printf("empty grid: score %d, %llu nodes, %.1f s\n", score,
                static_cast<unsigned long long>(solver.Nodes()), Seconds(start));
  }
  std::mt19937 random(seed);
  const std::uint64_t nodesBefore = solver.Nodes();
  const auto gamesStart = std::chrono::steady_clock::now();
  std::vector<double> early, late;
  double slowest = 0;
  std::string slowestGrid;
  for (int game = 0; game < games; ++game) {
    for (const TBitPosition& grid : RandomGame(random)) {
      if (grid.Pieces() < from) continue;
      const auto start = std::chrono::steady_clock::now();
      solver.Solve(grid);
      const double seconds = Seconds(start);
      (grid.Pieces() <= TOpeningBook::kMaxPieces ? early : late).push_back(seconds);
      if (seconds > slowest) {
        slowest = seconds;
        slowestGrid = BoardText(grid);
      }
    }
  }
  std::printf("%d random games (seed %u), every grid from %d pieces:\n", games, seed, from);
  Report("up to 8 pieces", early);
  Report("9 pieces and more", late);
  std::vector<double> all = early;
  all.insert(all.end(), late.begin(), late.end());
  Report("all", all);
  if (!all.empty()) std::printf("slowest grid: %s\n", slowestGrid.c_str());
  std::printf("the games' grids in all: %llu nodes, %.1f s\n",
              static_cast<unsigned long long>(solver.Nodes() - nodesBefore), Seconds(gamesStart));
  return 0;
}
