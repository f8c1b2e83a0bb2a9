#pragma once

#include <QFont>
#include <QString>

namespace zerud {

// A font given, as the windows' layouts give it, by its character height in
// pixels. Where the family is not installed (Tahoma seldom is), Liberation
// Sans stands in: its widths are close to those of the Windows fonts the
// captions were measured with, so they fit their controls, where the
// desktop's usual substitute is wide enough to fill the quit confirmation's
// first line to the last pixel.
inline QFont PixelFont(const QString& family, int pixelHeight, bool bold = false) {
  QFont font;
  font.setFamilies({family, QStringLiteral("Liberation Sans")});
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

}  // namespace zerud
