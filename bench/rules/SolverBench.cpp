// How long the perfect-play solver takes on grids reached in play: games
// between the machine's levels from random openings, every distinct grid
// of exactly --pieces pieces (12 by default) until --positions (200) of
// them, each solved column by column with an empty table, as
// `zerud-engine solve` does for one line. Reports the median and slowest
// processor times and a checksum of all the answers, which must not move
// when the solver only gets faster; with --show 1, each grid, its answer
// and its time too. Exits with 1 when a grid takes longer than --limit
// milliseconds (1000).
//
//   zerud-solver-bench [--pieces N] [--positions N] [--limit MS] [--seed N] [--show 1]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "SelfPlay.h"
#include "solver/Solver.h"

using namespace zerud;

int main(int argc, char** argv) {
  const bench::TOptions options = bench::ParseOptions(argc, argv, "");
  const int pieces = options.Count("--pieces", 12);
  const int count = options.Count("--positions", 200);
  const int limitMs = options.Count("--limit", 1000);
  const auto seed = static_cast<std::uint32_t>(options.Count("--seed", 12));
  const bool showEach = options.Count("--show", 0) != 0;

  const std::vector<TBoard> grids = bench::GridsFromPlay(pieces, count, seed);
  std::vector<double> times;
  std::uint64_t checksum = 14695981039346656037ull;  // FNV-1a over the answers
  std::uint64_t nodes = 0;
  double slowest = -1;
  std::string slowestLine;
  for (const TBoard& board : grids) {
    std::string why;
    const TBitPosition position = ToSolverGrid(board, why)->Position;
    const double start = bench::ThreadMilliseconds();
    TSolver solver;
    const std::string answer = FormatColumnScores(solver.ScoreColumns(position));
    const double elapsed = bench::ThreadMilliseconds() - start;
    nodes += solver.Nodes();
    times.push_back(elapsed);
    for (const char c : answer + '\n')
      checksum = (checksum ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    if (showEach)
      std::printf("%s  %s  %.0f ms\n", board.ToString().c_str(), answer.c_str(), elapsed);
    if (elapsed > slowest) {
      slowest = elapsed;
      slowestLine = board.ToString() + "  " + answer;
    }
  }
  std::sort(times.begin(), times.end());
  double total = 0;
  for (const double t : times) total += t;
  std::printf("%zu grids of %d pieces from play (seed %u)\n", grids.size(), pieces, seed);
  std::printf("median %.0f ms, 90th percentile %.0f ms, slowest %.0f ms, total %.1f s\n",
              times[times.size() / 2], times[times.size() * 9 / 10], slowest, total / 1e3);
  std::printf("slowest: %s\n", slowestLine.c_str());
  std::printf("%llu nodes searched\n", static_cast<unsigned long long>(nodes));
  std::printf("answers checksum %016llx\n", static_cast<unsigned long long>(checksum));
  return slowest < limitMs ? 0 : 1;
}
