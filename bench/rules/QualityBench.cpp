// How often the machine keeps what a position is worth: on positions of
// games between the levels, each solved with perfect play, the share of
// sound choices (a won position stays won, a drawn one drawn) per level,
// also on contested positions (where some open column is not sound), and
// the share of fours made at once when one is there.
//
//   zerud-rules-quality [--scores FILE] [--positions N] [--cache FILE]
//
// The solved set is kept in the cache file (in the build folder), so only
// the first run pays for solving it.
#include <cstdio>

#include "QualitySet.h"
#include "SelfPlay.h"

using namespace zerud;

namespace {

double Share(int part, int whole) { return whole ? 100.0 * part / whole : 0.0; }

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
  return 0;
}
