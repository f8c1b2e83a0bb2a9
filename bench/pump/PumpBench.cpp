// How much the event pump costs the machine's search at "Expert" (level 5).
//
// The main window is shown (offscreen unless a display is chosen) with its
// clock ticking, and the search runs on a few positions of a game in four
// ways: without a pump, with the pump only counting nodes, with the game's
// pump (events handled once a millisecond has passed), and with the events
// handled at every node. Each time is the thread's CPU time, the best of a
// few interleaved runs.
//
//   zerud-pump-bench [runs]
#include <time.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "BenchSupport.h"
#include "controls/TimeCounter.h"
#include "game/model/SearchPump.h"
#include "game/window/FormMain.h"
#include "rules/Board.h"
#include "rules/PatternTable.h"
#include "rules/Random.h"
#include "rules/Search.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/WindowControls.h"

using namespace zerud;

namespace {

using TClock = std::chrono::steady_clock;

// CPU time of this thread in milliseconds: other programs running on the
// machine at the same time do not count, which wall-clock time would.
double ThreadMs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// Grids where the machine (player 2) is to move: the moves of a game so far.
const char* const kGames[] = {"3", "334", "33425", "3342561", "334256132"};

TBoard Play(const std::string& moves) {
  TBoard board;
  int player = 1;
  for (char move : moves) {
    const int column = move - '0';
    board.Set(LandingRow(board, column), column, PlayerCell(player));
    player = OtherPlayer(player);
  }
  return board;
}

struct TRun {
  double Ms = 1e300;
  long Nodes = 0;
  long Rounds = 0;
  int Column = -1;
};

enum TPumpKind { kNone, kCountOnly, kGamePump, kEveryNode };

// One search at level 5, its hook built the way the game builds it.
TRun Search(const TBoard& board, const TPatternTable& table, TPumpKind kind, TSearchPump& pump) {
  TSearchState state;
  state.MaxDepth = 10;
  TRandomSource random(1);
  long nodes = 0;
  pump.Restart();
  TEventPump hook;
  switch (kind) {
    case kNone:
      break;
    case kCountOnly:
      hook = [&nodes] { ++nodes; };
      break;
    case kGamePump:
      hook = [&nodes, &pump] {
        ++nodes;
        pump();
      };
      break;
    case kEveryNode:
      hook = [&nodes] {
        ++nodes;
        QCoreApplication::processEvents();
      };
      break;
  }
  const double start = ThreadMs();
  const int column = ChooseMachineColumn(board, 2, state, table, random, hook);
  TRun run;
  run.Ms = ThreadMs() - start;
  run.Nodes = nodes;
  run.Rounds = pump.Rounds();
  run.Column = column;
  return run;
}

void KeepBest(TRun& best, const TRun& run) {
  if (run.Ms < best.Ms) best = run;
}

}  // namespace

int main(int argc, char** argv) {
  bench::PreferOffscreen();
  QApplication app(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

  TFormMain form(test::BuiltProgramFolder());
  form.SetProcessEnd([](int) {});
  form.show();
  test::Control<TTimeCounter>(form, "Chrono")->SetEnabled(true);
  test::Control<TTimeCounter>(form, "Chrono")->Start();
  QApplication::processEvents();

  const TPatternTable table = TPatternTable::FromFile(
      (test::BuiltProgramFolder() + QStringLiteral("scores.txt")).toStdString());
  TSearchPump pump([] { QCoreApplication::processEvents(); });

  // What one round of event handling costs with the window up and idle.
  const auto idleStart = TClock::now();
  constexpr int kIdleRounds = 2000;
  for (int i = 0; i < kIdleRounds; ++i) QCoreApplication::processEvents();
  const double roundUs =
      std::chrono::duration<double, std::micro>(TClock::now() - idleStart).count() / kIdleRounds;
  std::printf("one round of event handling, window idle: %.1f us\n", roundUs);

  std::printf("%-10s %9s %9s %9s %9s %7s %7s %9s\n", "moves", "nodes", "bare ms", "count ms",
              "pump ms", "rounds", "cost %", "each ms");
  double bare = 0, pumped = 0, naive = 0, counted = 0;
  long nodes = 0;
  for (const char* game : kGames) {
    const TBoard board = Play(game);
    TRun a, b, c, d;
    // Interleaved, best of `runs`: the machine may be busy with other work.
    for (int i = 0; i < runs; ++i) {
      KeepBest(a, Search(board, table, kNone, pump));
      KeepBest(b, Search(board, table, kCountOnly, pump));
      KeepBest(c, Search(board, table, kGamePump, pump));
    }
    d = Search(board, table, kEveryNode, pump);
    if (b.Column != c.Column || b.Nodes != c.Nodes || a.Column != c.Column) {
      std::fprintf(stderr, "the pump changed the search on %s\n", game);
      return 1;
    }
    std::printf("%-10s %9ld %9.2f %9.2f %9.2f %7ld %7.2f %9.2f\n", game, c.Nodes, a.Ms, b.Ms, c.Ms,
                c.Rounds, 100.0 * (c.Ms - a.Ms) / a.Ms, d.Ms);
    bare += a.Ms;
    counted += b.Ms;
    pumped += c.Ms;
    naive += d.Ms;
    nodes += c.Nodes;
  }
  std::printf(
      "total: %ld nodes; search alone %.1f ms; with the game's pump %.1f ms, cost %.2f %% "
      "(%.1f ns per node); hook counting only %.1f ms; events at every node %.1f ms, cost %.0f "
      "%%\n",
      nodes, bare, pumped, 100.0 * (pumped - bare) / bare,
      1e6 * (pumped - bare) / static_cast<double>(nodes), counted, naive,
      100.0 * (naive - bare) / bare);
  return 0;
}
