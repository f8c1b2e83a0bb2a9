#include "JpegPadding.h"

#include <QList>

#include "assets/JpegCodec.h"
#include "assets/PictureError.h"

namespace zerud::art {

namespace {
// A COM segment costs its marker and length field (4 bytes) besides its text.
constexpr qsizetype kSegmentOverhead = 4;
constexpr int kMinQuality = 10;

QList<QByteArray> Filler(qsizetype bytes) {
  QList<QByteArray> comments;
  const QByteArray signature("Zerud uravizera4 ");
  while (bytes > 0) {
    qsizetype text = std::min<qsizetype>(bytes - kSegmentOverhead, kMaxJpegCommentBytes);
    // Never leave a remainder too small for a segment of its own.
    const qsizetype rest = bytes - (text + kSegmentOverhead);
    if (rest > 0 && rest < kSegmentOverhead) text -= kSegmentOverhead;
    QByteArray comment = signature.left(text);
    comment.append(text - comment.size(), ' ');
    comments.append(comment);
    bytes -= text + kSegmentOverhead;
  }
  return comments;
}
}  // namespace

QByteArray EncodeJpegOfSize(const QImage& image, qsizetype size) {
  for (int quality = 100; quality >= kMinQuality; --quality) {
    const QByteArray plain = EncodeJpeg(image, quality);
    const qsizetype missing = size - plain.size();
    if (missing == 0) return plain;
    if (missing >= kSegmentOverhead) return EncodeJpeg(image, quality, Filler(missing));
  }
  throw TPictureError(QStringLiteral("JPEG"), QStringLiteral("taille visée trop petite"));
}

}  // namespace zerud::art
