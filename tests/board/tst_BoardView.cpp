#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "TestPictures.h"
#include "game/board/BoardView.h"
#include "game/model/Pause.h"

using namespace zerud;

namespace {

const QPoint kParked(-110, -200);

// The surface, its settings and the slots, as the main window holds them.
struct TFixture {
  TBoardSettings settings;
  TLayeredImage img;
  TBoardView view{&img, test::Pictures(), &settings};

  int SlotOf(const TImageLayer* layer) const {
    for (int k = 1; k <= TBoardView::kSlotCount; ++k)
      if (view.PieceSlot(k).Layer == layer) return k;
    return layer == view.GridLayer() ? 0 : -1;
  }
  QPoint Corner(int k) const { return view.PieceSlot(k).Layer->PixelRect().topLeft(); }
  bool IsRed(int k) const { return view.PieceSlot(k).Layer->Image().pixel(34, 34) == test::kRed; }
  void Place(int k, int column, int row) {
    view.PieceSlot(k).Column = column;
    view.PieceSlot(k).Row = row;
  }
};

// A master-alpha or location change seen on one layer (slot 0: the grid).
struct TChange {
  int slot;
  int alpha;
  QPoint corner;
};

std::vector<TChange> Record(TFixture& f, const std::function<void()>& run) {
  std::vector<TChange> changes;
  auto connection = QObject::connect(&f.img, &TLayeredImage::LayerChanged, [&](TImageLayer* l) {
    changes.push_back({f.SlotOf(l), l->MasterAlpha(), l->PixelRect().topLeft()});
  });
  run();
  QObject::disconnect(connection);
  return changes;
}

std::vector<int> AlphasOf(const std::vector<TChange>& changes, int slot) {
  std::vector<int> alphas;
  for (const TChange& c : changes)
    if (c.slot == slot) alphas.push_back(c.alpha);
  return alphas;
}

TWinningLine Line(int winner, std::initializer_list<TCell> cells) {
  TWinningLine line;
  line.Winner = winner;
  for (const TCell& cell : cells) line.Cells[line.Length++] = cell;
  return line;
}

std::vector<int> Range(int from, int to, int step) {
  std::vector<int> values;
  for (int v = from; step > 0 ? v <= to : v >= to; v += step) values.push_back(v);
  return values;
}

}  // namespace

class TestBoardView : public QObject {
  Q_OBJECT

 private slots:
  // Each new slot went to position 1: slot 1, then 42 down to 2, the grid on
  // top; red for the odd slots, all parked wholly outside the surface.
  void creationStacksSlotsUnderTheGrid() {
    TFixture f;
    QCOMPARE(f.img.LayerCount(), 43);
    QCOMPARE(f.img.Layer(0), f.view.PieceSlot(1).Layer);
    for (int position = 1; position <= 41; ++position)
      QCOMPARE(f.img.Layer(position), f.view.PieceSlot(43 - position).Layer);
    QCOMPARE(f.img.Layer(42), f.view.GridLayer());
    QCOMPARE(f.view.GridLayer()->Location(), (TFloatRect{266, 149, 756, 569}));
    for (int k = 1; k <= 42; ++k) {
      QCOMPARE(f.IsRed(k), k % 2 == 1);
      QCOMPARE(f.view.PieceSlot(k).Layer->Location(), (TFloatRect{-110, -200, -40, -130}));
    }
    QCOMPARE(f.img.Composed().pixel(0, 0), TLayeredImage::kBackgroundColour);
    QCOMPARE(f.img.Composed().pixel(266 + 2, 149 + 34), test::kGridBlue);

    // Each game start colours the slots by who begins, parks and unmarks them.
    f.settings.PieceOpacity = 150;
    f.view.PieceSlot(5).Marked = true;
    f.view.PieceSlot(5).Layer->SetLocationAt(266, 499);
    f.view.PrepareSlots(2);
    for (int k = 1; k <= 42; ++k) {
      QCOMPARE(f.IsRed(k), k % 2 == 0);
      QCOMPARE(f.Corner(k), kParked);
      QCOMPARE(f.view.PieceSlot(k).Layer->MasterAlpha(), 150);
      QVERIFY(!f.view.PieceSlot(k).Marked);
    }
    f.view.PrepareSlots(1);
    for (int k = 1; k <= 42; ++k) QCOMPARE(f.IsRed(k), k % 2 == 1);
    QCOMPARE(f.img.Layer(42), f.view.GridLayer());
  }

