// The generator's JPEG files of an exact byte count.
#include <gtest/gtest.h>

#include "JpegPadding.h"
#include "assets/JpegCodec.h"
#include "assets/PictureError.h"

namespace zerud::art {
namespace {

QImage Smooth() {
  QImage image(48, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 48; ++x) image.setPixel(x, y, qRgb(x * 5, y * 7, 200 - x - y));
  }
  return image;
}

TEST(JpegPadding, HitsEveryByteCountAroundTheSegmentLimits) {
  const QImage image = Smooth();
  const qsizetype best = EncodeJpeg(image, 100).size();
  // No room (the file itself), too little room for a segment (quality goes
  // down), one segment, just over one segment, several segments.
  const qsizetype extras[] = {0,     1,     2,     3,     4,      5,      100,   65537,
                              65538, 65540, 65541, 65542, 131074, 131075, 200003};
  for (const qsizetype extra : extras) {
    SCOPED_TRACE(extra);
    const QByteArray jpeg = EncodeJpegOfSize(image, best + extra);
    EXPECT_EQ(jpeg.size(), best + extra);
    EXPECT_EQ(DecodeJpeg(jpeg, "t").size(), image.size());
  }
  EXPECT_THROW(EncodeJpegOfSize(image, 200), TPictureError);
}

}  // namespace
}  // namespace zerud::art
