// BMP pictures of the image buttons: the standard file header (14 bytes) and
// information header (40 bytes), 24 bits per pixel, uncompressed, rows
// bottom-up, each padded to a multiple of four bytes, no transparency.
// The buttons keep each one behind a 4-byte little-endian length.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zerud {

// Decodes a 24-bit uncompressed BMP file (top-down files with a negative
// height are read too) into Format_RGB32. Throws TPictureError on any other
// depth, on compression, or when the pixels do not fit the bytes present.
QImage DecodeBmp(const QByteArray& bytes, const QString& name);

// Decodes a BMP stored behind its 4-byte little-endian length; the length
// must equal the bytes that follow it.
QImage DecodeLengthPrefixedBmp(const QByteArray& bytes, const QString& name);

// Writes the picture as a bottom-up 24-bit BMP (54 + padded rows bytes).
QByteArray EncodeBmp24(const QImage& image);

// The same, behind its 4-byte little-endian length.
QByteArray EncodeLengthPrefixedBmp(const QImage& image);

// Bytes of one row of a 24-bit BMP: three a pixel, padded to 4 bytes.
constexpr qint64 Bmp24RowStride(qint64 width) { return (width * 3 + 3) / 4 * 4; }

// Size of a 24-bit BMP file of the given size: 54 + rows padded to 4 bytes.
constexpr qint64 Bmp24FileSize(qint64 width, qint64 height) {
  return 54 + Bmp24RowStride(width) * height;
}
static_assert(Bmp24FileSize(55, 55) == 9294 && Bmp24FileSize(56, 56) == 9462);

}  // namespace zerud