  // Every position of a fall is one frame actually painted with the piece
  // there, ending in the cell; each frame lasts at least 2 ms, spent handling
  // events.
  void dropShowsEveryStepThenTheCell_data() {
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::addColumn<std::vector<int>>("shown");
    auto withEnd = [](std::vector<int> v, int end) {
      v.push_back(end);
      return v;
    };
    QTest::newRow("step 2, bottom row") << 2 << 0 << 5 << withEnd(Range(69, 497, 2), 499);
    QTest::newRow("step 35, bottom row") << 35 << 0 << 5 << withEnd(Range(69, 489, 35), 499);
    QTest::newRow("step 1, bottom row") << 1 << 6 << 5 << withEnd(Range(69, 498, 1), 499);
    QTest::newRow("step 35, top row") << 35 << 3 << 0 << std::vector<int>{69, 104, 139, 149};
  }
  void dropShowsEveryStepThenTheCell() {
    QFETCH(int, step);
    QFETCH(int, column);
    QFETCH(int, row);
    QFETCH(std::vector<int>, shown);
    TFixture f;
    f.settings.DropStep = step;
    f.img.show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.img));
    QCoreApplication::processEvents();
    std::vector<int> painted;
    connect(&f.img, &TLayeredImage::Painted, [&](const QRect& area) {
      QVERIFY(area.contains(QRect(f.Corner(3), QSize(70, 70))));
      QCOMPARE(f.Corner(3).x(), 266 + 70 * column);
      painted.push_back(f.Corner(3).y());
    });
    QElapsedTimer clock;
    clock.start();
    f.view.DropPiece(3, TBoardView::TargetPosition(column), row);
    QVERIFY(clock.nsecsElapsed() >= 2'000'000 * qint64(shown.size() - 1));
    QCOMPARE(painted, shown);
    const QPoint centre = QPoint(266 + 70 * column, 149 + 70 * row) + QPoint(34, 34);
    QCOMPARE(TBoardView::CellPosition(row, column), centre - QPoint(34, 34));
    QCOMPARE(f.img.grab().toImage().pixel(centre) & 0xFFFFFF,
             f.img.Composed().pixel(centre) & 0xFFFFFF);
  }

  // A change of DropStep during a fall reaches its next frame.
  void dropReadsTheStepEveryFrame() {
    TFixture f;
    f.settings.DropStep = 2;
    const auto changes = Record(f, [&] {
      QTimer::singleShot(0, [&] { f.settings.DropStep = 35; });
      f.view.DropPiece(1, TBoardView::TargetPosition(2), 5);
    });
    QVERIFY(changes.size() >= 3);
    QCOMPARE(changes[0].corner.y(), 69);
    QCOMPARE(changes[1].corner.y(), 71);  // the step taken before the first events
    QCOMPARE(changes[2].corner.y(), 106);
    QCOMPARE(changes.back().corner.y(), 499);
  }

  void viewOrSurfaceDestroyedMidAnimation() {
    TBoardSettings settings;
    TLayeredImage img;
    QPointer<TBoardView> view = new TBoardView(&img, test::Pictures(), &settings);
    QTimer::singleShot(3, [&] { delete view.data(); });
    view->DropPiece(1, TBoardView::TargetPosition(0), 5);
    QVERIFY(view.isNull());
    QCOMPARE(img.LayerCount(), 0);  // the view took its layers with it

    // The surface goes first: the animation stops and the view touches no layer.
    QPointer<TLayeredImage> surface = new TLayeredImage;
    TBoardView orphan(surface, test::Pictures(), &settings);
    QTimer::singleShot(3, [&] { delete surface.data(); });
    orphan.ClearAwayPieces(42);
    QVERIFY(surface.isNull());
    orphan.ShowGameEnd(Line(1, {{5, 0}, {5, 1}, {5, 2}, {5, 3}}), 4);
    orphan.PrepareSlots(2);
    orphan.ApplyOpacity();
    orphan.RestoreGrid();
    orphan.Colonne0MouseMove(TBoardView::TargetPosition(0), 1, false);
  }

  // The marker is the next piece, over the target, above the grid; it stays
  // put once the game is over, and there is none with the grid full or
  // before the first game.
  void hoverMarker() {
    TFixture f;
    f.view.Colonne0MouseMove(TBoardView::TargetPosition(4), 3, false);
    QCOMPARE(f.Corner(3), QPoint(546, 69));
    const auto changes = Record(f, [&] {
      f.view.Colonne0MouseMove(TBoardView::TargetPosition(1), 3, true);
      f.view.Colonne0MouseMove(TBoardView::TargetPosition(1), 43, false);
      f.view.Colonne0MouseMove(TBoardView::TargetPosition(1), 0, false);
    });
    QVERIFY(changes.empty());
    f.view.Colonne0MouseMove(TBoardView::TargetPosition(0), 1, false);
    QCOMPARE(f.img.Composed().pixel(266 + 34, 69 + 34), test::kRed);
  }

  // The grid fades in by 8, then slot after slot falls 40 pixels a frame
  // until below the image.
  void clearAwayFadesGridAndDropsPiecesInOrder() {
    TFixture f;
    for (int k = 1; k <= 5; ++k)
      f.view.PieceSlot(k).Layer->SetLocationAt(266 + 70 * k, 499 - 70 * (k % 2));
    f.view.GridLayer()->SetMasterAlpha(0);
    QElapsedTimer clock;
    clock.start();
    const auto changes = Record(f, [&] { f.view.ClearAwayPieces(5); });
    QVERIFY(clock.elapsed() >= 200 + 32);
    QCOMPARE(AlphasOf(changes, 0), Range(0, 248, 8));
    std::vector<int> order, slot1;
    for (const TChange& c : changes) {
      if (c.slot > 0 && (order.empty() || order.back() != c.slot)) order.push_back(c.slot);
      if (c.slot == 1) slot1.push_back(c.corner.y());
    }
    QCOMPARE(order, (std::vector<int>{1, 2, 3, 4, 5}));
    QCOMPARE(slot1, Range(429 + 40, 629, 40));
    QCOMPARE(f.Corner(2), QPoint(406, 619));
    QCOMPARE(f.Corner(6), kParked);  // not asked for: untouched
    // A count past the last slot stops at slot 42, which falls from its parking place.
    TFixture g;
    g.view.ClearAwayPieces(43);
    QVERIFY(g.Corner(42).y() > 600);
    QCOMPARE(g.Corner(42).x(), -110);
  }

  // Only the pieces on the cells of the line are marked and ticked, and only
  // among the pieces played.
  void gameEndMarksTheLineOnly() {
    TFixture f;
    // Bottom row: 2 2 2 2 2 1 1, and column 0 also holds four 2s upwards.
    const std::array<std::string, 6> grid = {"0000000", "0000000", "2000000",
                                             "2000000", "2000000", "2222211"};
    int k = 1;
    for (int c = 0; c < 7; ++c)
      for (int r = 5; r >= 0; --r)
        if (grid[r][c] != '0') f.Place(k++, c, r);
    f.view.ShowGameEnd(Line(2, {{5, 0}, {5, 1}, {5, 2}, {5, 3}, {5, 4}}), k - 1);
    for (int s = 1; s < k; ++s) {
      const TPieceSlot& slot = f.view.PieceSlot(s);
      const bool inRun = slot.Row == 5 && slot.Column <= 4;
      QCOMPARE(slot.Marked, inRun);
      QCOMPARE(slot.Layer->Image().pixel(34, 34) == test::kYellowTicked, inRun);
    }
    TFixture g;
    g.Place(1, 0, 5);
    g.Place(2, 1, 5);
    g.view.ShowGameEnd(Line(1, {{5, 0}, {5, 1}}), 1);
    QVERIFY(!g.view.PieceSlot(2).Marked);
    QCOMPARE(g.view.PieceSlot(1).Layer->Image().pixel(34, 34), test::kRedTicked);
  }

  // The marked pieces blink down from the piece opacity by 32 and back, one
  // piece at a time in slot order; then the grid fades out by 8.
  void gameEndBlinks_data() {
    QTest::addColumn<int>("opacity");
    QTest::addColumn<std::vector<int>>("alphas");
    QTest::newRow("100") << 100 << std::vector<int>{100, 96, 64, 32, 0, 0, 32, 64, 96};
    std::vector<int> full{256};
    for (int a : Range(256, 0, -32)) full.push_back(a);
    for (int a : Range(0, 256, 32)) full.push_back(a);
    QTest::newRow("256") << 256 << full;
  }
  void gameEndBlinks() {
    QFETCH(int, opacity);
    QFETCH(std::vector<int>, alphas);
    TFixture f;
    f.settings.PieceOpacity = opacity;
    // A vertical four in column 3, slots 2, 4, 6, 8 (the others in column 5).
    for (int k = 1; k <= 8; ++k) f.Place(k, k % 2 == 0 ? 3 : 5, 5 - (k - 1) / 2);
    const auto changes = Record(f, [&] {
      f.view.ShowGameEnd(Line(2, {{2, 3}, {3, 3}, {4, 3}, {5, 3}}), 8);
    });
    for (int k : {2, 4, 6, 8}) {
      std::vector<int> seen = AlphasOf(changes, k);
      seen.erase(seen.begin());  // the image change of the marking, at the old alpha
      QCOMPARE(seen, alphas);
    }
    QVERIFY(AlphasOf(changes, 1).empty());
    std::vector<int> order;
    for (const TChange& c : changes)
      if (c.slot > 0) order.push_back(c.slot);
    QCOMPARE(std::vector<int>(order.end() - 8, order.end()),
             (std::vector<int>{2, 4, 6, 8, 2, 4, 6, 8}));
    QCOMPARE(AlphasOf(changes, 0), Range(248, 0, -8));
  }

  void drawMarksNothingAndFadesTheGrid() {
    TFixture f;
    for (int k = 1; k <= 42; ++k) f.Place(k, (k - 1) % 7, 5 - (k - 1) / 7);
    const auto changes = Record(f, [&] { f.view.ShowGameEnd(TWinningLine(), 42); });
    for (const TChange& c : changes) QCOMPARE(c.slot, 0);
    QCOMPARE(AlphasOf(changes, 0), Range(248, 0, -8));
  }

  // The piece opacity reaches every slot but not the grid; once the layers
  // are freed, nothing touches them.
  void opacityAndFreedLayers() {
    TFixture f;
    f.settings.PieceOpacity = 120;
    f.view.ApplyOpacity();
    for (int k = 1; k <= 42; ++k) QCOMPARE(f.view.PieceSlot(k).Layer->MasterAlpha(), 120);
    QCOMPARE(f.view.GridLayer()->MasterAlpha(), 256);
    f.view.FreeLayers();
    QCOMPARE(f.img.LayerCount(), 0);
    f.view.ApplyOpacity();
    f.view.PrepareSlots(1);
    f.view.DropPiece(1, TBoardView::TargetPosition(0), 5);
    QCOMPARE(f.img.LayerCount(), 0);
  }

  // Events are handled even for no wait at all; a wait lasts its time.
  void pauseWaitsAndHandlesEvents() {
    bool handled = false;
    QTimer::singleShot(0, [&] { handled = true; });
    Pause(0);
    QVERIFY(handled);
    int ticks = 0;
    QTimer timer;
    connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(5);
    QElapsedTimer clock;
    clock.start();
    Pause(60);
    QVERIFY(clock.nsecsElapsed() > 60'000'000);
    QVERIFY(clock.elapsed() < 2000);  // generous: a loaded machine is slow to wake
    QVERIFY2(ticks >= 2, qPrintable(QString::number(ticks)));
    clock.restart();
    Pause(1.5);
    QVERIFY(clock.nsecsElapsed() > 1'500'000);
  }
};

QTEST_MAIN(TestBoardView)
#include "tst_BoardView.moc"
