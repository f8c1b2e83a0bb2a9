// The error raised by every picture decoder of the game.
#pragma once

#include <QString>

#include "rules/Errors.h"

namespace zerud {

// A picture could not be decoded. what() reads
// "L'image \"<name>\" est illisible : <reason>", the reason in French.
class TPictureError : public TGameError {
 public:
  TPictureError(const QString& name, const QString& reason);
};

// Largest picture any decoder accepts: enough for a photograph as the
// background, small enough that a forged header never makes us allocate
// more than 100 MB.
inline constexpr int kMaxPictureSide = 10000;
inline constexpr qint64 kMaxPicturePixels = 25'000'000;

// True when 1 <= width, height <= kMaxPictureSide and the pixel count stays
// within kMaxPicturePixels.
constexpr bool PictureSizeAcceptable(qint64 width, qint64 height) {
  return width >= 1 && height >= 1 && width <= kMaxPictureSide && height <= kMaxPictureSide &&
         width * height <= kMaxPicturePixels;
}

// The reason given when a picture's size is refused.
QString SizeRefusal(qint64 width, qint64 height);

// Throws TPictureError unless 1 <= width, height <= kMaxPictureSide and the
// pixel count stays within kMaxPicturePixels.
void CheckPictureSize(const QString& name, qint64 width, qint64 height);

}  // namespace zerud
