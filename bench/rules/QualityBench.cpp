// How often the machine keeps what a position is worth: on positions of
// games between the levels, each solved with perfect play, the share of
// sound choices (a won position stays won, a drawn one drawn) per level,
// also on contested positions (where some open column is not sound), and
// the share of fours made at once when one is there.
//
//   zerud-rules-quality [--scores FILE] [--positions N] [--cache FILE] [--mistakes L]
//
// --mistakes L adds where the machine goes wrong at level L on the held-out
// contested positions: how sound it is by the number of pieces on the grid,
// and how many moves later each unsound choice loses (solved exactly, about
// half a minute).
//
// The solved set is kept in the cache file (in the build folder), so only
// the first run pays for solving it.
#include <cstdio>
#include <optional>

#include "QualitySet.h"
#include "SelfPlay.h"
#include "solver/Solver.h"

using namespace zerud;

namespace {

double Share(int part, int whole) { return whole ? 100.0 * part / whole : 0.0; }

// Pieces placed from `position` up to red's winning one, for the machine's
// exact losing score: red places its pieces on grids of an even count, so
// its four lands on a grid of 42 - 2|score| pieces, as piece 43 - 2|score|.
int MovesToLoss(const bench::TQualityPosition& position, int score) {
  return 43 + 2 * score - position.Pieces;
}

void PrintMistakes(const std::vector<bench::TQualityPosition>& set, const TPatternTable& table,
                   int level) {
  constexpr int kBands = 4;
  constexpr int kBandFirst[kBands + 1] = {9, 15, 21, 27, 35};
  int contested[kBands] = {}, sound[kBands] = {};
  int drawn = 0, lost[4] = {};  // after at most 9 more pieces, 10-15, 16-23, 24 or more
  TSolver solver;
  for (const bench::TQualityPosition& position : set) {
    if (!position.HeldOut() || !position.Contested()) continue;
    const int column = bench::MachineColumn(position, table, level);
    int band = 0;
    while (band + 1 < kBands && position.Pieces >= kBandFirst[band + 1]) ++band;
    ++contested[band];
    if (position.Sound(column)) {
      ++sound[band];
      continue;
    }
    std::string why;
    const std::optional<TSolverGrid> grid = ToSolverGrid(position.Board, why);
    const int score = *solver.ScoreColumns(grid->Position)[column];
    if (score >= 0) {
      ++drawn;
      continue;
    }
    const int moves = MovesToLoss(position, score);
    ++lost[moves <= 9 ? 0 : moves <= 15 ? 1 : moves <= 23 ? 2 : 3];
  }
  std::printf("\nlevel %d, held-out contested positions by pieces on the grid:\n", level);
  for (int band = 0; band < kBands; ++band) {
    std::printf("  %2d-%2d pieces %5d positions %5.1f%% sound\n", kBandFirst[band],
                kBandFirst[band + 1] - 2, contested[band], Share(sound[band], contested[band]));
  }
  std::printf("unsound choices: %d turn a win into a draw; the others lose after\n", drawn);
  std::printf("  at most 9 more pieces %d, 10-15 %d, 16-23 %d, 24 or more %d\n", lost[0], lost[1],
              lost[2], lost[3]);
}

}  // namespace

int main(int argc, char** argv) {
  const bench::TOptions options = bench::ParseOptions(argc, argv, ZERUD_SCORES_FILE);
  const int count = options.Count("--positions", 2400);
  const std::string cache = options.Text("--cache", ZERUD_QUALITY_CACHE);
  const TPatternTable table = TPatternTable::FromFile(options.Scores);
  const std::vector<bench::TQualityPosition> set = bench::LoadOrBuildQualitySet(cache, count);

  std::printf("%s, %d positions from 8 to 34 pieces, player 2 to move\n", options.Scores.c_str(),
              count);
  std::printf("level half      positions sound   contested sound   wins-now taken  put-off\n");
  for (int level = 2; level <= 5; ++level) {
    for (const bool heldOut : {false, true}) {
      const bench::TLevelFigures f = bench::MeasureLevel(
          set, table, level,
          [heldOut](const bench::TQualityPosition& p) { return p.HeldOut() == heldOut; });
      std::printf("%-5d %-9s %9d %5.1f%% %9d %5.1f%% %8d %5.1f%% %8d\n", level,
                  heldOut ? "held-out" : "tuning", f.Positions, Share(f.Sound, f.Positions),
                  f.Contested, Share(f.ContestedSound, f.Contested), f.WinsNow,
                  Share(f.WinsNowTaken, f.WinsNow), f.WinsPutOff);
      std::fflush(stdout);
    }
  }
  if (options.Others.count("--mistakes")) PrintMistakes(set, table, options.Count("--mistakes", 5));
  return 0;
}
