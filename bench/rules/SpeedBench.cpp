// How much faster the game's machine player is than the plain algorithm,
// side by side on the same positions, whether it chooses the same columns,
// and how long a move takes at "Expert" (level 5) over whole games. Times
// are the processor time of the search, so that other programs on the
// machine do not count; exits with 1 when a column differs.
//
//   zerud-rules-bench [--scores FILE] [--level L] [--positions N] [--games N]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Literal.h"
#include "SelfPlay.h"
#include "rules/Search.h"

using namespace zerud;

namespace {

// The goals of the machine's speed.
constexpr double kWantedSpeedUp = 1000;
constexpr double kSlowestWantedMs = 50;

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
      const double start = bench::ThreadMilliseconds();
      player(board, n);
      moveTimes.push_back(bench::ThreadMilliseconds() - start);
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
    double start = bench::ThreadMilliseconds();
    const int fast = ChooseMachineColumn(position.Board, position.MoveNumber, state, table, random);
    const double fastMs = bench::ThreadMilliseconds() - start;
    start = bench::ThreadMilliseconds();
    const int plain = literal::ChooseMachineColumn(position.Board, state, table.Entries());
    const double plainMs = bench::ThreadMilliseconds() - start;
    same = same && fast == plain;
    fastTotal += fastMs;
    plainTotal += plainMs;
    std::printf("%s %4d %3d/%-2d %10.2f %12.2f %8.1f\n", position.Board.ToString().c_str(),
                position.MoveNumber, fast, plain, fastMs, plainMs, plainMs / fastMs);
    std::fflush(stdout);
  }
  const double speedUp = plainTotal / fastTotal;
  const double slowest =
      moveTimes.empty() ? 0 : *std::max_element(moveTimes.begin(), moveTimes.end());
  std::printf("speed-up over the plain algorithm: %.0fx (fast %.1f ms, plain %.1f ms), %s\n",
              speedUp, fastTotal, plainTotal, same ? "same columns" : "COLUMNS DIFFER");
  std::printf("machine moves over %d games: %zu, median %.2f ms, slowest %.2f ms\n", games,
              moveTimes.size(), Median(moveTimes), slowest);
  std::printf("goals: speed-up of %.0fx or more %s, every move under %.0f ms %s\n", kWantedSpeedUp,
              speedUp >= kWantedSpeedUp ? "met" : "NOT MET", kSlowestWantedMs,
              slowest < kSlowestWantedMs ? "met" : "NOT MET");
  return same ? 0 : 1;
}
