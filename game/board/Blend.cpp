#include "game/board/Blend.h"

#include <algorithm>
#include <cstring>

namespace zerud {

TAlphaRuns TAlphaRuns::Of(const QImage& picture) {
  TAlphaRuns result;
  result.RowFirst.reserve(picture.height() + 1);
  for (int y = 0; y < picture.height(); ++y) {
    result.RowFirst.push_back(static_cast<int>(result.Runs.size()));
    const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    int x = 0;
    while (x < picture.width()) {
      const int alpha = qAlpha(row[x]);
      if (alpha == 0) {
        ++x;
        continue;
      }
      const bool opaque = alpha == 255;
      const int start = x;
      while (x < picture.width() && qAlpha(row[x]) != 0 && (qAlpha(row[x]) == 255) == opaque) ++x;
      result.Runs.push_back({start, x - start, opaque});
    }
  }
  result.RowFirst.push_back(static_cast<int>(result.Runs.size()));
  return result;
}

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

// src[i] over out[i] for i < count, each with the weight of its own alpha.
void BlendByAlpha(QRgb* out, const QRgb* src, int count, int master) {
  for (int i = 0; i < count; ++i) {
    out[i] = MixPixel(src[i], out[i], BlendWeight(master, qAlpha(src[i])));
  }
}

// src[i] over out[i] with one weight for the whole run.
void BlendByWeight(QRgb* out, const QRgb* src, int count, unsigned weight) {
  for (int i = 0; i < count; ++i) out[i] = MixPixel(src[i], out[i], weight);
}

}  // namespace

void BlendLayer(QImage& surface, const QRect& area, const QImage& layer, const TAlphaRuns& runs,
                const QRect& dest, int master) {
  const QRect r = dest & area & surface.rect();
  if (r.isEmpty() || master <= 0 || layer.isNull()) return;
  master = std::min(master, 256);

  if (dest.size() == layer.size()) {
    const unsigned opaqueWeight = BlendWeight(master, 255);
    // Columns of the layer inside the area.
    const int clipFirst = r.left() - dest.left();
    const int clipEnd = r.right() + 1 - dest.left();
    for (int y = r.top(); y <= r.bottom(); ++y) {
      const int sy = y - dest.top();
      auto* out = reinterpret_cast<QRgb*>(surface.scanLine(y)) + dest.left();
      const auto* src = reinterpret_cast<const QRgb*>(layer.constScanLine(sy));
      for (int i = runs.RowFirst[sy]; i < runs.RowFirst[sy + 1]; ++i) {
        const TAlphaRun& run = runs.Runs[i];
        const int first = std::max(run.Start, clipFirst);
        const int end = std::min(run.Start + run.Length, clipEnd);
        if (first >= end) continue;
        if (!run.Opaque) {
          BlendByAlpha(out + first, src + first, end - first, master);
        } else if (opaqueWeight == 255) {
          std::memcpy(out + first, src + first, sizeof(QRgb) * (end - first));
        } else {
          BlendByWeight(out + first, src + first, end - first, opaqueWeight);
        }
      }
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
