// JPEG pictures through libjpeg: the panels, the start-up picture and the
// background read from images/bg.jpg.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace zerud {

// Decodes a JPEG file into Format_RGB32. A truncated, corrupt or non-JPEG
// file, or a picture beyond kMaxPictureSide, throws TPictureError; libjpeg is
// never allowed to end the process, and its warnings about damaged data count
// as errors.
QImage DecodeJpeg(const QByteArray& bytes, const QString& name);

// Writes a baseline JFIF file, 8 bits per sample, three components (YCbCr
// 4:4:4), optimised Huffman tables, at the given quality (1..100). Each
// comment becomes one COM segment after the JFIF header; a comment holds at
// most kMaxJpegCommentBytes bytes.
QByteArray EncodeJpeg(const QImage& image, int quality, const QList<QByteArray>& comments = {});

inline constexpr int kMaxJpegCommentBytes = 65533;

}  // namespace zerud
