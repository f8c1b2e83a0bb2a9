// How long the hint takes, and what the window's thread feels of it. One
// hint for the empty grid and one for each of --positions (20) grids of 8
// and of 12 pieces met in play, each from a new finder (its table empty, as
// for the first hint of a run), with the game's table and a budget of
// --budget ms (the finder's default), timed on the clock on the wall from
// Find to Found. Meanwhile a timer asks to run on the window's thread every
// millisecond: the longest it ran late is the longest that thread was held
// up, shown with the processor time the thread itself used meanwhile (the
// rest is other programs, and the worker, holding the processor; compare
// the same timer over an idle second), and with the longest Find call. Also
// how many hints perfect play gave within the budget; with --show 1, each
// grid and its hint.
//
//   zerud-hint-bench [--positions N] [--budget MS] [--seed N] [--show 1]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "SelfPlay.h"
#include "game/hint/HintFinder.h"

using namespace zerud;

namespace {

const char* ValueName(THint::TValue value) {
  switch (value) {
    case THint::TValue::None:
      return "none";
    case THint::TValue::Win:
      return "win";
    case THint::TValue::Draw:
      return "draw";
    case THint::TValue::Loss:
      return "loss";
    case THint::TValue::Estimate:
      return "estimate";
  }
  return "?";
}

struct TTimes {
  std::vector<double> HintMs;
  double LongestLateMs = 0;
  double CpuOfLongestMs = 0;  // the window thread's own processor time in it
  double LongestFindUs = 0;
  int Solved = 0;
};

// Calls `tick` whenever a timer asking to run every millisecond does, with
// how late it ran and the processor time the thread used meanwhile.
void StartProbe(QTimer& probe, const std::function<void(double lateMs, double cpuMs)>& tick) {
  auto sinceTick = std::make_shared<QElapsedTimer>();
  auto cpuAtTick = std::make_shared<double>(bench::ThreadMilliseconds());
  sinceTick->start();
  probe.setTimerType(Qt::PreciseTimer);
  probe.setInterval(1);
  QObject::connect(&probe, &QTimer::timeout, [sinceTick, cpuAtTick, tick] {
    const double cpu = bench::ThreadMilliseconds();
    tick(sinceTick->nsecsElapsed() / 1e6 - 1, cpu - *cpuAtTick);
    sinceTick->start();
    *cpuAtTick = cpu;
  });
  probe.start();
}

// The longest the probe runs late over a second of an idle event loop.
double IdleLateMs() {
  double longest = 0;
  QTimer probe;
  StartProbe(probe, [&longest](double lateMs, double) { longest = std::max(longest, lateMs); });
  QEventLoop loop;
  QTimer::singleShot(1000, &loop, &QEventLoop::quit);
  loop.exec();
  return longest;
}

// One hint from a new finder, the event loop running until it comes.
THint TimeHint(const TBoard& grid, const TPatternTable& table, std::chrono::milliseconds budget,
               TTimes& times) {
  THintFinder finder;
  finder.SetBudget(budget);
  THint hint;
  QEventLoop loop;
  QObject::connect(&finder, &THintFinder::Found, &loop, [&](THint found) {
    hint = found;
    loop.quit();
  });
  QTimer probe;
  QElapsedTimer clock;
  clock.start();
  finder.Find(grid, table);
  times.LongestFindUs = std::max(times.LongestFindUs, clock.nsecsElapsed() / 1e3);
  StartProbe(probe, [&times](double lateMs, double cpuMs) {
    if (lateMs > times.LongestLateMs) {
      times.LongestLateMs = lateMs;
      times.CpuOfLongestMs = cpuMs;
    }
  });
  loop.exec();
  times.HintMs.push_back(clock.nsecsElapsed() / 1e6);
  if (hint.Value != THint::TValue::Estimate) ++times.Solved;
  return hint;
}

void Report(const char* name, TTimes& times) {
  std::vector<double>& ms = times.HintMs;
  std::sort(ms.begin(), ms.end());
  std::printf(
      "%-19s %3zu hints: median %6.0f ms, slowest %6.0f ms, perfect play %3d; "
      "thread held up %.1f ms at most (%.2f ms its own work), Find %.0f us\n",
      name, ms.size(), ms[ms.size() / 2], ms.back(), times.Solved, times.LongestLateMs,
      times.CpuOfLongestMs, times.LongestFindUs);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication application(argc, argv);
  const bench::TOptions options = bench::ParseOptions(argc, argv, ZERUD_SCORES_FILE);
  const int count = options.Count("--positions", 20);
  const auto budget = std::chrono::milliseconds(
      options.Count("--budget", static_cast<int>(THintFinder::kDefaultBudget.count())));
  const auto seed = static_cast<std::uint32_t>(options.Count("--seed", 12));
  const bool showEach = options.Count("--show", 0) != 0;
  const TPatternTable table = TPatternTable::FromFile(options.Scores);

  std::printf("budget %lld ms; an idle event loop held up %.1f ms at most\n",
              static_cast<long long>(budget.count()), IdleLateMs());
  const struct {
    const char* Name;
    std::vector<TBoard> Grids;
  } groups[] = {
      {"empty grid", {TBoard()}},
      {"8 pieces from play", bench::GridsFromPlay(8, count, seed)},
      {"12 pieces from play", bench::GridsFromPlay(12, count, seed)},
  };
  for (const auto& group : groups) {
    TTimes times;
    for (const TBoard& grid : group.Grids) {
      const THint hint = TimeHint(grid, table, budget, times);
      if (showEach) {
        std::printf("%s  column %d %s %d  %.0f ms\n", grid.ToString().c_str(), hint.Column,
                    ValueName(hint.Value), hint.Score, times.HintMs.back());
      }
    }
    Report(group.Name, times);
  }
  return 0;
}
