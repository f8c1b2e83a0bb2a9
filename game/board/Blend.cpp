#include "game/board/Blend.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

#if defined(__SSE2__)
// Four pixels mixed at once, each channel in a 16-bit lane, with the same
// rounding as MixPixel. `weights` holds one weight (0..255) per 32-bit lane.
inline __m128i Mix4(__m128i src, __m128i dst, __m128i weights) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i full = _mm_set1_epi16(255);
  const __m128i half = _mm_set1_epi16(128);
  const __m128i pairs = _mm_or_si128(weights, _mm_slli_epi32(weights, 16));
  auto mix = [&](__m128i s, __m128i d, __m128i w) {
    __m128i x = _mm_add_epi16(_mm_mullo_epi16(s, w), _mm_mullo_epi16(d, _mm_sub_epi16(full, w)));
    x = _mm_add_epi16(x, half);
    return _mm_srli_epi16(_mm_add_epi16(x, _mm_srli_epi16(x, 8)), 8);
  };
  const __m128i low = mix(_mm_unpacklo_epi8(src, zero), _mm_unpacklo_epi8(dst, zero),
                          _mm_unpacklo_epi32(pairs, pairs));
  const __m128i high = mix(_mm_unpackhi_epi8(src, zero), _mm_unpackhi_epi8(dst, zero),
                           _mm_unpackhi_epi32(pairs, pairs));
  return _mm_or_si128(_mm_packus_epi16(low, high), _mm_set1_epi32(static_cast<int>(0xFF000000u)));
}
#endif

}  // namespace

void BlendByAlpha(QRgb* out, const QRgb* src, int count, int master) {
  int i = 0;
#if defined(__SSE2__)
  // w = ((master + 1) * alpha) >> 8, taken as the high half of a 16-bit product.
  const __m128i factor = _mm_set1_epi32((std::min(master, 254) + 1) << 8);
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
    const __m128i alpha = _mm_srli_epi32(s, 24);
    const __m128i w = master >= 255 ? alpha : _mm_mulhi_epu16(alpha, factor);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), Mix4(s, d, w));
  }
#endif
  for (; i < count; ++i) out[i] = MixPixel(src[i], out[i], BlendWeight(master, qAlpha(src[i])));
}

void BlendByWeight(QRgb* out, const QRgb* src, int count, unsigned weight) {
  int i = 0;
#if defined(__SSE2__)
  const __m128i w = _mm_set1_epi32(static_cast<int>(weight));
  for (; i + 4 <= count; i += 4) {
    const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(out + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), Mix4(s, d, w));
  }
#endif
  for (; i < count; ++i) out[i] = MixPixel(src[i], out[i], weight);
}

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
