#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <QWidget>

// The game's three flat buttons. They paint everything themselves on their
// parent's surface (what they leave unpainted shows the parent), never take
// the keyboard focus and show their hint as the widget's tooltip.
//
// A click is delivered on the release of the left button when the press
// started on the button and the release lies inside it; the click comes
// before OnMouseUp. Only the left button changes a button's look; the other
// buttons are left to the parent.
namespace zerud {

// What the two text buttons and the picture button share: the click rule and
// the mouse notifications.
class TButtonControl : public QWidget {
  Q_OBJECT

 public:
  explicit TButtonControl(QWidget* parent = nullptr);

 signals:
  void OnClick();
  void OnMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void OnMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void OnMouseEnter();
  void OnMouseLeave();
  void OnMouseMove(Qt::KeyboardModifiers shift, int x, int y);

 protected:
  // Reactions to the left button and to the pointer, in the order the
  // toolkit delivers them.
  virtual void LeftDown(QMouseEvent* event) = 0;
  virtual void Clicked() = 0;
  virtual void LeftUp(QMouseEvent* event) = 0;
  virtual void Entered() = 0;
  virtual void Left() = 0;

  // True when this button is the topmost widget at the screen position
  // (disabled widgets count).
  bool TopmostAt(const QPoint& globalPos) const;

  // Emits OnMouseDown or OnMouseUp (`signal`) for `event`. Returns false when
  // a handler destroyed the button.
  using TMouseSignal = void (TButtonControl::*)(Qt::MouseButton, Qt::KeyboardModifiers, int, int);
  bool NotifyMouse(TMouseSignal signal, QMouseEvent* event);

  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  bool pressStarted_ = false;
};

// A text button with a flat face and a one-colour frame (and, for
// TEncartaButton, a bevel). Its own Enabled flag does not grey it: when off,
// the button shows no hover or pressed look and calls none of OnClick,
// OnMouseDown, OnMouseUp, but still repaints and shows its hint.
//
// Qt paints only inside paintEvent, so the look a notification chose is kept
// and a later repaint (an expose, grab()) draws that look again instead of
// the normal one; properties that repaint still go back to the normal look.
class TTextButton : public TButtonControl {
  Q_OBJECT

 public:
  enum class TLook { Normal, Hover, Pressed };

  QString Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  QColor Color() const { return color_; }
  void SetColor(const QColor& color);
  QColor ColorBorder() const { return colorBorder_; }
  void SetColorBorder(const QColor& color);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  QColor ColorOverCaption() const { return colorOverCaption_; }
  void SetColorOverCaption(const QColor& color) { colorOverCaption_ = color; }
  QColor ColorOver() const { return colorOver_; }
  void SetColorOver(const QColor& color) { colorOver_ = color; }
  QColor ColorDown() const { return colorDown_; }
  void SetColorDown(const QColor& color) { colorDown_ = color; }

  // The caption's colour in the normal look (the palette's button text).
  QColor FontColor() const;
  void SetFontColor(const QColor& color);

  // The look drawn last.
  TLook Look() const { return look_; }

 protected:
  // A button named `name`; with a parent its caption starts as that name.
  TTextButton(QWidget* parent, const QString& name, const QColor& colorBorder,
              const QColor& colorOver);

  // Draws one look on the whole control.
  virtual void DrawLook(QPainter& painter, TLook look) = 0;

  // Shows a look at once. The normal and hover looks choose the caption
  // colour; the pressed look keeps the one chosen last.
  void ShowLook(TLook look);
  // Property changes: back to the normal look, painted at once or later.
  void RepaintNormal();
  void UpdateNormal();

  QColor FaceColor(TLook look) const;
  QColor CaptionColor(TLook look) const;
  void DrawCaption(QPainter& painter, int x, int y, const QColor& color) const;
  int CaptionWidth() const;
  int CaptionHeight() const;

  void LeftDown(QMouseEvent* event) override;
  void Clicked() override;
  void LeftUp(QMouseEvent* event) override;
  void Entered() override;
  void Left() override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  QString caption_;
  QColor color_;
  QColor colorBorder_;
  bool enabled_ = true;
  QColor colorOverCaption_ = Qt::black;
  QColor colorOver_;
  QColor colorDown_;
  TLook look_ = TLook::Normal;
  QColor pressedCaptionColor_;
};

// Text button with an optional glyph, a one-pixel frame and a bevel: raised
// while hovered, sunken while pressed, where the content also moves one
// pixel right and down.
class TEncartaButton : public TTextButton {
  Q_OBJECT

