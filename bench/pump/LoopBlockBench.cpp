// How long the window stops answering during whole games against the
// machine at "Expert" (level 5), with the pieces' falls and the end-of-game
// display animated at the window's initial speed.
//
// A real main window is shown (offscreen unless a display is chosen) and a
// player clicks a column target whenever the targets are on. Meanwhile a
// probe timer asks to run every millisecond; the time between two of its
// runs, less that millisecond, is how long the event loop was kept from
// handling anything: a click, a clock tick, a network message. Beside that
// wall-clock figure the thread's CPU time over the same gap is kept: on a
// busy machine a gap may be long only because other programs had the CPU.
//
// With --hints the player asks for the hint ("Conseil") before each move and
// waits for it (3 s at most): the perfect-play search then runs on its worker
// thread while the probe measures the window's thread. With --analysis the
// analysis ("Analyse") is on throughout: every move drops the values under
// way and asks for the next grid's on the analysis's own thread.
//
//   zerud-loop-block-bench [games] [seed] [--hints] [--analysis]
#include <time.h>

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QSlider>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "BenchSupport.h"
#include "game/log/MessageLog.h"
#include "game/window/FormMain.h"
#include "tests/support/ProgramFolder.h"
#include "tests/support/WindowControls.h"

using namespace zerud;

namespace {

constexpr int kProbeMs = 1;
constexpr int kPlayerMs = 20;

qint64 ThreadCpuUs() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return now.tv_sec * 1000000 + now.tv_nsec / 1000;
}

// Records the gaps between the probe's runs, in wall-clock and in the
// thread's CPU time.
class TLoopProbe {
 public:
  TLoopProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setInterval(kProbeMs);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed() / 1000;
      const qint64 cpu = ThreadCpuUs();
      wallUs_.push_back(now - lastWall_);
      cpuUs_.push_back(cpu - lastCpu_);
      lastWall_ = now;
      lastCpu_ = cpu;
    });
  }
  void Start() {
    clock_.start();
    lastWall_ = 0;
    lastCpu_ = ThreadCpuUs();
    timer_.start();
  }
  void Stop() { timer_.stop(); }
  // Gaps in microseconds, the shortest first.
  std::vector<qint64> SortedWallGaps() const { return Sorted(wallUs_); }
  std::vector<qint64> SortedCpuGaps() const { return Sorted(cpuUs_); }

 private:
  static std::vector<qint64> Sorted(std::vector<qint64> gaps) {
    std::sort(gaps.begin(), gaps.end());
    return gaps;
  }

  QTimer timer_;
  QElapsedTimer clock_;
  qint64 lastWall_ = 0;
  qint64 lastCpu_ = 0;
  std::vector<qint64> wallUs_;
  std::vector<qint64> cpuUs_;
};

constexpr qint64 kHintWaitMs = 3000;

// An entry of the board menu ("Conseil", "Analyse"), as its key or a right
// click would trigger it.
QAction* MenuAction(TFormMain& form, const QString& text) {
  for (QAction* action : form.findChild<QMenu*>(QStringLiteral("MenuPlateau"))->actions())
    if (action->text() == text) return action;
  return nullptr;
}

// Plays one game with the player's columns drawn from `random`; returns the
// number of pieces played. With `hint`, each move waits for the hint first.
int PlayOneGame(TFormMain& form, std::mt19937& random, QAction* hint) {
  form.bnStartClick();
  QTimer player;
  player.setInterval(kPlayerMs);
  QElapsedTimer asked;
  int linesBefore = 0;
  QObject::connect(&player, &QTimer::timeout, [&] {
    if (form.MoveUnderWay() || form.Game().GameOver()) return;
    if (hint && !asked.isValid()) {
      linesBefore = test::Control<TMessageLog>(form, "MemoMessages")->LineCount();
      asked.start();
      hint->trigger();
      return;
    }
    if (hint && test::Control<TMessageLog>(form, "MemoMessages")->LineCount() == linesBefore &&
        asked.elapsed() < kHintWaitMs)
      return;
    asked.invalidate();
    std::vector<int> open;
    for (int c = 0; c < 7; ++c)
      if (test::ColumnControl<TColumnTarget>(form, c)->isEnabled()) open.push_back(c);
    if (open.empty()) return;
    form.Colonne0Click(open[random() % open.size()]);
  });
  player.start();
  while (!form.Game().GameOver() || form.MoveUnderWay())
    QApplication::processEvents(QEventLoop::WaitForMoreEvents);
  player.stop();
  return form.Game().MoveNumber() - 1;
}

// One line on the gaps: the longest, the 99.9th percentile, the median
// (each less the probe's own interval), and how many exceed one frame (16 ms)
// and 50 ms.
void Report(const char* clock, const std::vector<qint64>& gaps) {
  const auto blockMs = [](qint64 gapUs) {
    return static_cast<double>(std::max<qint64>(0, gapUs - 1000 * kProbeMs)) / 1e3;
  };
  const auto over = [&gaps](qint64 ms) {
    return gaps.end() - std::upper_bound(gaps.begin(), gaps.end(), 1000 * (ms + kProbeMs));
  };
  std::printf(
      "event loop blocked (%s, %zu probe runs): longest %.1f ms, 99.9th percentile %.1f "
      "ms, median %.2f ms; over 16 ms: %td, over 50 ms: %td\n",
      clock, gaps.size(), blockMs(gaps.back()), blockMs(gaps[gaps.size() * 999 / 1000]),
      blockMs(gaps[gaps.size() / 2]), over(16), over(50));
}

}  // namespace

int main(int argc, char** argv) {
  bench::PreferOffscreen();
  QApplication app(argc, argv);
  std::vector<const char*> numbers;
  bool hints = false;
  bool analysis = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--hints") == 0)
      hints = true;
    else if (std::strcmp(argv[i], "--analysis") == 0)
      analysis = true;
    else
      numbers.push_back(argv[i]);
  }
  const int games = numbers.size() > 0 ? std::max(1, std::atoi(numbers[0])) : 1;
  const unsigned seed = numbers.size() > 1 ? static_cast<unsigned>(std::atoi(numbers[1])) : 1;

  TFormMain form(test::BuiltProgramFolder());
  form.SetProcessEnd([](int) {});
  form.SeedRandom(seed);
  test::Control<QSlider>(form, "tbNiveau")->setValue(5);
  form.show();
  QApplication::processEvents();
  if (form.MaxDepth() != 10) {
    std::fprintf(stderr, "the level did not reach Expert\n");
    return 1;
  }

  std::mt19937 random(seed);
  TLoopProbe probe;
  QElapsedTimer wall;
  wall.start();
  probe.Start();
  int pieces = 0;
  QAction* hint = hints ? MenuAction(form, QStringLiteral("Conseil")) : nullptr;
  if (analysis) MenuAction(form, QStringLiteral("Analyse"))->trigger();
  for (int g = 0; g < games; ++g) pieces += PlayOneGame(form, random, hint);
  probe.Stop();

  std::printf("%d game(s) at level 5, %d pieces%s%s, %.1f s\n", games, pieces,
              hints ? ", a hint before each move" : "", analysis ? ", the analysis on" : "",
              wall.elapsed() / 1e3);
  Report("wall clock", probe.SortedWallGaps());
  Report("thread CPU", probe.SortedCpuGaps());
  return 0;
}
