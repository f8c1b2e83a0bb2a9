// How much faster the game's machine player is than the plain algorithm,
// side by side on the same positions, and how long a move takes at
// "Expert" (level 5) over whole games.
//
//   zerud-rules-bench [--scores FILE] [--level L] [--positions N] [--games N]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Literal.h"
#include "SelfPlay.h"
#include "rules/Search.h"

using namespace zerud;

namespace {

double Milliseconds(std::chrono::steady_clock::duration elapsed) {
  return std::chrono::duration<double, std::milli>(elapsed).count();
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct TPosition {
  TBoard Board;
  int MoveNumber;
};

}  // namespace

int main(int argc, char** argv) {
  const bench::TOptions options = bench::ParseOptions(argc, argv, ZERUD_SCORES_FILE);
  const std::string& scores = options.Scores;
  const int level = options.Level;
  const int positionCount = options.Count("--positions", 8);
  const int games = options.Count("--games", 6);
  const TPatternTable table = TPatternTable::FromFile(scores);
  const bench::TPlayer player = bench::SearchPlayer(table, level);

  // Positions from whole games at the level, both sides played by the
  // search, each game opened by a different column of player 1.
  std::vector<TPosition> all;
  std::vector<double> moveTimes;
  for (int game = 0; game < games; ++game) {
    bench::PlayGame({game % kColumns}, player, player, [&](const TBoard& board, int who, int n) {
      if (who != 2) return;
      // Games from different openings can meet the same grid.
      if (std::none_of(all.begin(), all.end(),
                       [&](const TPosition& seen) { return seen.Board == board; })) {
        all.push_back({board, n});
      }
      const auto start = std::chrono::steady_clock::now();
      player(board, n);
      moveTimes.push_back(Milliseconds(std::chrono::steady_clock::now() - start));
    });
  }

  // Side by side on an even spread of those positions.
  std::printf("level %d, table %s (%zu entries)\n", level, scores.c_str(), table.Entries().size());
  std::printf("%-44s %4s %6s %10s %12s %8s\n", "position", "move", "column", "fast ms", "plain ms",
              "ratio");
  double fastTotal = 0, plainTotal = 0;
  bool same = true;
  const std::size_t step = std::max<std::size_t>(1, all.size() / std::max(1, positionCount));
  for (std::size_t i = 0, shown = 0; i < all.size() && shown < std::size_t(positionCount);
       i += step, ++shown) {
    const TPosition& position = all[i];
    TSearchState state;
    state.MaxDepth = 2 * level;
    TRandomSource random(1);
    auto start = std::chrono::steady_clock::now();
    const int fast = ChooseMachineColumn(position.Board, position.MoveNumber, state, table, random);
    const double fastMs = Milliseconds(std::chrono::steady_clock::now() - start);
    start = std::chrono::steady_clock::now();
    const int plain = literal::ChooseMachineColumn(position.Board, state, table.Entries());
    const double plainMs = Milliseconds(std::chrono::steady_clock::now() - start);
    same = same && fast == plain;
    fastTotal += fastMs;
    plainTotal += plainMs;
    std::printf("%s %4d %3d/%-2d %10.2f %12.2f %8.1f\n", position.Board.ToString().c_str(),
                position.MoveNumber, fast, plain, fastMs, plainMs, plainMs / fastMs);
    std::fflush(stdout);
  }
  std::printf("speed-up over the same positions: %.1fx (fast %.1f ms, plain %.1f ms), %s\n",
              plainTotal / fastTotal, fastTotal, plainTotal,
              same ? "same columns" : "COLUMNS DIFFER");
  std::printf("machine moves over %d games: %zu, median %.2f ms, slowest %.2f ms\n", games,
              moveTimes.size(), Median(moveTimes),
              moveTimes.empty() ? 0 : *std::max_element(moveTimes.begin(), moveTimes.end()));
  return same ? 0 : 1;
}
