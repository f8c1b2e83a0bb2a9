// The stored form of the board's 32-bit pictures (grid overlay and pieces):
//   width  : 32-bit little-endian signed integer
//   height : 32-bit little-endian signed integer
//   width x height pixels, top row first, each row left to right, each pixel
//   the bytes blue, green, red, alpha (colour not premultiplied by alpha).
// Total size 8 + 4 x width x height bytes.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zerud {

// Decodes a stored 32-bit picture into Format_ARGB32 (not premultiplied).
// The size must match the header exactly; throws TPictureError otherwise.
QImage DecodeArgb(const QByteArray& bytes, const QString& name);

// Stores any picture in that form (converted to non-premultiplied ARGB first).
QByteArray EncodeArgb(const QImage& image);

}  // namespace zerud
