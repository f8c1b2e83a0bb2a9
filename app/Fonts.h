#pragma once

#include <QFont>
#include <QString>

namespace zerud {

// A font given, as the windows' layouts give it, by its character height in
// pixels.
inline QFont PixelFont(const QString& family, int pixelHeight) {
  QFont font(family);
  font.setPixelSize(pixelHeight);
  return font;
}

}  // namespace zerud
