// The board's drawing surface: a background picture on navy and an ordered
// list of 32-bit layers blended over it with a master alpha per layer.
#pragma once

#include <QImage>
#include <QRect>
#include <QRegion>
#include <QWidget>
#include <memory>
#include <vector>

#include "game/board/Blend.h"

namespace zerud {

class TLayeredImage;

// A layer's location in image pixels, floating point like the positions the
// animations compute. Right and bottom are exclusive.
struct TFloatRect {
  double Left = 0;
  double Top = 0;
  double Right = 0;
  double Bottom = 0;

  friend bool operator==(const TFloatRect&, const TFloatRect&) = default;
};

// One layer of a TLayeredImage. Created and freed only by its image, which
// keeps it in its list; every change that shows marks the image for repainting.
class TImageLayer {
 public:
  TImageLayer(const TImageLayer&) = delete;
  TImageLayer& operator=(const TImageLayer&) = delete;

  // Copies the picture (converted to non-premultiplied ARGB32).
  void SetImage(const QImage& picture);
  const QImage& Image() const { return image_; }

  // Where the image is drawn; it is stretched to this rectangle.
  void SetLocation(const TFloatRect& location);
  // Location with the top-left corner at (x, y) and the image's own size.
  void SetLocationAt(double x, double y);
  const TFloatRect& Location() const { return location_; }

  // 0 hides the layer, 255 and 256 draw it with its own alpha. Values outside
  // 0..256 are clamped: a larger one would give weights above 255.
  void SetMasterAlpha(int masterAlpha);
  int MasterAlpha() const { return masterAlpha_; }

  // Pixels of the image covered by this layer (location rounded to whole pixels).
  QRect PixelRect() const;

 private:
  friend class TLayeredImage;
  explicit TImageLayer(TLayeredImage* owner) : owner_(owner) {}

  TLayeredImage* owner_;
  QImage image_;
  TFloatRect location_;
  int masterAlpha_ = 256;
  TAlphaRuns runs_;
};

// The 800 x 600 surface. Paints from a composed cache that is recomposed only
// where something changed; the widget is also the parent of the controls laid
// over the board.
class TLayeredImage : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 800;
  static constexpr int kHeight = 600;
  static constexpr QRgb kBackgroundColour = 0xFF000080;  // navy

  explicit TLayeredImage(QWidget* parent = nullptr);
  ~TLayeredImage() override;

  // The background picture, drawn at (0, 0) at its own size; navy where it
  // does not reach. A null image leaves only navy.
  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return picture_; }

  // The layer list, bottom first.
  TImageLayer* AddLayer();  // at the end of the list, that is on top
  int LayerCount() const { return static_cast<int>(layers_.size()); }
  TImageLayer* Layer(int position) const;
  int IndexOfLayer(const TImageLayer* layer) const;  // -1 when not in the list
  // Moves the layer to the given list position, clamped to 0 .. count - 1.
  void MoveLayer(TImageLayer* layer, int position);
  // Removes the layer from the list and deletes it; null is ignored.
  void FreeLayer(TImageLayer* layer);

  // Paints what changed since the last paint now, not later: one call is one
  // frame shown. Does nothing while the widget is not visible.
  void Flush();

  // The composed picture (opaque RGB32), brought up to date first.
  const QImage& Composed();
  // Recomposes a rectangle of the cache from the background and the layers,
  // whatever is marked; used by the benchmarks.
  void Compose(const QRect& area);

  QSize sizeHint() const override { return {kWidth, kHeight}; }

 signals:
  // A layer's location, master alpha or image changed.
  void LayerChanged(zerud::TImageLayer* layer);
  // A frame was painted on the widget; area is the painted part.
  void Painted(const QRect& area);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  friend class TImageLayer;
  void Invalidate(const QRect& area);
  void OnLayerChanged(TImageLayer* layer, const QRect& before);
  void ComposeStale();

  QImage picture_;
  QImage composed_;
  QRegion stale_;         // parts of composed_ to recompose
  QRegion pendingPaint_;  // parts of the widget not yet painted since a change
  std::vector<std::unique_ptr<TImageLayer>> layers_;
};

}  // namespace zerud
