#include "assets/BmpCodec.h"

#include "assets/ByteReader.h"

namespace zerud {

namespace {
constexpr int kFileHeaderBytes = 14;
constexpr int kInfoHeaderBytes = 40;
constexpr int kLengthBytes = 4;
}  // namespace

QImage DecodeBmp(const QByteArray& bytes, const QString& name) {
  TByteReader reader(bytes, name);
  // Step 1. File header: signature, file size (not trusted), pixel offset.
  if (reader.U8() != 'B' || reader.U8() != 'M')
    reader.Fail(QStringLiteral("signature BMP absente"));
  reader.U32();
  reader.U32();
  const qint64 pixelOffset = reader.U32();

  // Step 2. Information header: only the plain 24-bit, uncompressed kind.
  const qint64 infoSize = reader.U32();
  if (infoSize < kInfoHeaderBytes) reader.Fail(QStringLiteral("en-tête BMP trop court"));
  reader.Require(infoSize - 4);
  const qint64 width = reader.I32();
  const qint64 signedHeight = reader.I32();
  const int planes = reader.U16();
  const int bitCount = reader.U16();
  const std::uint32_t compression = reader.U32();
  if (planes != 1) reader.Fail(QStringLiteral("nombre de plans incorrect"));
  if (bitCount != 24 || compression != 0) {
    reader.Fail(QStringLiteral("seules les images BMP 24 bits non compressées sont lues"));
  }
  const bool bottomUp = signedHeight > 0;
  const qint64 height = bottomUp ? signedHeight : -signedHeight;
  CheckPictureSize(name, width, height);

  // Step 3. The rows must lie wholly inside the file, after the headers.
  if (pixelOffset < kFileHeaderBytes + infoSize) {
    reader.Fail(QStringLiteral("pixels placés dans l'en-tête"));
  }
  const qint64 stride = Bmp24RowStride(width);
  reader.Seek(pixelOffset);
  reader.Require(stride * height);

  // Step 4. Copy the rows, turning bottom-up files the right way round.
  QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
  if (image.isNull()) reader.Fail(QStringLiteral("mémoire insuffisante"));
  for (qint64 stored = 0; stored < height; ++stored) {
    const uchar* src = reader.Take(stride);
    const int y = static_cast<int>(bottomUp ? height - 1 - stored : stored);
    auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x, src += 3) row[x] = qRgb(src[2], src[1], src[0]);
  }
  return image;
}

QImage DecodeLengthPrefixedBmp(const QByteArray& bytes, const QString& name) {
  TByteReader reader(bytes, name);
  const qint64 length = reader.U32();
  if (length != reader.Remaining()) {
    reader.Fail(QStringLiteral("longueur annoncée %1, %2 octets présents")
                    .arg(length)
                    .arg(reader.Remaining()));
  }
  return DecodeBmp(bytes.sliced(kLengthBytes), name);
}

QByteArray EncodeBmp24(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  const qint64 stride = Bmp24RowStride(rgb.width());
  const qint64 fileSize = Bmp24FileSize(rgb.width(), rgb.height());
  QByteArray out;
  out.reserve(fileSize);
  out.append("BM", 2);
  PutU32(out, static_cast<std::uint32_t>(fileSize));
  PutU32(out, 0);
  PutU32(out, kFileHeaderBytes + kInfoHeaderBytes);
  PutU32(out, kInfoHeaderBytes);
  PutU32(out, static_cast<std::uint32_t>(rgb.width()));
  PutU32(out, static_cast<std::uint32_t>(rgb.height()));
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);
  PutU32(out, static_cast<std::uint32_t>(stride * rgb.height()));
  PutU32(out, 2835);  // 72 dots per inch, both ways
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int y = rgb.height() - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    for (int x = 0; x < rgb.width(); ++x) {
      out.append(static_cast<char>(qBlue(row[x])));
      out.append(static_cast<char>(qGreen(row[x])));
      out.append(static_cast<char>(qRed(row[x])));
    }
    out.append(static_cast<qsizetype>(stride - 3 * rgb.width()), '\0');
  }
  return out;
}

QByteArray EncodeLengthPrefixedBmp(const QImage& image) {
  const QByteArray bmp = EncodeBmp24(image);
  QByteArray out;
  PutU32(out, static_cast<std::uint32_t>(bmp.size()));
  return out + bmp;
}

}  // namespace zerud
