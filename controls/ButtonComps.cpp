#include "controls/ButtonComps.h"

#include <QApplication>
#include <QEnterEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

namespace zerud {

namespace {

// A horizontal or vertical line from `from` to `to`, the end point itself not
// drawn.
void DrawLine(QPainter& painter, QPoint from, QPoint to, const QColor& color) {
  if (from == to) return;
  if (from.y() == to.y()) {
    const int step = to.x() > from.x() ? 1 : -1;
    const int left = std::min(from.x(), to.x() - step);
    const int right = std::max(from.x(), to.x() - step);
    painter.fillRect(QRect(left, from.y(), right - left + 1, 1), color);
  } else {
    const int step = to.y() > from.y() ? 1 : -1;
    const int top = std::min(from.y(), to.y() - step);
    const int bottom = std::max(from.y(), to.y() - step);
    painter.fillRect(QRect(from.x(), top, 1, bottom - top + 1), color);
  }
}

// A one-pixel frame just inside (left, top, right, bottom), right and bottom
// exclusive.
void FrameRect(QPainter& painter, int left, int top, int right, int bottom, const QColor& color) {
  if (right <= left || bottom <= top) return;
  painter.fillRect(QRect(left, top, right - left, 1), color);
  painter.fillRect(QRect(left, bottom - 1, right - left, 1), color);
  painter.fillRect(QRect(left, top, 1, bottom - top), color);
  painter.fillRect(QRect(right - 1, top, 1, bottom - top), color);
}

QColor ButtonFace(const QWidget& widget) { return widget.palette().color(QPalette::Button); }

// The text buttons' default font: Arial, at the given size or the parent's.
QFont Arial(int pointSize = -1) {
  QFont font;
  font.setFamily(QStringLiteral("Arial"));
  if (pointSize > 0) font.setPointSize(pointSize);
  return font;
}

}  // namespace

// ---------------------------------------------------------------------------
// TButtonControl

TButtonControl::TButtonControl(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setMouseTracking(true);
}

bool TButtonControl::TopmostAt(const QPoint& globalPos) const {
  QWidget* top = QApplication::widgetAt(globalPos);
  if (top == nullptr) {
    // Platforms without window stacking information: look inside our window.
    QWidget* win = window();
    const QPoint pos = win->mapFromGlobal(globalPos);
    if (win->rect().contains(pos)) top = win->childAt(pos);
  }
  return top == this;
}

bool TButtonControl::NotifyMouse(TMouseSignal signal, QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  QPointer<TButtonControl> self(this);
  emit(this->*signal)(event->button(), event->modifiers(), pos.x(), pos.y());
  return !self.isNull();
}

void TButtonControl::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  pressStarted_ = true;
  LeftDown(event);
}

void TButtonControl::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  const bool click = pressStarted_ && rect().contains(event->position().toPoint());
  pressStarted_ = false;
  if (click) {
    // The click handler may close the window or destroy the button.
    QPointer<TButtonControl> self(this);
    Clicked();
    if (!self) return;
  }
  LeftUp(event);
}

void TButtonControl::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  emit OnMouseMove(event->modifiers(), pos.x(), pos.y());
}

void TButtonControl::enterEvent(QEnterEvent*) { Entered(); }

void TButtonControl::leaveEvent(QEvent*) { Left(); }

// ---------------------------------------------------------------------------
// TTextButton

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

// ---------------------------------------------------------------------------
// TEncartaButton

TEncartaButton::TEncartaButton(QWidget* parent, const QString& name)
    : TTextButton(parent, name, kDefaultColorBorder, kDefaultColorOver) {
  setFont(Arial());
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

// ---------------------------------------------------------------------------
// TSelButton

TSelButton::TSelButton(QWidget* parent, const QString& name)
    : TTextButton(parent, name, kDefaultColorBorder, kDefaultColorOver) {
  setFont(Arial(kDefaultPointSize));
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

// ---------------------------------------------------------------------------
// TImageButton

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
