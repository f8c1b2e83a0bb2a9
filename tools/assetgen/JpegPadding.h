// JPEG files of an exact byte count.
#pragma once

#include <QByteArray>
#include <QImage>

namespace zerud::art {

// Encodes the picture as baseline JFIF at the best quality whose file fits in
// the given size, then fills the rest with comment segments so the file is
// exactly that long. Throws TPictureError when even quality 10 is too large.
QByteArray EncodeJpegOfSize(const QImage& image, qsizetype size);

}  // namespace zerud::art
