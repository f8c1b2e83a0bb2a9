// Helpers shared by the picture tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <functional>
#include <random>
#include <string>

#include "assets/PictureError.h"

namespace zerud::test {

inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) ADD_FAILURE() << "cannot read " << path.toStdString();
  return file.readAll();
}

// The stored bytes of a picture built into the program.
inline QByteArray EmbeddedBytes(const QString& name) {
  return FileBytes(QStringLiteral(":/zerud/pictures/") + name);
}

// A picture file of the source tree's assets/pictures folder.
inline QString SourcePicture(const QString& name) {
  return QStringLiteral(ZERUD_PICTURES_DIR "/") + name;
}

// Runs the call and expects a TPictureError whose text holds the fragment.
inline void ExpectPictureError(const std::function<void()>& call, const std::string& fragment) {
  try {
    call();
    ADD_FAILURE() << "no error, expected one mentioning \"" << fragment << "\"";
  } catch (const TPictureError& error) {
    EXPECT_NE(std::string(error.what()).find(fragment), std::string::npos)
        << error.what() << " does not mention \"" << fragment << "\"";
  }
}

// The bytes with a little-endian field of `size` bytes replaced.
inline QByteArray WithField(QByteArray bytes, int offset, quint32 value, int size = 4) {
  for (int i = 0; i < size; ++i) bytes[offset + i] = char(value >> (8 * i));
  return bytes;
}

inline quint32 LittleEndian32(const QByteArray& bytes, qsizetype at) {
  const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (quint32(p[3]) << 24);
}

template <typename F>
void ForEachPixel(const QImage& image, F&& visit) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) visit(x, y, image.pixel(x, y));
}

// The number of pixels for which test(x, y, colour) holds.
template <typename F>
int CountPixels(const QImage& image, F&& test) {
  int count = 0;
  ForEachPixel(image, [&](int x, int y, QRgb c) { count += bool(test(x, y, c)); });
  return count;
}

// A picture with every kind of pixel: varied colours, alpha 0 with a colour
// behind it, partial alpha.
inline QImage Sample(int width, int height, bool withAlpha, unsigned seed = 7) {
  std::mt19937 random(seed);
  QImage image(width, height, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  ForEachPixel(image, [&](int x, int y, QRgb) {
    const int alpha = withAlpha ? int(random() % 256) : 255;
    image.setPixel(x, y, qRgba(random() % 256, random() % 256, random() % 256, alpha));
  });
  return image;
}

// A smooth picture, the kind JPEG keeps well.
inline QImage Smooth(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  ForEachPixel(image, [&](int x, int y, QRgb) {
    image.setPixel(x, y, qRgb(x * 255 / width, y * 255 / height, 128));
  });
  return image;
}

inline int Luminance(QRgb c) { return qRed(c) * 30 + qGreen(c) * 59 + qBlue(c) * 11; }

}  // namespace zerud::test
