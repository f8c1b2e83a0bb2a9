// The machine's search keeps the window alive: events are handled during
// the search, not at every node, and a level chosen meanwhile reaches the
// nodes still to come.
#include <QAbstractItemModel>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <thread>

#include "GameTestSupport.h"
#include "game/model/SearchPump.h"
#include "rules/Search.h"
#include "tests/support/WindowControls.h"

using namespace zerud;
using namespace zerud::test;

class TestSearchPump : public QObject {
  Q_OBJECT

 private slots:
  void eventsOnlyOnceTheIntervalHasPassed() {
    int handled = 0;
    TSearchPump pump([&handled] { ++handled; });
    pump.Restart();
    // The first node handles what is pending at once, a burst of nodes within
    // the interval nothing more.
    pump();
    QCOMPARE(handled, 1);
    const auto start = TSearchPump::TClock::now();
    for (int i = 0; i < 2000; ++i) pump();
    if (TSearchPump::TClock::now() - start < TSearchPump::kInterval) QCOMPARE(handled, 1);
    QVERIFY(handled <= 2);
    // Once the interval has passed: within one batch of nodes, only once.
    const int before = handled;
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    for (int i = 0; i < TSearchPump::kNodesPerClockReading; ++i) pump();
    QCOMPARE(handled, before + 1);
    QCOMPARE(pump.Rounds(), handled);
  }

  void levelChangeReachesTheRemainingNodes() {
    TWindow form;
    QVERIFY(StartWithHumanFirst(form));
    QCOMPARE(form.MaxDepth(), 4);
    // A level chosen as the machine starts thinking: the search handles it at
    // its first node.
    bool queued = false;
    connect(
        test::Control<TMessageLog>(form, "MemoMessages")->model(),
        &QAbstractItemModel::rowsInserted, &form, [&] {
          if (!queued && LogLines(form).last() == QStringLiteral("[MACHINE] : Je réfléchis...")) {
            queued = true;
            QTimer::singleShot(0, &form,
                               [&form] { test::Control<QSlider>(form, "tbNiveau")->setValue(3); });
          }
        });
    form.Colonne0Click(3);
    QVERIFY(queued);
    QCOMPARE(form.MaxDepth(), 6);

    // The search that saw the new level at its first node gave way to the
    // plain search at that level from the root.
    TBoard board;
    board.Set(5, 3, '1');
    const auto plainNodesAt = [&](int depth) {
      TSearchState state;
      state.MaxDepth = depth;
      long nodes = 0;
      MaxNode(board, 1, kRootAlpha, kRootBeta, {state, form.PatternTable(), [&nodes] { ++nodes; }});
      return nodes;
    };
    QVERIFY(plainNodesAt(6) > plainNodesAt(4));
    QCOMPARE(form.LastSearchNodes(), 1 + plainNodesAt(6));
  }
};

QTEST_MAIN(TestSearchPump)
#include "tst_SearchPump.moc"
