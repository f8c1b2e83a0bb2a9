#include "game/board/LayeredImage.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace zerud {

namespace {

int RoundToPixel(double v) { return static_cast<int>(std::lround(v)); }

const QRect kSurface(0, 0, TLayeredImage::kWidth, TLayeredImage::kHeight);

}  // namespace

// ---------------------------------------------------------------------------
// TImageLayer

void TImageLayer::SetImage(const QImage& picture) {
  const QRect before = PixelRect();
  image_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_ARGB32);
  runs_ = TAlphaRuns::Of(image_);
  owner_->OnLayerChanged(this, before);
}

void TImageLayer::SetLocation(const TFloatRect& location) {
  const QRect before = PixelRect();
  location_ = location;
  owner_->OnLayerChanged(this, before);
}

void TImageLayer::SetLocationAt(double x, double y) {
  SetLocation({x, y, x + image_.width(), y + image_.height()});
}

void TImageLayer::SetMasterAlpha(int masterAlpha) {
  masterAlpha_ = std::clamp(masterAlpha, 0, 256);
  owner_->OnLayerChanged(this, PixelRect());
}

QRect TImageLayer::PixelRect() const {
  const int left = RoundToPixel(location_.Left);
  const int top = RoundToPixel(location_.Top);
  return QRect(QPoint(left, top),
               QPoint(RoundToPixel(location_.Right) - 1, RoundToPixel(location_.Bottom) - 1));
}

// ---------------------------------------------------------------------------
// TLayeredImage

TLayeredImage::TLayeredImage(QWidget* parent) : QWidget(parent) {
  setFixedSize(kWidth, kHeight);
  // The cache covers every pixel, so Qt need not clear the widget first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  composed_ = QImage(kWidth, kHeight, QImage::Format_RGB32);
  stale_ = kSurface;
}

TLayeredImage::~TLayeredImage() = default;

void TLayeredImage::SetPicture(const QImage& picture) {
  picture_ = picture.isNull() ? QImage() : picture.convertToFormat(QImage::Format_RGB32);
  Invalidate(kSurface);
}

TImageLayer* TLayeredImage::AddLayer() {
  layers_.push_back(std::unique_ptr<TImageLayer>(new TImageLayer(this)));
  return layers_.back().get();
}

TImageLayer* TLayeredImage::Layer(int position) const {
  if (position < 0 || position >= LayerCount()) return nullptr;
  return layers_[position].get();
}

int TLayeredImage::IndexOfLayer(const TImageLayer* layer) const {
  for (int i = 0; i < LayerCount(); ++i) {
    if (layers_[i].get() == layer) return i;
  }
  return -1;
}

void TLayeredImage::MoveLayer(TImageLayer* layer, int position) {
  const int from = IndexOfLayer(layer);
  if (from < 0) return;
  const int to = std::clamp(position, 0, LayerCount() - 1);
  if (from == to) return;
  auto moved = std::move(layers_[from]);
  layers_.erase(layers_.begin() + from);
  layers_.insert(layers_.begin() + to, std::move(moved));
  Invalidate(layer->PixelRect());
}

void TLayeredImage::FreeLayer(TImageLayer* layer) {
  const int index = IndexOfLayer(layer);
  if (index < 0) return;
  const QRect area = layer->PixelRect();
  layers_.erase(layers_.begin() + index);
  Invalidate(area);
}

void TLayeredImage::Invalidate(const QRect& area) {
  const QRect visible = area & kSurface;
  if (visible.isEmpty()) return;
  stale_ += visible;
  pendingPaint_ += visible;
  update(visible);
}

void TLayeredImage::OnLayerChanged(TImageLayer* layer, const QRect& before) {
  Invalidate(before);
  Invalidate(layer->PixelRect());
  emit LayerChanged(layer);
}

void TLayeredImage::Flush() {
  if (!isVisible() || pendingPaint_.isEmpty()) return;
  repaint(pendingPaint_);
}

const QImage& TLayeredImage::Composed() {
  ComposeStale();
  return composed_;
}

void TLayeredImage::ComposeStale() {
  if (stale_.isEmpty()) return;
  for (const QRect& r : stale_) Compose(r);
  stale_ = QRegion();
}

void TLayeredImage::Compose(const QRect& area) {
  const QRect target = area & kSurface;
  if (target.isEmpty()) return;
  FillBackground(composed_, picture_, kBackgroundColour, target);
  for (const auto& layer : layers_) {
    if (layer->masterAlpha_ == 0 || layer->image_.isNull()) continue;
    const QRect dest = layer->PixelRect();
    if (!dest.intersects(target)) continue;
    BlendLayer(composed_, target, layer->image_, layer->runs_, dest, layer->masterAlpha_);
  }
}

void TLayeredImage::paintEvent(QPaintEvent* event) {
  ComposeStale();
  QPainter painter(this);
  for (const QRect& r : event->region()) painter.drawImage(r.topLeft(), composed_, r);
  painter.end();
  pendingPaint_ -= event->region();
  emit Painted(event->rect());
}

}  // namespace zerud
