#include "assets/IconListCodec.h"

#include "assets/ByteReader.h"

namespace zerud {

namespace {
constexpr char kMagic[] = "ZIL1";
constexpr int kMaxIcons = 1024;
constexpr int kMaxIconSide = 256;
constexpr std::uint32_t kNoBackground = 0xFFFFFFFFu;
}  // namespace

QList<QImage> DecodeIconList(const QByteArray& bytes, const QString& name) {
  TByteReader reader(bytes, name);
  // Step 1. Header, every field checked before any pixel is touched.
  if (QByteArray(reinterpret_cast<const char*>(reader.Take(4)), 4) != kMagic) {
    reader.Fail(QStringLiteral("ce n'est pas une liste d'icônes"));
  }
  const int count = reader.U16();
  const int capacity = reader.U16();
  reader.U16();
  const int width = reader.U16();
  const int height = reader.U16();
  const int perRow = reader.U16();
  reader.U32();
  if (count > capacity || capacity > kMaxIcons || perRow < 1 || perRow > capacity) {
    reader.Fail(QStringLiteral("disposition des icônes incorrecte"));
  }
  if (width < 1 || height < 1 || width > kMaxIconSide || height > kMaxIconSide) {
    reader.Fail(SizeRefusal(width, height));
  }
  const qint64 planeWidth = qint64(perRow) * width;
  const qint64 planeHeight = qint64((capacity + perRow - 1) / perRow) * height;
  CheckPictureSize(name, planeWidth, planeHeight);
  const qint64 colourBytes = 4 * planeWidth * planeHeight;
  const qint64 maskBytes = MaskStride(planeWidth) * planeHeight;
  if (reader.Remaining() != colourBytes + maskBytes) {
    reader.Fail(QStringLiteral("taille des plans incorrecte"));
  }

  // Step 2. Cut each icon out of the two planes.
  const uchar* colours = reader.Take(colourBytes);
  const uchar* mask = reader.Take(maskBytes);
  QList<QImage> icons;
  for (int i = 0; i < count; ++i) {
    const qint64 left = qint64(i % perRow) * width;
    const qint64 top = qint64(i / perRow) * height;
    QImage icon(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y) {
      const uchar* colourRow = colours + ((top + y) * planeWidth + left) * 4;
      const uchar* maskRow = mask + (top + y) * MaskStride(planeWidth);
      auto* row = reinterpret_cast<QRgb*>(icon.scanLine(y));
      for (int x = 0; x < width; ++x) {
        const qint64 px = left + x;
        const bool transparent = MaskTransparent(maskRow, px);
        const uchar* c = colourRow + 4 * x;
        row[x] = transparent ? qRgba(0, 0, 0, 0) : qRgb(c[2], c[1], c[0]);
      }
    }
    icons.append(icon);
  }
  return icons;
}

QByteArray EncodeIconList(const QList<QImage>& icons, const TIconListLayout& layout) {
  const QString name = QStringLiteral("liste d'icônes");
  if (icons.isEmpty() || icons.size() > layout.capacity || layout.perRow < 1) {
    throw TPictureError(name, QStringLiteral("disposition des icônes incorrecte"));
  }
  const int width = icons.first().width();
  const int height = icons.first().height();
  const qint64 planeWidth = qint64(layout.perRow) * width;
  const qint64 planeHeight = qint64((layout.capacity + layout.perRow - 1) / layout.perRow) * height;
  QByteArray colourPlane(4 * planeWidth * planeHeight, '\0');
  QByteArray maskPlane(MaskStride(planeWidth) * planeHeight, '\0');
  // Room not taken by an icon stays transparent.
  for (qint64 y = 0; y < planeHeight; ++y) {
    for (qint64 x = 0; x < planeWidth; ++x) {
      maskPlane[y * MaskStride(planeWidth) + x / 8] |= char(0x80 >> (x % 8));
    }
  }
  for (int i = 0; i < icons.size(); ++i) {
    if (icons[i].size() != icons.first().size()) {
      throw TPictureError(name, QStringLiteral("icônes de tailles différentes"));
    }
    const QImage icon = icons[i].convertToFormat(QImage::Format_ARGB32);
    const qint64 left = qint64(i % layout.perRow) * width;
    const qint64 top = qint64(i / layout.perRow) * height;
    for (int y = 0; y < height; ++y) {
      const auto* row = reinterpret_cast<const QRgb*>(icon.constScanLine(y));
      for (int x = 0; x < width; ++x) {
        const qint64 px = left + x;
        const qint64 py = top + y;
        const qint64 at = (py * planeWidth + px) * 4;
        if (qAlpha(row[x]) < 128) continue;
        colourPlane[at] = char(qBlue(row[x]));
        colourPlane[at + 1] = char(qGreen(row[x]));
        colourPlane[at + 2] = char(qRed(row[x]));
        maskPlane[py * MaskStride(planeWidth) + px / 8] &= char(~(0x80 >> (px % 8)));
      }
    }
  }
  QByteArray out(kMagic, 4);
  PutU16(out, static_cast<std::uint32_t>(icons.size()));
  PutU16(out, static_cast<std::uint32_t>(layout.capacity));
  PutU16(out, static_cast<std::uint32_t>(layout.growth));
  PutU16(out, static_cast<std::uint32_t>(width));
  PutU16(out, static_cast<std::uint32_t>(height));
  PutU16(out, static_cast<std::uint32_t>(layout.perRow));
  PutU32(out, kNoBackground);
  return out + colourPlane + maskPlane;
}

}  // namespace zerud
