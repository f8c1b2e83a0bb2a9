#include "assets/IcoCodec.h"

#include <QHash>
#include <QList>

#include "assets/ByteReader.h"

namespace zerud {

namespace {
constexpr int kDirectoryBytes = 6;
constexpr int kEntryBytes = 16;
constexpr int kInfoHeaderBytes = 40;
constexpr int kPaletteSize = 256;
constexpr int kMaxEntries = 64;

qint64 ColourStride(qint64 width) { return (width * 8 + 31) / 32 * 4; }
}  // namespace

QImage DecodeIco(const QByteArray& bytes, const QString& name) {
  TByteReader reader(bytes, name);
  // Step 1. Directory and its first entry.
  if (reader.U16() != 0 || reader.U16() != 1) reader.Fail(QStringLiteral("ce n'est pas une icône"));
  const int count = reader.U16();
  if (count < 1 || count > kMaxEntries) reader.Fail(QStringLiteral("nombre d'images incorrect"));
  const int entryWidth = reader.U8();
  const int entryHeight = reader.U8();
  reader.Take(6);  // colour count, reserved, planes, bit count: the header below decides
  const qint64 dataSize = reader.U32();
  const qint64 dataOffset = reader.U32();
  if (dataOffset < kDirectoryBytes + kEntryBytes * count) {
    reader.Fail(QStringLiteral("image placée dans le répertoire"));
  }
  reader.Seek(dataOffset);
  const QByteArray data(reinterpret_cast<const char*>(reader.Take(dataSize)), dataSize);

  // Step 2. Information header of the picture: the height counts the colour
  // plane and the mask together.
  TByteReader image(data, name);
  const qint64 headerSize = image.U32();
  if (headerSize < kInfoHeaderBytes) image.Fail(QStringLiteral("en-tête d'icône trop court"));
  const qint64 width = image.I32();
  const qint64 doubleHeight = image.I32();
  const int planes = image.U16();
  const int bitCount = image.U16();
  const std::uint32_t compression = image.U32();
  image.Take(12);  // image size, resolution: not needed
  const qint64 coloursUsed = image.U32();
  if (planes != 1 || bitCount != 8 || compression != 0) {
    image.Fail(QStringLiteral("seules les icônes 256 couleurs non compressées sont lues"));
  }
  if (doubleHeight <= 0 || doubleHeight % 2 != 0) image.Fail(QStringLiteral("hauteur incorrecte"));
  const qint64 height = doubleHeight / 2;
  CheckPictureSize(name, width, height);
  if ((entryWidth != 0 && entryWidth != width) || (entryHeight != 0 && entryHeight != height)) {
    image.Fail(QStringLiteral("taille du répertoire et de l'image différentes"));
  }
  if (coloursUsed > kPaletteSize) image.Fail(QStringLiteral("palette trop grande"));
  const int paletteSize = coloursUsed == 0 ? kPaletteSize : static_cast<int>(coloursUsed);

  // Step 3. Palette, colour plane and mask, both bottom-up.
  image.Seek(headerSize);
  QList<QRgb> palette;
  const uchar* entries = image.Take(4 * paletteSize);
  for (int i = 0; i < paletteSize; ++i, entries += 4) {
    palette.append(qRgb(entries[2], entries[1], entries[0]));
  }
  const uchar* colours = image.Take(ColourStride(width) * height);
  const uchar* mask = image.Take(MaskStride(width) * height);

  QImage result(static_cast<int>(width), static_cast<int>(height), QImage::Format_ARGB32);
  for (int y = 0; y < result.height(); ++y) {
    const qint64 stored = height - 1 - y;
    const uchar* colourRow = colours + stored * ColourStride(width);
    const uchar* maskRow = mask + stored * MaskStride(width);
    auto* row = reinterpret_cast<QRgb*>(result.scanLine(y));
    for (int x = 0; x < result.width(); ++x) {
      if (colourRow[x] >= paletteSize) image.Fail(QStringLiteral("couleur hors de la palette"));
      const bool transparent = MaskTransparent(maskRow, x);
      row[x] = transparent ? qRgba(0, 0, 0, 0) : palette[colourRow[x]];
    }
  }
  return result;
}

QByteArray EncodeIco8(const QImage& source) {
  const QImage image = source.convertToFormat(QImage::Format_ARGB32);
  const int width = image.width();
  const int height = image.height();
  if (width < 1 || height < 1 || width > 256 || height > 256) {
    throw TPictureError(QStringLiteral("icône"), SizeRefusal(width, height));
  }

  // Step 1. Palette of the opaque colours, in order of first appearance.
  QList<QRgb> palette{qRgb(0, 0, 0)};  // index 0 also fills the transparent pixels
  QHash<QRgb, int> index{{qRgb(0, 0, 0), 0}};
  QByteArray colourPlane(ColourStride(width) * height, '\0');
  QByteArray maskPlane(MaskStride(width) * height, '\0');
  for (int y = 0; y < height; ++y) {
    const int stored = height - 1 - y;
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      if (qAlpha(row[x]) < 128) {
        maskPlane[stored * MaskStride(width) + x / 8] |= char(0x80 >> (x % 8));
        continue;
      }
      const QRgb colour = qRgb(qRed(row[x]), qGreen(row[x]), qBlue(row[x]));
      auto found = index.constFind(colour);
      if (found == index.constEnd()) {
        if (palette.size() == kPaletteSize) {
          throw TPictureError(QStringLiteral("icône"), QStringLiteral("plus de 256 couleurs"));
        }
        found = index.insert(colour, int(palette.size()));
        palette.append(colour);
      }
      colourPlane[stored * ColourStride(width) + x] = char(found.value());
    }
  }
  while (palette.size() < kPaletteSize) palette.append(qRgb(0, 0, 0));

  // Step 2. Directory, information header, palette, colour plane, mask.
  const qint64 dataSize =
      kInfoHeaderBytes + 4 * kPaletteSize + colourPlane.size() + maskPlane.size();
  QByteArray out;
  PutU16(out, 0);
  PutU16(out, 1);
  PutU16(out, 1);
  out.append(char(width == 256 ? 0 : width));
  out.append(char(height == 256 ? 0 : height));
  out.append('\0');  // 256 colours
  out.append('\0');
  PutU16(out, 1);
  PutU16(out, 8);
  PutU32(out, static_cast<std::uint32_t>(dataSize));
  PutU32(out, kDirectoryBytes + kEntryBytes);
  PutU32(out, kInfoHeaderBytes);
  PutU32(out, static_cast<std::uint32_t>(width));
  PutU32(out, static_cast<std::uint32_t>(2 * height));
  PutU16(out, 1);
  PutU16(out, 8);
  PutU32(out, 0);
  PutU32(out, static_cast<std::uint32_t>(colourPlane.size() + maskPlane.size()));
  PutU32(out, 0);
  PutU32(out, 0);
  PutU32(out, kPaletteSize);
  PutU32(out, 0);
  for (QRgb colour : palette) PutU32(out, colour & 0x00FFFFFFu);
  return out + colourPlane + maskPlane;
}

}  // namespace zerud
