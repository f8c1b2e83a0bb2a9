// TSelButton, declared in controls/ButtonComps.h.
#include <QPainter>

#include "controls/ButtonComps.h"
#include "controls/ButtonDrawing.h"

namespace zerud {

TSelButton::TSelButton(QWidget* parent, const QString& name)
    : TTextButton(parent, name, kDefaultColorBorder, kDefaultColorOver) {
  setFont(DefaultButtonFont(kDefaultPointSize));
  SetFontColor(kDefaultFontColor);
  resize(kDefaultWidth, kDefaultHeight);
}

void TSelButton::SetAlignment(int alignment) {
  alignment_ = alignment;
  RepaintNormal();
}

void TSelButton::SetBorderWidth(int width) {
  borderWidth_ = width;
  RepaintNormal();
}

void TSelButton::DrawLook(QPainter& painter, TLook look) {
  const int w = width();
  const int h = height();
  const bool pressed = look == TLook::Pressed;
  const int tw = CaptionWidth();
  const int th = CaptionHeight();

  painter.fillRect(QRect(1, 1, w - 2, h - 2), FaceColor(look));

  // Pressed, the caption moves one pixel down and one pixel away from the
  // side it is aligned to (right for left and centre alignment).
  int x = 0;
  switch (alignment_) {
    case kAlignRight:
      x = w - tw - 6 - (pressed ? 1 : 0);
      break;
    case kAlignCenter:
      x = w / 2 - tw / 2 + (pressed ? 1 : 0);
      break;
    default:
      x = 5 + (pressed ? 1 : 0);
      break;
  }
  DrawCaption(painter, x, h / 2 - th / 2 + (pressed ? 1 : 0), CaptionColor(look));

  for (int i = 0; i < borderWidth_; ++i) FrameRect(painter, i, i, w - i, h - i, ColorBorder());
}

}  // namespace zerud
