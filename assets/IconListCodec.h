// The icons of the message log, kept as one icon list: equally sized icons
// laid out a fixed number to a row on one colour plane, with a 1-bit mask.
//
// Stored form (all fields little-endian):
//   offset  size  field
//        0     4  magic "ZIL1"
//        4     2  icon count
//        6     2  capacity (icons the planes have room for; >= count)
//        8     2  growth (kept for the record, unused when reading)
//       10     2  icon width
//       12     2  icon height
//       14     2  icons per row
//       16     4  background colour, 0xFFFFFFFF for none
//       20        colour plane: (per row x width) by (rows x height) pixels,
//                 rows = capacity / per row rounded up; top row first, each
//                 pixel the bytes blue, green, red, unused
//                 mask plane, same size, 1 bit per pixel, leftmost pixel in
//                 the highest bit, each row padded to 4 bytes, top row first;
//                 a set bit marks a transparent pixel
// Icon i sits at column i mod per row, row i div per row of both planes.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

namespace zerud {

struct TIconListLayout {
  int capacity = 9;
  int growth = 4;
  int perRow = 4;
};

// Decodes every icon into Format_ARGB32: alpha 0 where the mask bit is set
// (colour cleared too), 255 elsewhere. Throws TPictureError on any header or
// size that does not fit.
QList<QImage> DecodeIconList(const QByteArray& bytes, const QString& name);

// Writes the icons, which must share one size. A pixel whose alpha is below
// 128 becomes transparent.
QByteArray EncodeIconList(const QList<QImage>& icons, const TIconListLayout& layout = {});

}  // namespace zerud
