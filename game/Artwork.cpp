#include "game/Artwork.h"

#include "assets/Pictures.h"

namespace zerud {

std::array<QImage, 3> MainButtonPictures(TMainButton button) {
  const auto picture = static_cast<TButtonPicture>(button);
  return {ButtonPicture(picture, TButtonLook::Normal), ButtonPicture(picture, TButtonLook::Over),
          ButtonPicture(picture, TButtonLook::Down)};
}

QImage LeftPanelArt() { return LeftPanelPicture(); }

QImage OptionsPanelArt() { return OptionsPanelPicture(); }

std::array<QImage, 5> ListeBmpArt() {
  std::array<QImage, 5> pictures;
  for (int i = 0; i < kListeBmpCount; ++i) pictures[i] = ListeBmp(i);
  return pictures;
}

std::array<QImage, 4> LogIconArt() {
  std::array<QImage, 4> icons;
  for (int i = 0; i < kLogIconCount; ++i) icons[i] = LogIcon(i);
  return icons;
}

QImage LoadPicture(const QString& path) { return LoadPictureFile(path); }

}  // namespace zerud
