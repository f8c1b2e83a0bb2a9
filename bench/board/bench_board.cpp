// Speed of the layered board: composing a whole frame, recomposing the
// rectangle of a falling piece, and the time a fall to the bottom row takes.
//   bench_board [--benchmark_filter=...]
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise; run
// it under Xvfb with QT_QPA_PLATFORM=xcb for the fall times on a real display.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <cstdlib>

#include "assets/Pictures.h"
#include "game/board/BoardView.h"

using namespace zerud;

namespace {

TBoardPictures BoardPictures() {
  TBoardPictures pictures;
  for (int i = 0; i < 5; ++i) pictures[i] = ListeBmp(i);
  return pictures;
}

QImage BackgroundPicture() {
  QImage picture(800, 600, QImage::Format_RGB32);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) picture.setPixel(x, y, qRgb(x % 256, y % 256, (x + y) % 256));
  }
  return picture;
}

// A board in the middle of a game: every cell holds a piece.
struct TFullBoard {
  TBoardSettings settings;
  TLayeredImage img;
  TBoardView view{&img, BoardPictures(), &settings};

  TFullBoard() {
    img.SetPicture(BackgroundPicture());
    view.PrepareSlots(1);
    for (int k = 1; k <= TBoardView::kSlotCount; ++k) {
      const QPoint cell = TBoardView::CellPosition(5 - (k - 1) / 7, (k - 1) % 7);
      view.PieceSlot(k).Layer->SetLocationAt(cell.x(), cell.y());
    }
    img.Composed();
  }
};

void BM_FullFrame(benchmark::State& state) {
  TFullBoard board;
  const QRect all(0, 0, TLayeredImage::kWidth, TLayeredImage::kHeight);
  for (auto _ : state) {
    board.img.Compose(all);
    benchmark::DoNotOptimize(board.img.Composed().constBits());
  }
}
BENCHMARK(BM_FullFrame)->Unit(benchmark::kMicrosecond);

// The same whole frame painted on the shown widget.
void BM_FullFrameShown(benchmark::State& state) {
  TFullBoard board;
  board.img.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    board.img.SetPicture(board.img.Picture());  // marks the whole surface
    board.img.Flush();
  }
}
BENCHMARK(BM_FullFrameShown)->Unit(benchmark::kMicrosecond);

// One frame of a fall at the default step: the piece moves two pixels and
// the old and new rectangles are recomposed.
void BM_MovingPieceRect(benchmark::State& state) {
  TFullBoard board;
  TImageLayer* piece = board.view.PieceSlot(42).Layer;
  int y = 69;
  for (auto _ : state) {
    y = y >= 429 ? 69 : y + 2;
    piece->SetLocationAt(266 + 70 * 6, y);
    benchmark::DoNotOptimize(board.img.Composed().constBits());
  }
}
BENCHMARK(BM_MovingPieceRect)->Unit(benchmark::kMicrosecond);

// The same frame painted on the shown widget, as a fall paints it.
void BM_MovingPieceShown(benchmark::State& state) {
  TFullBoard board;
  board.img.show();
  QCoreApplication::processEvents();
  TImageLayer* piece = board.view.PieceSlot(42).Layer;
  int y = 69;
  for (auto _ : state) {
    y = y >= 429 ? 69 : y + 2;
    piece->SetLocationAt(266 + 70 * 6, y);
    board.img.Flush();
  }
}
BENCHMARK(BM_MovingPieceShown)->Unit(benchmark::kMicrosecond);

// A whole fall from the target of column 0 to the bottom row, shown.
void BM_FallToBottomRow(benchmark::State& state) {
  TFullBoard board;
  board.settings.DropStep = static_cast<int>(state.range(0));
  board.img.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    board.view.DropPiece(42, TBoardView::TargetPosition(0), 5);
  }
}
BENCHMARK(BM_FallToBottomRow)
    ->Arg(1)
    ->Arg(2)
    ->Arg(35)
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
