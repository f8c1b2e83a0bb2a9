#include "game/board/Blend.h"

#include <algorithm>
#include <cstring>

namespace zerud {

void FillBackground(QImage& surface, const QImage& picture, QRgb colour, const QRect& area) {
  const QRect r = area & surface.rect();
  if (r.isEmpty()) return;
  const QRect covered = r & picture.rect();
  for (int y = r.top(); y <= r.bottom(); ++y) {
    auto* out = reinterpret_cast<QRgb*>(surface.scanLine(y)) + r.left();
    int done = 0;
    if (!covered.isEmpty() && y <= covered.bottom()) {
      done = covered.right() + 1 - r.left();
      std::memcpy(out, reinterpret_cast<const QRgb*>(picture.constScanLine(y)) + r.left(),
                  sizeof(QRgb) * done);
    }
    std::fill(out + done, out + r.width(), colour);
  }
}

namespace {

// One row of a layer drawn at its own size: src[i] over out[i].
void BlendRow(QRgb* out, const QRgb* src, int count, int master) {
  if (master >= 255) {
    for (int i = 0; i < count; ++i) {
      const QRgb s = src[i];
      const unsigned a = qAlpha(s);
      if (a == 255) {
        out[i] = s;
      } else if (a != 0) {
        out[i] = MixPixel(s, out[i], a);
      }
    }
    return;
  }
  for (int i = 0; i < count; ++i) {
    const QRgb s = src[i];
    const unsigned w = BlendWeight(master, qAlpha(s));
    if (w != 0) out[i] = MixPixel(s, out[i], w);
  }
}

}  // namespace

void BlendLayer(QImage& surface, const QRect& area, const QImage& layer,
                const std::vector<std::pair<int, int>>& rowSpans, const QRect& dest, int master) {
  const QRect r = dest & area & surface.rect();
  if (r.isEmpty() || master <= 0 || layer.isNull()) return;
  master = std::min(master, 256);

  if (dest.size() == layer.size()) {
    const int offsetX = dest.left();
    const int offsetY = dest.top();
    for (int y = r.top(); y <= r.bottom(); ++y) {
      const int sy = y - offsetY;
      const int first = std::max(r.left() - offsetX, rowSpans[sy].first);
      const int last = std::min(r.right() + 1 - offsetX, rowSpans[sy].second);
      if (first >= last) continue;
      BlendRow(reinterpret_cast<QRgb*>(surface.scanLine(y)) + offsetX + first,
               reinterpret_cast<const QRgb*>(layer.constScanLine(sy)) + first, last - first,
               master);
    }
    return;
  }

  // Stretched: each surface pixel takes the nearest layer pixel.
  for (int y = r.top(); y <= r.bottom(); ++y) {
    const int sy =
        static_cast<int>((static_cast<qint64>(y - dest.top()) * layer.height()) / dest.height());
    const auto* src = reinterpret_cast<const QRgb*>(layer.constScanLine(sy));
    auto* out = reinterpret_cast<QRgb*>(surface.scanLine(y));
    for (int x = r.left(); x <= r.right(); ++x) {
      const int sx =
          static_cast<int>((static_cast<qint64>(x - dest.left()) * layer.width()) / dest.width());
      const unsigned w = BlendWeight(master, qAlpha(src[sx]));
      if (w != 0) out[x] = MixPixel(src[sx], out[x], w);
    }
  }
}

}  // namespace zerud
