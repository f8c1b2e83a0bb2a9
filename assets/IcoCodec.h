// The program icon: a standard icon file holding one picture at 8 bits per
// pixel (256-colour palette) with a 1-bit transparency mask.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace zerud {

// Decodes the first picture of an icon file (8 bits per pixel, uncompressed)
// into Format_ARGB32: mask bit set = transparent (alpha 0), else opaque.
QImage DecodeIco(const QByteArray& bytes, const QString& name);

// Writes one picture as an 8-bit icon. Pixels with alpha below 128 become
// transparent; the opaque ones must use at most 256 distinct colours
// (TPictureError otherwise).
QByteArray EncodeIco8(const QImage& image);

}  // namespace zerud
