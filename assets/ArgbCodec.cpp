#include "assets/ArgbCodec.h"

#include "assets/ByteReader.h"

namespace zerud {

namespace {
constexpr int kHeaderBytes = 8;
}

QImage DecodeArgb(const QByteArray& bytes, const QString& name) {
  TByteReader reader(bytes, name);
  const qint64 width = reader.I32();
  const qint64 height = reader.I32();
  CheckPictureSize(name, width, height);
  if (reader.Remaining() != 4 * width * height) {
    reader.Fail(QStringLiteral("%1 octets de pixels pour une image %2 x %3")
                    .arg(reader.Remaining())
                    .arg(width)
                    .arg(height));
  }
  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32);
  if (image.isNull()) reader.Fail(QStringLiteral("mémoire insuffisante"));
  // Format_ARGB32 keeps each pixel as the 32-bit word 0xAARRGGBB in host
  // order; build it from the stored bytes so the result is the same on any host.
  for (int y = 0; y < image.height(); ++y) {
    const uchar* src = reader.Take(4 * width);
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x, src += 4) {
      row[x] = qRgba(src[2], src[1], src[0], src[3]);
    }
  }
  return image;
}

QByteArray EncodeArgb(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  QByteArray out;
  out.reserve(kHeaderBytes + 4 * qsizetype(argb.width()) * argb.height());
  PutU32(out, static_cast<std::uint32_t>(argb.width()));
  PutU32(out, static_cast<std::uint32_t>(argb.height()));
  for (int y = 0; y < argb.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x) PutU32(out, row[x]);
  }
  return out;
}

}  // namespace zerud
