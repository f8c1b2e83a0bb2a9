// The blend loop of the layered board, kept apart from the widget so the
// arithmetic can be tested and measured on plain images.
#pragma once

#include <QImage>
#include <QRect>
#include <vector>

namespace zerud {

// Weight of a pixel of alpha `alpha` in a layer of master alpha `master`
// (0..256): 0 leaves what lies beneath, 255 replaces it.
constexpr int BlendWeight(int master, int alpha) { return ((master + 1) * alpha) >> 8; }
static_assert(BlendWeight(256, 255) == 255 && BlendWeight(255, 255) == 255);
static_assert(BlendWeight(0, 255) == 0 && BlendWeight(256, 0) == 0);

// Mixes `src` over `dst` (both 0xAARRGGBB, alpha of src ignored) with weight
// w in 0..255; the result is opaque.
inline QRgb MixPixel(QRgb src, QRgb dst, unsigned w) {
  const unsigned inv = 255 - w;
  // Red and blue side by side, then green: each 16-bit lane holds at most
  // 255 * 255, and the division by 255 is rounded.
  unsigned rb = (src & 0xFF00FFu) * w + (dst & 0xFF00FFu) * inv + 0x00800080u;
  rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  unsigned g = ((src >> 8) & 0xFFu) * w + ((dst >> 8) & 0xFFu) * inv + 0x80u;
  g = ((g + (g >> 8)) >> 8) & 0xFFu;
  return 0xFF000000u | rb | (g << 8);
}

// The pixels of a picture whose alpha is not 0, as runs along each row, so the
// blend copies the opaque parts and skips the transparent ones.
struct TAlphaRun {
  int Start = 0;        // first column
  int Length = 0;       // columns in the run
  bool Opaque = false;  // every alpha in the run is 255
};
struct TAlphaRuns {
  std::vector<TAlphaRun> Runs;
  std::vector<int> RowFirst;  // runs of row y: Runs[RowFirst[y]] .. Runs[RowFirst[y + 1] - 1]

  static TAlphaRuns Of(const QImage& picture);  // picture in ARGB32
};

// Blends a row: src[i] over out[i] for i < count, with the weight of each
// pixel's own alpha under master alpha `master` (0..256).
void BlendByAlpha(QRgb* out, const QRgb* src, int count, int master);
// The same with one weight (0..255) for every pixel.
void BlendByWeight(QRgb* out, const QRgb* src, int count, unsigned weight);

// Fills `area` of `surface` (RGB32) with `picture` (RGB32) drawn at (0, 0)
// and `colour` where the picture does not reach.
void FillBackground(QImage& surface, const QImage& picture, QRgb colour, const QRect& area);

// Blends `layer` (ARGB32, not premultiplied) stretched to `dest` over the part
// `area` of `surface` with master alpha `master`; `runs` are the layer's.
void BlendLayer(QImage& surface, const QRect& area, const QImage& layer, const TAlphaRuns& runs,
                const QRect& dest, int master);

}  // namespace zerud
