#include "game/board/BoardView.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>

#include "game/model/Pause.h"

namespace zerud {

namespace {

constexpr int kGridTopAlpha = 256;
constexpr int kClearFallStep = 40;  // pixels per frame of a piece falling off the board
constexpr int kClearFallEnd = 600;  // bottom edge of the image

QElapsedTimer& FrameClock() {
  static QElapsedTimer clock = [] {
    QElapsedTimer c;
    c.start();
    return c;
  }();
  return clock;
}

}  // namespace

TBoardView::TBoardView(TLayeredImage* img, const TBoardPictures& listeBmp,
                       const TBoardSettings* settings, QObject* parent)
    : QObject(parent), img_(img), listeBmp_(listeBmp), settings_(settings) {
  // Step 1. The piece layers, each new one moved to list position 1.
  for (int i = 1; i <= kSlotCount; ++i) {
    TPieceSlot& slot = PieceSlot(i);
    slot.Layer = img_->AddLayer();
    slot.Layer->SetImage(listeBmp_[i % 2 == 1 ? kRed : kYellow]);
    slot.Layer->SetLocationAt(kParkedPosition.x(), kParkedPosition.y());
    img_->MoveLayer(slot.Layer, 1);
    slot.Marked = false;
  }
  // Step 2. The grid overlay, always on top: position 100 is clamped to the last.
  gridLayer_ = img_->AddLayer();
  gridLayer_->SetImage(listeBmp_[kGrid]);
  gridLayer_->SetLocationAt(kGridCorner.x(), kGridCorner.y());
  gridLayer_->SetMasterAlpha(kGridTopAlpha);
  img_->MoveLayer(gridLayer_, 100);
}

TBoardView::~TBoardView() { FreeLayers(); }

int TBoardView::Opacity() const { return settings_->Opaque ? 256 : settings_->PieceOpacity; }

void TBoardView::SetPictures(const TBoardPictures& listeBmp) {
  const TBoardPictures old = listeBmp_;
  listeBmp_ = listeBmp;
  if (!LayersThere()) return;
  for (TPieceSlot& slot : slots_) {
    if (slot.Layer == nullptr) continue;
    for (int k = kYellow; k <= kRedTicked; ++k) {
      if (slot.Layer->Image() == old[k]) {
        slot.Layer->SetImage(listeBmp_[k]);
        break;
      }
    }
  }
  gridLayer_->SetImage(listeBmp_[kGrid]);
  img_->Flush();
}

TPieceSlot& TBoardView::PieceSlot(int k) { return slots_.at(k - 1); }
const TPieceSlot& TBoardView::PieceSlot(int k) const { return slots_.at(k - 1); }

QPoint TBoardView::TargetPosition(int column) {
  return {kGridCorner.x() + kCellSize * column, kTargetTop};
}

QPoint TBoardView::CellPosition(int row, int column) {
  return {kGridCorner.x() + kCellSize * column, kCellSize * (row + 2) + 9};
}

void TBoardView::PrepareSlots(int firstPlayer) {
  if (!img_) return;
  for (int i = 1; i <= kSlotCount; ++i) {
    TPieceSlot& slot = PieceSlot(i);
    slot.Marked = false;
    if (slot.Layer == nullptr) continue;
    const bool odd = i % 2 == 1;
    const bool red = (odd && firstPlayer == 1) || (!odd && firstPlayer == 2);
    slot.Layer->SetImage(listeBmp_[red ? kRed : kYellow]);
    slot.Layer->SetLocationAt(kParkedPosition.x(), kParkedPosition.y());
    img_->MoveLayer(slot.Layer, 1);
    slot.Layer->SetMasterAlpha(Opacity());
  }
}

bool TBoardView::ShowFrame(qint64 frameStartNs, double minimumMs) {
  QPointer<TBoardView> self(this);
  if (img_) img_->Flush();
  const double spentMs = (FrameClock().nsecsElapsed() - frameStartNs) / 1e6;
  Pause(std::max(0.0, minimumMs - spentMs));
  return self && self->LayersThere();
}

void TBoardView::DropPiece(int k, QPoint target, int row) {
  if (!img_ || k < 1 || k > kSlotCount || PieceSlot(k).Layer == nullptr) return;
  QPointer<TBoardView> self(this);
  TImageLayer* layer = PieceSlot(k).Layer;

  // Step 1. From the target's corner down to the cell.
  const int x = target.x();
  int y = target.y();
  const int destination = CellPosition(row, 0).y();
  // Step 2. One frame shown per position, the step read anew every frame.
  do {
    const qint64 frameStart = FrameClock().nsecsElapsed();
    layer->SetLocationAt(x, y);
    y += std::max(1, settings_->DropStep);
    if (!ShowFrame(frameStart, kMinFrameMs)) return;
  } while (y < destination);
  // Step 3. Exactly in its cell.
  layer->SetLocationAt(x, destination);
  img_->Flush();
}

void TBoardView::PlacePiece(int k, int row, int column) {
  if (!img_ || k < 1 || k > kSlotCount) return;
  TPieceSlot& slot = PieceSlot(k);
  slot.Column = column;
  slot.Row = row;
  if (slot.Layer == nullptr) return;
  const QPoint cell = CellPosition(row, column);
  slot.Layer->SetLocationAt(cell.x(), cell.y());
  img_->Flush();
}

void TBoardView::Colonne0MouseMove(QPoint target, int moveNumber, bool gameOver) {
  if (!img_ || gameOver || moveNumber < 1 || moveNumber > kSlotCount) return;
  if (TImageLayer* layer = PieceSlot(moveNumber).Layer)
    layer->SetLocationAt(target.x(), target.y());
}

void TBoardView::ClearAwayPieces(int count) {
  count = std::clamp(count, 0, kSlotCount);
  QPointer<TBoardView> self(this);

  // Step 1. The grid fades in, stopping at 248.
  for (int i = 0; i <= 31; ++i) {
    QCoreApplication::processEvents();
    if (!self || !LayersThere()) return;
    gridLayer_->SetMasterAlpha(8 * i);
    img_->Flush();
    Pause(1);
    if (!self || !LayersThere()) return;
  }
  // Step 2. The pieces fall off the bottom edge in the order they were played.
  for (int i = 1; i <= count; ++i) {
    TImageLayer* layer = PieceSlot(i).Layer;
    if (layer == nullptr) continue;
    const double left = layer->Location().Left;
    double top = layer->Location().Top;
    do {
      const qint64 frameStart = FrameClock().nsecsElapsed();
      top += kClearFallStep;
      layer->SetLocationAt(left, top);
      if (!ShowFrame(frameStart, kMinFrameMs)) return;
    } while (top <= kClearFallEnd);
  }
  // Step 3.
  Pause(200);
}

void TBoardView::ShowGameEnd(const TWinningLine& line, int piecesPlayed) {
  if (!img_) return;
  QPointer<TBoardView> self(this);
  const int opacity = Opacity();

  // Step 1. Marking: the piece on each cell of the line.
  markedWinner_ = line.Winner;
  if (line.Winner == 1 || line.Winner == 2) {
    const int played = std::clamp(piecesPlayed, 0, kSlotCount);
    for (int i = 0; i < std::clamp(line.Length, 0, static_cast<int>(line.Cells.size())); ++i) {
      for (int k = 1; k <= played; ++k) {
        TPieceSlot& slot = PieceSlot(k);
        if (slot.Column != line.Cells[i].Column || slot.Row != line.Cells[i].Row ||
            slot.Layer == nullptr)
          continue;
        slot.Layer->SetImage(listeBmp_[line.Winner == 2 ? kYellowTicked : kRedTicked]);
        slot.Layer->SetMasterAlpha(opacity);
        slot.Marked = true;
        break;
      }
    }
  }

  // Step 2. Blink: the marked pieces fade to 0 one at a time, then come back.
  const int m = opacity / 32;
  auto blinkStep = [&](int i) {
    for (int k = 1; k <= kSlotCount; ++k) {
      if (!PieceSlot(k).Marked) continue;
      QCoreApplication::processEvents();
      if (!self || !LayersThere()) return false;
      if (TImageLayer* layer = PieceSlot(k).Layer) layer->SetMasterAlpha(32 * i);
      img_->Flush();
      Pause(1);
      if (!self || !LayersThere()) return false;
    }
    return true;
  };
  for (int i = m; i >= 0; --i) {
    if (!blinkStep(i)) return;
  }
  for (int i = 0; i <= m; ++i) {
    if (!blinkStep(i)) return;
  }

  // Step 3. The grid fades out completely.
  for (int i = 31; i >= 0; --i) {
    if (gridLayer_ == nullptr) return;
    gridLayer_->SetMasterAlpha(8 * i);
    img_->Flush();
    QCoreApplication::processEvents();
    if (!self || !LayersThere()) return;
    Pause(1);
    if (!self || !LayersThere()) return;
  }
}

void TBoardView::ApplyOpacity() {
  if (!img_) return;
  for (TPieceSlot& slot : slots_) {
    if (slot.Layer) slot.Layer->SetMasterAlpha(Opacity());
  }
}

void TBoardView::TakeBackPiece(int k) {
  if (!img_ || k < 1 || k > kSlotCount) return;
  TPieceSlot& slot = PieceSlot(k);
  if (slot.Layer) slot.Layer->SetLocationAt(kParkedPosition.x(), kParkedPosition.y());
  img_->Flush();
}

void TBoardView::ClearGameEnd() {
  if (!img_) return;
  for (TPieceSlot& slot : slots_) {
    if (!slot.Marked) continue;
    slot.Marked = false;
    if (!slot.Layer) continue;
    slot.Layer->SetImage(listeBmp_[markedWinner_ == 2 ? kYellow : kRed]);
    slot.Layer->SetMasterAlpha(Opacity());
  }
  markedWinner_ = 0;
  RestoreGrid();
  img_->Flush();
}

void TBoardView::RestoreGrid() {
  if (img_ && gridLayer_) gridLayer_->SetMasterAlpha(kGridTopAlpha);
}

void TBoardView::FreeLayers() {
  for (TPieceSlot& slot : slots_) {
    if (img_ && slot.Layer) img_->FreeLayer(slot.Layer);
    slot.Layer = nullptr;
  }
  if (img_ && gridLayer_) img_->FreeLayer(gridLayer_);
  gridLayer_ = nullptr;
}

}  // namespace zerud
