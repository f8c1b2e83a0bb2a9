// TEncartaButton, declared in controls/ButtonComps.h.
#include <QPainter>

#include "controls/ButtonComps.h"
#include "controls/ButtonDrawing.h"

namespace zerud {

TEncartaButton::TEncartaButton(QWidget* parent, const QString& name)
    : TTextButton(parent, name, kDefaultColorBorder, kDefaultColorOver) {
  setFont(DefaultButtonFont());
  SetFontColor(Qt::black);
  resize(kDefaultWidth, kDefaultHeight);
}

void TEncartaButton::SetGlyph(const QImage& glyph) {
  glyph_ = glyph.copy();
  if (glyph_.isNull() || glyph_.width() == 0) {
    transparentGlyph_ = QImage();
  } else {
    transparentGlyph_ = glyph_.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = transparentGlyph_.pixel(0, 0) | 0xff000000u;
    for (int y = 0; y < transparentGlyph_.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(transparentGlyph_.scanLine(y));
      for (int x = 0; x < transparentGlyph_.width(); ++x) {
        if ((line[x] | 0xff000000u) == key) line[x] = 0;
      }
    }
  }
  UpdateNormal();
}

void TEncartaButton::SetShowCaption(bool show) {
  showCaption_ = show;
  RepaintNormal();
}

void TEncartaButton::DrawLook(QPainter& painter, TLook look) {
  const int w = width();
  const int h = height();
  const int shift = look == TLook::Pressed ? 1 : 0;  // the pressed content moves right and down
  const QColor captionColor = CaptionColor(look);
  const int tw = CaptionWidth();
  const int th = CaptionHeight();

  // Step 1. The face.
  painter.fillRect(QRect(1, 1, w - 2, h - 2), FaceColor(look));

  // Step 2. Caption and glyph.
  if (transparentGlyph_.isNull()) {
    if (showCaption_)
      DrawCaption(painter, w / 2 - tw / 2 + shift, h / 2 - th / 2 + shift, captionColor);
  } else {
    const int gw = transparentGlyph_.width();
    const int gh = transparentGlyph_.height();
    if (showCaption_) {
      // The glyph is stretched one pixel wider, caption and glyph centred as
      // one block.
      const int left = w / 2 - (gw + tw) / 2 - 1;
      const int top = h / 2 - gh / 2;
      painter.drawImage(
          QPoint(left + shift, top + shift),
          transparentGlyph_.scaled(gw + 1, gh, Qt::IgnoreAspectRatio, Qt::FastTransformation));
      DrawCaption(painter, w / 2 + (gw - tw) / 2 + 4 + shift, h / 2 - th / 2 + shift, captionColor);
    } else {
      painter.drawImage(QPoint(w / 2 - gw / 2 + shift, h / 2 - gh / 2 + shift), transparentGlyph_);
    }
  }

  // Step 3. The frame, then the bevel over it.
  FrameRect(painter, 0, 0, w, h, ColorBorder());
  if (look == TLook::Normal) return;
  const bool raised = look == TLook::Hover;
  const QColor& topLeft = raised ? kBevelLight : kBevelDark;
  const QColor& bottomRight = raised ? kBevelDark : kBevelLight;
  const auto drawTopLeft = [&] {
    DrawLine(painter, {0, h - 2}, {0, 0}, topLeft);
    DrawLine(painter, {0, 0}, {w - 1, 0}, topLeft);
  };
  const auto drawBottomRight = [&] {
    DrawLine(painter, {w - 1, 0}, {w - 1, h}, bottomRight);
    DrawLine(painter, {w, h - 1}, {-1, h - 1}, bottomRight);
  };
  // Raised: light first, then dark; sunken: dark over light the same way.
  if (raised) {
    drawTopLeft();
    drawBottomRight();
  } else {
    drawBottomRight();
    drawTopLeft();
  }
}

}  // namespace zerud
