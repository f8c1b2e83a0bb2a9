// TTextButton, declared in controls/ButtonComps.h.
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "controls/ButtonComps.h"
#include "controls/ButtonDrawing.h"

namespace zerud {

TTextButton::TTextButton(QWidget* parent, const QString& name, const QColor& colorBorder,
                         const QColor& colorOver)
    : TButtonControl(parent),
      color_(ButtonFace(*this)),
      colorBorder_(colorBorder),
      colorOver_(colorOver),
      colorDown_(colorOver) {
  setObjectName(name);
  if (parent != nullptr) caption_ = name;
}

void TTextButton::SetCaption(const QString& caption) {
  caption_ = caption;
  RepaintNormal();
}

void TTextButton::SetColor(const QColor& color) {
  color_ = color;
  RepaintNormal();
}

void TTextButton::SetColorBorder(const QColor& color) {
  colorBorder_ = color;
  RepaintNormal();
}

QColor TTextButton::FontColor() const { return palette().color(QPalette::ButtonText); }

void TTextButton::SetFontColor(const QColor& color) {
  QPalette pal = palette();
  pal.setColor(QPalette::ButtonText, color);
  setPalette(pal);
}

void TTextButton::ShowLook(TLook look) {
  look_ = look;
  if (look != TLook::Pressed) pressedCaptionColor_ = CaptionColor(look);
  repaint();
}

void TTextButton::RepaintNormal() {
  look_ = TLook::Normal;
  repaint();
}

void TTextButton::UpdateNormal() {
  look_ = TLook::Normal;
  update();
}

QColor TTextButton::FaceColor(TLook look) const {
  switch (look) {
    case TLook::Hover:
      return colorOver_;
    case TLook::Pressed:
      return colorDown_;
    case TLook::Normal:
      break;
  }
  return color_;
}

QColor TTextButton::CaptionColor(TLook look) const {
  switch (look) {
    case TLook::Hover:
      return colorOverCaption_;
    case TLook::Pressed:
      return pressedCaptionColor_.isValid() ? pressedCaptionColor_ : FontColor();
    case TLook::Normal:
      break;
  }
  return FontColor();
}

int TTextButton::CaptionWidth() const { return fontMetrics().horizontalAdvance(caption_); }

int TTextButton::CaptionHeight() const { return fontMetrics().height(); }

// (x, y) is the top-left corner of the caption's cell.
void TTextButton::DrawCaption(QPainter& painter, int x, int y, const QColor& color) const {
  painter.setPen(color);
  painter.drawText(x, y + fontMetrics().ascent(), caption_);
}

void TTextButton::LeftDown(QMouseEvent* event) {
  if (!enabled_ || !NotifyMouse(&TButtonControl::OnMouseDown, event)) return;
  ShowLook(TLook::Pressed);
}

void TTextButton::Clicked() {
  ShowLook(TLook::Normal);
  if (enabled_) emit OnClick();
}

void TTextButton::LeftUp(QMouseEvent* event) {
  if (!enabled_ || !NotifyMouse(&TButtonControl::OnMouseUp, event)) return;
  // Released elsewhere: the pressed look stays until the pointer leaves.
  if (TopmostAt(event->globalPosition().toPoint())) ShowLook(TLook::Hover);
}

void TTextButton::Entered() {
  if (!enabled_) return;
  ShowLook(TLook::Hover);
  emit OnMouseEnter();
}

void TTextButton::Left() {
  ShowLook(TLook::Normal);
  if (enabled_) emit OnMouseLeave();
}

void TTextButton::paintEvent(QPaintEvent*) {
  // Every paint starts from the font's colour (the hover look then sets its
  // own), so a press after a repaint keeps the colour that repaint drew.
  if (look_ != TLook::Pressed) pressedCaptionColor_ = CaptionColor(look_);
  QPainter painter(this);
  painter.setFont(font());
  DrawLook(painter, look_);
}

void TTextButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::PaletteChange) {
    UpdateNormal();
  }
  TButtonControl::changeEvent(event);
}

}  // namespace zerud