 public:
  static constexpr int kDefaultWidth = 86;
  static constexpr int kDefaultHeight = 22;
  static inline const QColor kDefaultColorBorder{153, 143, 130};
  static inline const QColor kDefaultColorOver{216, 190, 10};
  static inline const QColor kBevelLight{248, 244, 237};
  static inline const QColor kBevelDark{79, 79, 79};

  explicit TEncartaButton(QWidget* parent = nullptr, const QString& name = {});

  // The glyph's top-left pixel gives its transparent colour. Setting it
  // copies the picture and repaints later.
  QImage Glyph() const { return glyph_; }
  void SetGlyph(const QImage& glyph);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool show);

  QSize sizeHint() const override { return {kDefaultWidth, kDefaultHeight}; }

 protected:
  void DrawLook(QPainter& painter, TLook look) override;

 private:
  QImage glyph_;
  QImage transparentGlyph_;  // the glyph with its transparent colour cleared
  bool showCaption_ = true;
};

// Text button whose caption sits left, right or centred, inside BorderWidth
// nested frames; no bevel, no glyph.
class TSelButton : public TTextButton {
  Q_OBJECT

 public:
  static constexpr int kAlignLeft = 0;
  static constexpr int kAlignRight = 1;
  static constexpr int kAlignCenter = 2;
  static constexpr int kDefaultWidth = 105;
  static constexpr int kDefaultHeight = 20;
  static constexpr int kDefaultPointSize = 8;
  static inline const QColor kDefaultColorBorder{128, 128, 128};
  static inline const QColor kDefaultColorOver{132, 185, 164};
  static inline const QColor kDefaultFontColor{128, 128, 128};

  explicit TSelButton(QWidget* parent = nullptr, const QString& name = {});

  int Alignment() const { return alignment_; }
  void SetAlignment(int alignment);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int width);

  QSize sizeHint() const override { return {kDefaultWidth, kDefaultHeight}; }

 protected:
  void DrawLook(QPainter& painter, TLook look) override;

 private:
  int alignment_ = kAlignLeft;
  int borderWidth_ = 1;
};

// A button made of pictures, one per state; it takes the size of the picture
// it shows. Uses the widget's own enabled state. Every picture is copied when
// set; an empty slot keeps the current picture in that state.
class TImageButton : public TButtonControl {
  Q_OBJECT

 public:
  static constexpr int kDefaultSize = 50;

  explicit TImageButton(QWidget* parent = nullptr, const QString& name = {});

  QImage BitmapOver() const { return bitmapOver_; }
  void SetBitmapOver(const QImage& picture);
  QImage BitmapDown() const { return bitmapDown_; }
  void SetBitmapDown(const QImage& picture);
  // Shown after a release over the button; when empty, BitmapOver is shown
  // there instead. A release elsewhere shows Bitmap.
  QImage BitmapUp() const { return bitmapUp_; }
  void SetBitmapUp(const QImage& picture);
  QImage BitmapDisabled() const { return bitmapDisabled_; }
  void SetBitmapDisabled(const QImage& picture);
  // The normal picture; setting it also shows it and resizes the button.
  QImage Bitmap() const { return bitmap_; }
  void SetBitmap(const QImage& picture);

  // The picture chosen last for display.
  QImage Picture() const { return picture_; }

  bool Enabled() const { return isEnabled(); }
  void SetEnabled(bool enabled) { setEnabled(enabled); }

  QSize sizeHint() const override;

 protected:
  void LeftDown(QMouseEvent* event) override;
  void Clicked() override;
  void LeftUp(QMouseEvent* event) override;
  void Entered() override;
  void Left() override;
  void paintEvent(QPaintEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  // Makes `picture` the current picture, sized to it, painted at once. An
  // empty picture changes nothing.
  void ShowPicture(const QImage& picture);

  QImage bitmapOver_;
  QImage bitmapDown_;
  QImage bitmapUp_;
  QImage bitmapDisabled_;
  QImage bitmap_;
  QImage picture_;
};

}  // namespace zerud
