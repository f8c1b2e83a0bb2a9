// How well the shipped pattern table plays: games at one level between the
// search using it and the same search using a table that knows only fours,
// from every two-piece opening, each opening played twice so that both
// tables take their turn to begin.
//
//   zerud-rules-strength [--scores FILE] [--level L] [--openings N]
//                        [--against FILE] [--against-level L]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "SelfPlay.h"

using namespace zerud;

int main(int argc, char** argv) {
  const bench::TOptions options = bench::ParseOptions(argc, argv, ZERUD_SCORES_FILE);
  const int level = options.Level;
  const int openings = options.Count("--openings", kColumns * kColumns);
  const std::string against = options.Text("--against", "");
  const int againstLevel = options.Count("--against-level", level);
  const TPatternTable shipped = TPatternTable::FromFile(options.Scores);
  const TPatternTable other = against.empty()
                                  ? TPatternTable::FromText("2222|100000\n1111|-100000\n")
                                  : TPatternTable::FromFile(against);
  const bench::TPlayer ours = bench::SearchPlayer(shipped, level);
  const bench::TPlayer theirs = bench::SearchPlayer(other, againstLevel);

  int wins = 0, draws = 0, losses = 0, winsFirst = 0, winsSecond = 0, games = 0;
  for (int n = 0; n < openings && n < kColumns * kColumns; ++n) {
    const std::vector<int> opening = {n / kColumns, n % kColumns};
    for (int oursFirst = 1; oursFirst >= 0; --oursFirst) {
      const bench::TGame game = oursFirst ? bench::PlayGame(opening, ours, theirs)
                                          : bench::PlayGame(opening, theirs, ours);
      const int ourPlayer = oursFirst ? 1 : 2;
      ++games;
      if (game.Winner == 0) {
        ++draws;
      } else if (game.Winner == ourPlayer) {
        ++wins;
        ++(oursFirst ? winsFirst : winsSecond);
      } else {
        ++losses;
      }
      std::printf("opening %d %d, shipped table plays %s: %s after %d pieces\n", opening[0],
                  opening[1], oursFirst ? "first " : "second",
                  game.Winner == 0           ? "draw"
                  : game.Winner == ourPlayer ? "win"
                                             : "loss",
                  game.Pieces);
      std::fflush(stdout);
    }
  }
  std::printf(
      "level %d, %d games: shipped table %d wins (%d playing first, %d second), %d draws, %d "
      "losses against %s at level %d; score %.1f%%\n",
      level, games, wins, winsFirst, winsSecond, draws, losses,
      against.empty() ? "the fours-only table" : against.c_str(), againstLevel,
      games ? 100.0 * (wins + 0.5 * draws) / games : 0.0);
  return 0;
}
