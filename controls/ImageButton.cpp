// TImageButton, declared in controls/ButtonComps.h.
#include <QMouseEvent>
#include <QPainter>

#include "controls/ButtonComps.h"
#include "controls/ButtonDrawing.h"

namespace zerud {

TImageButton::TImageButton(QWidget* parent, const QString& name) : TButtonControl(parent) {
  setObjectName(name);
  resize(kDefaultSize, kDefaultSize);
}

QSize TImageButton::sizeHint() const {
  return picture_.isNull() ? QSize(kDefaultSize, kDefaultSize) : picture_.size();
}

void TImageButton::SetBitmapOver(const QImage& picture) {
  bitmapOver_ = picture.copy();
  repaint();
}

void TImageButton::SetBitmapDown(const QImage& picture) {
  bitmapDown_ = picture.copy();
  repaint();
}

void TImageButton::SetBitmapUp(const QImage& picture) {
  bitmapUp_ = picture.copy();
  repaint();
}

void TImageButton::SetBitmapDisabled(const QImage& picture) {
  bitmapDisabled_ = picture.copy();
  if (!isEnabled() && bitmapDisabled_.width() > 0) resize(bitmapDisabled_.size());
  repaint();
}

void TImageButton::SetBitmap(const QImage& picture) {
  bitmap_ = picture.copy();
  picture_ = bitmap_;
  if (bitmap_.width() > 0) resize(bitmap_.size());
  repaint();
}

void TImageButton::ShowPicture(const QImage& picture) {
  if (picture.width() <= 0) return;
  picture_ = picture;
  resize(picture_.size());
  repaint();
}

void TImageButton::LeftDown(QMouseEvent* event) {
  if (!isEnabled() || !NotifyMouse(&TButtonControl::OnMouseDown, event)) return;
  if (bitmapDown_.width() > 0) ShowPicture(bitmapDown_);
}

void TImageButton::Clicked() {
  repaint();
  if (isEnabled()) emit OnClick();
}

void TImageButton::LeftUp(QMouseEvent* event) {
  if (!isEnabled() || !NotifyMouse(&TButtonControl::OnMouseUp, event)) return;
  const bool over = TopmostAt(event->globalPosition().toPoint());
  const QImage& overPicture = bitmapUp_.width() > 0 ? bitmapUp_ : bitmapOver_;
  ShowPicture(over && overPicture.width() > 0 ? overPicture : bitmap_);
}

void TImageButton::Entered() {
  if (!isEnabled()) return;
  if (bitmapOver_.width() > 0) ShowPicture(bitmapOver_);
  emit OnMouseEnter();
}

void TImageButton::Left() {
  if (!isEnabled()) return;
  if (bitmap_.width() > 0) ShowPicture(bitmap_);
  emit OnMouseLeave();
}

void TImageButton::paintEvent(QPaintEvent*) {
  if (picture_.width() == 0) picture_ = bitmap_;
  QPainter painter(this);
  painter.fillRect(rect(), ButtonFace(*this));
  const bool disabledPicture = !isEnabled() && bitmapDisabled_.width() > 0;
  const QImage& shown = disabledPicture ? bitmapDisabled_ : picture_;
  if (shown.isNull()) return;
  // Pictures are opaque: any alpha they carry is ignored.
  painter.drawImage(QPoint(0, 0),
                    shown.hasAlphaChannel() ? shown.convertToFormat(QImage::Format_RGB32) : shown);
}

void TImageButton::changeEvent(QEvent* event) {
  if (event->type() == QEvent::EnabledChange && !isEnabled() && bitmapDisabled_.width() > 0) {
    resize(bitmapDisabled_.size());
  }
  TButtonControl::changeEvent(event);
}

}  // namespace zerud
