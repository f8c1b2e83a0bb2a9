#include "game/window/HighContrast.h"

#include "assets/Pictures.h"
#include "game/window/GameParts.h"

namespace zerud {

THighContrast::THighContrast(TGameParts& parts, std::function<void(bool)> alsoSwitch,
                             QObject* parent)
    : QObject(parent), parts_(parts), alsoSwitch_(std::move(alsoSwitch)) {}

// The holes show the background: black in this style, so an empty hole
// stands out from the white grid and from every piece.
void THighContrast::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  parts_.Settings.Opaque = on;
  if (on) {
    background_ = parts_.Img->Picture();
    QImage black(parts_.Img->size(), QImage::Format_RGB32);
    black.fill(Qt::black);
    parts_.Img->SetPicture(black);
  } else {
    parts_.Img->SetPicture(background_);
    background_ = QImage();
  }
  if (parts_.Board) {
    TBoardPictures pictures;
    for (int i = 0; i < kListeBmpCount; ++i) pictures[i] = ListeBmp(i, on);
    parts_.Board->SetPictures(pictures);
    parts_.Board->ApplyOpacity();
  }
  if (alsoSwitch_) alsoSwitch_(on);
  emit Switched(on);
}

void THighContrast::Choose(bool on) {
  chosen_ = on;
  SetOn(on);
}

}  // namespace zerud
