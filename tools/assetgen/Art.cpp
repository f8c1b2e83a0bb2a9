#include "Art.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace zerud::art {

double DiscCoverage(int px, int py, double cx, double cy, double radius) {
  constexpr int kSamples = 16;
  int inside = 0;
  for (int sy = 0; sy < kSamples; ++sy) {
    const double y = py + (sy + 0.5) / kSamples - cy;
    for (int sx = 0; sx < kSamples; ++sx) {
      const double x = px + (sx + 0.5) / kSamples - cx;
      if (x * x + y * y <= radius * radius) ++inside;
    }
  }
  return double(inside) / (kSamples * kSamples);
}

double Noise(int x, int y, int seed) {
  std::uint32_t h = std::uint32_t(x) * 374761393u + std::uint32_t(y) * 668265263u +
                    std::uint32_t(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFF) / 32767.5 - 1.0;
}

void Dither(QImage& image, int amplitude, int seed) {
  for (int y = 0; y < image.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const int d = int(std::lround(Noise(x, y, seed) * amplitude));
      auto channel = [d](int v) { return std::clamp(v + d, 0, 255); };
      row[x] = qRgba(channel(qRed(row[x])), channel(qGreen(row[x])), channel(qBlue(row[x])),
                     qAlpha(row[x]));
    }
  }
}

QFont Font(const QString& family, int pixelSize, bool bold) {
  QFont font(family);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

void ShadowText(QPainter& painter, const QRectF& rect, int flags, const QString& text,
                const QColor& colour, const QColor& shadow) {
  painter.setPen(shadow);
  painter.drawText(rect.translated(1, 1), flags, text);
  painter.setPen(colour);
  painter.drawText(rect, flags, text);
}

QLinearGradient TwoStop(QLinearGradient gradient, const QColor& start, const QColor& end) {
  gradient.setColorAt(0, start);
  gradient.setColorAt(1, end);
  return gradient;
}

QImage Canvas(int width, int height, const QColor& fill) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  image.fill(fill);
  return image;
}

QImage Canvas(int width, int height, const QColor& top, const QColor& bottom) {
  QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
  QPainter(&image).fillRect(image.rect(), TwoStop(QLinearGradient(0, 0, 0, height), top, bottom));
  return image;
}

}  // namespace zerud::art
