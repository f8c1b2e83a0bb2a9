#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <memory>

#include "controls/ButtonComps.h"

using zerud::TEncartaButton;
using zerud::TImageButton;
using zerud::TSelButton;
using zerud::TTextButton;
using TLook = TTextButton::TLook;

namespace {

// The parent's colour: wherever a button paints nothing, this shows.
const QColor kParentColor(255, 0, 255);

// Plain colours far from each other, so every painted pixel says who drew it.
const QColor kFace(250, 250, 250);
const QColor kOver(0, 200, 0);
const QColor kDown(0, 120, 255);
const QColor kBorder(200, 100, 0);
const QColor kFontColor(0, 0, 160);
const QColor kOverCaption(190, 0, 0);
const QColor kGlyphColor(255, 200, 0);
const QColor kGlyphKey(10, 20, 30);
const QColor kLight(248, 244, 237);
const QColor kDark(79, 79, 79);

// Bounding box of the pixels of exactly this colour.
QRect Box(const QImage& image, const QColor& color) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixelColor(x, y) == color) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

// Every pixel of the outermost ring, with the colour `expected` gives it.
void CheckEdge(const QImage& image, const std::function<QColor(int x, int y)>& expected) {
  const int w = image.width();
  const int h = image.height();
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (x != 0 && y != 0 && x != w - 1 && y != h - 1) continue;
      QVERIFY2(image.pixelColor(x, y) == expected(x, y),
               qPrintable(QStringLiteral("edge pixel (%1, %2)").arg(x).arg(y)));
    }
  }
}

QImage Filled(int w, int h, const QColor& color) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

// A 10 x 8 glyph: all kGlyphColor but its top-left pixel, the transparent key.
QImage Glyph() {
  QImage glyph = Filled(10, 8, kGlyphColor);
  glyph.setPixelColor(0, 0, kGlyphKey);
  return glyph;
}

// Where a caption drawn with its cell's top-left corner at (x, y) puts ink.
QRect ExpectedInk(const QWidget* button, const QString& caption, int x, int y) {
  const QFontMetrics fm = button->fontMetrics();
  return fm.tightBoundingRect(caption).translated(x, y + fm.ascent());
}

// Ink boxes agree within the rasteriser's rounding.
bool Near(const QRect& a, const QRect& b) {
  return std::abs(a.left() - b.left()) <= 1 && std::abs(a.right() - b.right()) <= 1 &&
         std::abs(a.top() - b.top()) <= 1 && std::abs(a.bottom() - b.bottom()) <= 1;
}

}  // namespace

class ButtonCompsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QWidget> parent_;

  // What the screen shows of the button, parent included where it shows.
  QImage Grab(QWidget* button) {
    return parent_->grab(button->geometry()).toImage().convertToFormat(QImage::Format_RGB32);
  }

  template <typename T>
  T* Make(int w, int h) {
    auto* button = new T(parent_.get(), QStringLiteral("bnEssai"));
    button->setGeometry(10, 10, w, h);
    button->show();
    return button;
  }

  // Known colours and an unsmoothed font, so caption pixels are exact.
  template <typename T>
  T* MakeText(int w, int h, const QString& caption) {
    T* button = Make<T>(w, h);
    button->SetColor(kFace);
    button->SetColorOver(kOver);
    button->SetColorDown(kDown);
    button->SetColorBorder(kBorder);
    button->SetFontColor(kFontColor);
    button->SetColorOverCaption(kOverCaption);
    QFont font(QStringLiteral("Tahoma"));
    font.setPixelSize(13);
    font.setStyleStrategy(QFont::NoAntialias);
    button->setFont(font);
    button->SetCaption(caption);
    return button;
  }

  // Moves the pointer onto the button from outside it (a move to where the
  // pointer already is delivers nothing).
  void Enter(QWidget* w) {
    Leave();
    QTest::mouseMove(w, QPoint(3, 3));
  }
  void Leave() { QTest::mouseMove(parent_.get(), QPoint(290, 190)); }

  // Records the order of the button's notifications.
  static QStringList* Record(zerud::TButtonControl* button, QObject* context) {
    auto* events = new QStringList;
    connect(context, &QObject::destroyed, [events] { delete events; });
    connect(button, &zerud::TButtonControl::OnMouseDown, context,
            [events](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
              *events << QStringLiteral("down %1,%2").arg(x).arg(y);
            });
    connect(button, &zerud::TButtonControl::OnClick, context, [events] { *events << "click"; });
    connect(button, &zerud::TButtonControl::OnMouseUp, context,
            [events](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
              *events << QStringLiteral("up %1,%2").arg(x).arg(y);
            });
    return events;
  }

 private slots:
  void init() {
    parent_ = std::make_unique<QWidget>();
    parent_->resize(300, 200);
    QPalette pal = parent_->palette();
    pal.setColor(QPalette::Window, kParentColor);
    parent_->setPalette(pal);
    parent_->setAutoFillBackground(true);
    parent_->show();
    QVERIFY(QTest::qWaitForWindowExposed(parent_.get()));
    QTest::mouseMove(parent_.get(), QPoint(1, 1));
  }
  // A test that failed halfway may have left the mouse button down.
  void cleanup() {
    QTest::mouseRelease(parent_.get(), Qt::LeftButton, {}, QPoint(1, 1));
    parent_.reset();
  }

  void defaults() {
    const QColor face = QApplication::palette().color(QPalette::Button);

    TEncartaButton encarta;
    QCOMPARE(encarta.size(), QSize(86, 22));
    QCOMPARE(encarta.Color(), face);
    QCOMPARE(encarta.ColorBorder(), QColor(153, 143, 130));
    QCOMPARE(encarta.ColorOver(), QColor(216, 190, 10));
    QCOMPARE(encarta.ColorDown(), QColor(216, 190, 10));
    QCOMPARE(encarta.ColorOverCaption(), QColor(Qt::black));
    QCOMPARE(encarta.FontColor(), QColor(Qt::black));
    QCOMPARE(encarta.font().family(), QStringLiteral("Arial"));
    QVERIFY(encarta.ShowCaption());
    QVERIFY(encarta.Enabled());
    QVERIFY(encarta.Glyph().isNull());

    TSelButton sel;
    QCOMPARE(sel.size(), QSize(105, 20));
    QCOMPARE(sel.Color(), face);
    QCOMPARE(sel.ColorBorder(), QColor(128, 128, 128));
    QCOMPARE(sel.ColorOver(), QColor(132, 185, 164));
    QCOMPARE(sel.ColorDown(), QColor(132, 185, 164));
    QCOMPARE(sel.ColorOverCaption(), QColor(Qt::black));
    QCOMPARE(sel.FontColor(), QColor(128, 128, 128));
    QCOMPARE(sel.font().family(), QStringLiteral("Arial"));
    QCOMPARE(sel.font().pointSize(), 8);
    QCOMPARE(sel.Alignment(), TSelButton::kAlignLeft);
    QCOMPARE(sel.BorderWidth(), 1);

    TImageButton image;
    QCOMPARE(image.size(), QSize(50, 50));
    QVERIFY(image.Bitmap().isNull());
  }

  // With a parent, a text button's caption starts as its name.
  void captionStartsAsNameWithParent() {
    TSelButton withParent(parent_.get(), QStringLiteral("bnFermer"));
    QCOMPARE(withParent.Caption(), QStringLiteral("bnFermer"));
    QCOMPARE(withParent.objectName(), QStringLiteral("bnFermer"));
    TEncartaButton alone(nullptr, QStringLiteral("bnOui"));
    QCOMPARE(alone.Caption(), QString());
    QCOMPARE(alone.objectName(), QStringLiteral("bnOui"));
  }

  // ---- TEncartaButton looks

  void encartaNormalLook() {
    auto* b = MakeText<TEncartaButton>(86, 22, QString());
    const QImage image = Grab(b);
    CheckEdge(image, [](int, int) { return kBorder; });
    QCOMPARE(Box(image, kFace), QRect(1, 1, 84, 20));
  }

  // Raised while hovered: light on the left and top, dark on the right and
  // bottom; sunken while pressed, the same pixels with the colours swapped.
  void encartaBevels() {
    auto* b = MakeText<TEncartaButton>(86, 22, QString());
    const int w = 86;
    const int h = 22;
    const auto lightWhenRaised = [&](int x, int y) {
      return (x == 0 && y <= h - 2) || (y == 0 && x <= w - 2);
    };
    Enter(b);
    QCOMPARE(b->Look(), TLook::Hover);
    const QImage hover = Grab(b);
    CheckEdge(hover, [&](int x, int y) { return lightWhenRaised(x, y) ? kLight : kDark; });
    QCOMPARE(Box(hover, kOver), QRect(1, 1, 84, 20));

    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(b->Look(), TLook::Pressed);
    const QImage pressed = Grab(b);
    CheckEdge(pressed, [&](int x, int y) { return lightWhenRaised(x, y) ? kDark : kLight; });
    QCOMPARE(Box(pressed, kDown), QRect(1, 1, 84, 20));
    // Spot checks of the corners where the lines meet.
    QCOMPARE(hover.pixelColor(0, h - 1), kDark);
    QCOMPARE(hover.pixelColor(w - 1, 0), kDark);
    QCOMPARE(pressed.pixelColor(0, 0), kDark);
    QCOMPARE(pressed.pixelColor(w - 1, h - 1), kLight);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
  }

  void encartaCaptionPlacesAndColours() {
    const QString caption = QStringLiteral("Oui");
    auto* b = MakeText<TEncartaButton>(86, 22, caption);
    const QFontMetrics fm = b->fontMetrics();
    const int x = 86 / 2 - fm.horizontalAdvance(caption) / 2;
    const int y = 22 / 2 - fm.height() / 2;

    const QImage normal = Grab(b);
    const QRect normalInk = Box(normal, kFontColor);
    QVERIFY2(Near(normalInk, ExpectedInk(b, caption, x, y)), "caption centred");

    Enter(b);
    const QImage hover = Grab(b);
    QCOMPARE(Box(hover, kOverCaption), normalInk);
    QVERIFY(Box(hover, kFontColor).isNull());

    // Pressed: the caption keeps the hover colour and moves by (1, 1).
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage pressed = Grab(b);
    QCOMPARE(Box(pressed, kOverCaption), normalInk.translated(1, 1));
    QVERIFY(Box(pressed, kFontColor).isNull());

    // The click draws the normal look, the release over it the hover look.
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(b->Look(), TLook::Hover);
    QCOMPARE(Box(Grab(b), kOverCaption), normalInk);

    // A property that repaints draws the caption in the font's colour again;
    // the next press keeps that colour.
    b->SetCaption(caption);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(Box(Grab(b), kFontColor), normalInk.translated(1, 1));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
  }

  void encartaCaptionWiderThanButtonIsClipped() {
    auto* b = MakeText<TEncartaButton>(40, 22, QStringLiteral("WWWWWWWWWWWWWWWWWWWW"));
    const QImage image = Grab(b);
    CheckEdge(image, [](int, int) { return kBorder; });
    const QRect ink = Box(image, kFontColor);
    QVERIFY(ink.left() <= 2);
    QVERIFY(ink.right() >= 37);
  }

  // The glyph alone sits centred at its own size; its key colour shows the face.
  void encartaGlyphAlone() {
    auto* b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    b->SetGlyph(Glyph());
    b->SetShowCaption(false);
    const QImage normal = Grab(b);
    QCOMPARE(Box(normal, kGlyphColor), QRect(38, 7, 10, 8));
    QCOMPARE(normal.pixelColor(38, 7), kFace);
    QVERIFY(Box(normal, kFontColor).isNull());

    Enter(b);
    QCOMPARE(Grab(b).pixelColor(38, 7), kOver);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage pressed = Grab(b);
    QCOMPARE(Box(pressed, kGlyphColor), QRect(39, 8, 10, 8));
    QCOMPARE(pressed.pixelColor(39, 8), kDown);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
  }

  // With a caption the glyph is stretched one pixel wider, and glyph and
  // caption are centred as one block.
  void encartaGlyphWithCaption() {
    const QString caption = QStringLiteral("Oui");
    auto* b = MakeText<TEncartaButton>(86, 22, caption);
    b->SetGlyph(Glyph());
    const int tw = b->fontMetrics().horizontalAdvance(caption);
    const int th = b->fontMetrics().height();
    const int left = 86 / 2 - (10 + tw) / 2 - 1;
    const int top = 22 / 2 - 8 / 2;
    const int captionX = 86 / 2 + (10 - tw) / 2 + 4;
    const int captionY = 22 / 2 - th / 2;

    const QImage normal = Grab(b);
    QCOMPARE(Box(normal, kGlyphColor), QRect(left, top, 11, 8));
    QCOMPARE(normal.pixelColor(left, top), kFace);
    const QRect ink = Box(normal, kFontColor);
    QVERIFY2(Near(ink, ExpectedInk(b, caption, captionX, captionY)), "caption beside the glyph");

    Enter(b);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage pressed = Grab(b);
    QCOMPARE(Box(pressed, kGlyphColor), QRect(left + 1, top + 1, 11, 8));
    QCOMPARE(Box(pressed, kOverCaption), ink.translated(1, 1));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
  }

  // ---- TSelButton looks

  void selBorderWidth_data() {
    QTest::addColumn<int>("borderWidth");
    QTest::newRow("none") << 0;
    QTest::newRow("one") << 1;
    QTest::newRow("three") << 3;
  }
  void selBorderWidth() {
    QFETCH(int, borderWidth);
    auto* b = MakeText<TSelButton>(105, 20, QString());
    b->SetBorderWidth(borderWidth);
    const QImage image = Grab(b);
    // Without a frame the outermost ring is not painted: the parent shows.
    const QColor outer = borderWidth > 0 ? kBorder : kParentColor;
    CheckEdge(image, [&](int, int) { return outer; });
    for (int i = 1; i < 6; ++i) {
      const QColor expected = i < borderWidth ? kBorder : kFace;
      QCOMPARE(image.pixelColor(i, 10), expected);
      QCOMPARE(image.pixelColor(104 - i, 10), expected);
      QCOMPARE(image.pixelColor(50, i), expected);
      QCOMPARE(image.pixelColor(50, 19 - i), expected);
      QCOMPARE(image.pixelColor(i, i), expected);
    }
  }

  // Hovered and pressed, the frame stays plain: no bevel.
  void selHasNoBevel() {
    auto* b = MakeText<TSelButton>(105, 20, QString());
    Enter(b);
    const QImage hover = Grab(b);
    CheckEdge(hover, [](int, int) { return kBorder; });
    QCOMPARE(Box(hover, kOver), QRect(1, 1, 103, 18));
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    const QImage pressed = Grab(b);
    CheckEdge(pressed, [](int, int) { return kBorder; });
    QCOMPARE(Box(pressed, kDown), QRect(1, 1, 103, 18));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
  }

  void selCaptionAlignment_data() {
    QTest::addColumn<int>("alignment");
    QTest::addColumn<int>("pressedDx");
    QTest::newRow("left") << int(TSelButton::kAlignLeft) << 1;
    QTest::newRow("right") << int(TSelButton::kAlignRight) << -1;
    QTest::newRow("centre") << int(TSelButton::kAlignCenter) << 1;
  }
  void selCaptionAlignment() {
    QFETCH(int, alignment);
    QFETCH(int, pressedDx);
    const QString caption = QStringLiteral("Fermer");
    auto* b = MakeText<TSelButton>(105, 20, caption);
    b->SetAlignment(alignment);
    const int tw = b->fontMetrics().horizontalAdvance(caption);
    const int y = 20 / 2 - b->fontMetrics().height() / 2;
    const int x = alignment == TSelButton::kAlignLeft    ? 5
                  : alignment == TSelButton::kAlignRight ? 105 - tw - 6
                                                         : 105 / 2 - tw / 2;
    const QRect ink = Box(Grab(b), kFontColor);
    QVERIFY2(Near(ink, ExpectedInk(b, caption, x, y)), "caption placed by its alignment");

    Enter(b);
    QCOMPARE(Box(Grab(b), kOverCaption), ink);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(Box(Grab(b), kOverCaption), ink.translated(pressedDx, 1));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
  }

  // ---- behaviour shared by the text buttons

  void clickComesBeforeMouseUp() {
    auto* b = MakeText<TSelButton>(105, 20, QStringLiteral("Envoyer"));
    QStringList* events = Record(b, b);
    Enter(b);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(7, 4));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(8, 5));
    QCOMPARE(*events, QStringList({"down 7,4", "click", "up 8,5"}));
  }

  void releaseOutsideGivesNoClickAndDrawsNothing() {
    auto* b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    QStringList* events = Record(b, b);
    Enter(b);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(120, 5));
    QCOMPARE(*events, QStringList({"down 5,5", "up 120,5"}));
    QCOMPARE(b->Look(), TLook::Pressed);
    Leave();
    QCOMPARE(b->Look(), TLook::Normal);
  }

  void pressStartedElsewhereGivesNoClick() {
    auto* b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    QStringList* events = Record(b, b);
    QTest::mousePress(parent_.get(), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseRelease(parent_.get(), Qt::LeftButton, {}, QPoint(20, 20));
    // Even a release handed to the button itself is no click without a press.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 10),
                        b->mapToGlobal(QPointF(10, 10)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(b, &release);
    QCOMPARE(*events, QStringList({"up 10,10"}));
  }

  void otherButtonsChangeNothing() {
    auto* b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    QStringList* events = Record(b, b);
    Enter(b);
    QTest::mousePress(b, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(b->Look(), TLook::Hover);
    QTest::mouseRelease(b, Qt::RightButton, {}, QPoint(5, 5));
    QCOMPARE(b->Look(), TLook::Hover);
    QVERIFY(events->isEmpty());
  }

  // A release inside the button but under another control clicks, then
  // leaves the normal look drawn by the click (disabled controls count).
  void releaseUnderAnotherControlKeepsNormalLook() {
    auto* b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    auto* cover = new QWidget(parent_.get());
    cover->setGeometry(60, 10, 36, 22);
    cover->setEnabled(false);
    cover->show();
    QStringList* events = Record(b, b);
    Enter(b);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(70, 5));
    QCOMPARE(*events, QStringList({"down 5,5", "click", "up 70,5"}));
    QCOMPARE(b->Look(), TLook::Normal);
  }

  // The own Enabled flag off: nothing greys, the hint stays, enter, press and
  // release do nothing, the click repaints without OnClick, leave repaints.
  void ownEnabledFlagOff() {
    auto* b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    b->setToolTip(QStringLiteral("Confirmer"));
    QStringList* events = Record(b, b);
    b->SetEnabled(false);
    QVERIFY(b->isEnabled());
    QCOMPARE(b->toolTip(), QStringLiteral("Confirmer"));

    Enter(b);
    QCOMPARE(b->Look(), TLook::Normal);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(b->Look(), TLook::Normal);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(b->Look(), TLook::Normal);
    QVERIFY(events->isEmpty());
    const QImage image = Grab(b);
    CheckEdge(image, [](int, int) { return kBorder; });
    QVERIFY(!Box(image, kFontColor).isNull());

    // Switched off while hovered: leaving still draws the normal look.
    b->SetEnabled(true);
    Leave();
    Enter(b);
    QCOMPARE(b->Look(), TLook::Hover);
    b->SetEnabled(false);
    Leave();
    QCOMPARE(b->Look(), TLook::Normal);
  }

  // Properties that repaint go back to the normal look; plain stores do not
  // touch what is shown.
  void repaintingPropertiesDrawTheNormalLook() {
    auto* b = MakeText<TSelButton>(105, 20, QStringLiteral("Oui"));
    Enter(b);
    b->SetColorOver(kDown);
    b->SetColorDown(kOver);
    b->SetColorOverCaption(kFontColor);
    QCOMPARE(b->Look(), TLook::Hover);
    b->SetCaption(QStringLiteral("Non"));
    QCOMPARE(b->Look(), TLook::Normal);
    QCOMPARE(Box(Grab(b), kFace), QRect(1, 1, 103, 18));
  }

  // ---- TImageButton

  void imageButtonFollowsItsPictures() {
    auto* b = Make<TImageButton>(50, 50);
    QImage normal = Filled(55, 55, QColor(200, 0, 0));
    normal.setPixelColor(54, 54, QColor(0, 0, 0));
    const QImage over = Filled(56, 56, QColor(0, 200, 0));
    const QImage down = Filled(53, 53, QColor(0, 0, 200));
    b->SetBitmapOver(over);
    b->SetBitmapDown(down);
    QCOMPARE(b->size(), QSize(50, 50));  // only Bitmap resizes
    b->SetBitmap(normal);
    QCOMPARE(b->size(), QSize(55, 55));
    QCOMPARE(Grab(b), normal);

    QStringList* events = Record(b, b);
    Enter(b);
    QCOMPARE(b->size(), QSize(56, 56));
    QCOMPARE(Grab(b), over);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(b->size(), QSize(53, 53));
    QCOMPARE(Grab(b), down);
    // Without BitmapUp, a release over the button shows BitmapOver.
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(b->size(), QSize(56, 56));
    QCOMPARE(Grab(b), over);
    QCOMPARE(*events, QStringList({"down 5,5", "click", "up 5,5"}));
    Leave();
    QCOMPARE(b->size(), QSize(55, 55));
    QCOMPARE(Grab(b), normal);
  }

  void imageButtonRelease_data() {
    QTest::addColumn<bool>("withUp");
    QTest::addColumn<QPoint>("release");
    QTest::addColumn<int>("shownSize");
    QTest::addColumn<bool>("clicked");
    QTest::newRow("BitmapUp, inside") << true << QPoint(5, 5) << 54 << true;
    QTest::newRow("BitmapUp, outside") << true << QPoint(150, 5) << 55 << false;
    QTest::newRow("no BitmapUp, outside") << false << QPoint(150, 5) << 55 << false;
  }
  void imageButtonRelease() {
    QFETCH(bool, withUp);
    QFETCH(QPoint, release);
    QFETCH(int, shownSize);
    QFETCH(bool, clicked);
    auto* b = Make<TImageButton>(50, 50);
    b->SetBitmap(Filled(55, 55, Qt::red));
    b->SetBitmapOver(Filled(56, 56, Qt::green));
    b->SetBitmapDown(Filled(53, 53, Qt::blue));
    if (withUp) b->SetBitmapUp(Filled(54, 54, Qt::cyan));
    QSignalSpy clicks(b, &TImageButton::OnClick);
    Enter(b);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseRelease(b, Qt::LeftButton, {}, release);
    QCOMPARE(b->size(), QSize(shownSize, shownSize));
    QCOMPARE(b->Picture().size(), QSize(shownSize, shownSize));
    QCOMPARE(clicks.count(), clicked ? 1 : 0);
  }

  // Empty slots keep the current picture.
  void imageButtonWithoutOverOrDownKeepsItsPicture() {
    auto* b = Make<TImageButton>(50, 50);
    const QImage normal = Filled(55, 55, Qt::red);
    b->SetBitmap(normal);
    Enter(b);
    QCOMPARE(Grab(b), normal);
    QTest::mousePress(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(Grab(b), normal);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(Grab(b), normal);
  }

  void imageButtonDisabled() {
    auto* b = Make<TImageButton>(50, 50);
    const QImage normal = Filled(55, 55, Qt::red);
    const QImage over = Filled(56, 56, Qt::green);
    b->SetBitmap(normal);
    b->SetBitmapOver(over);
    Enter(b);

    // No disabled picture: the current one stays, at its size.
    b->SetEnabled(false);
    QCOMPARE(b->size(), QSize(56, 56));
    QCOMPARE(Grab(b), over);
    QSignalSpy clicks(b, &TImageButton::OnClick);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 0);

    const QImage disabled = Filled(40, 40, Qt::gray);
    b->SetBitmapDisabled(disabled);
    QCOMPARE(b->size(), QSize(40, 40));
    QCOMPARE(Grab(b), disabled);

    b->SetEnabled(true);
    Leave();
    QCOMPARE(b->size(), QSize(55, 55));
    QCOMPARE(Grab(b), normal);
    b->SetEnabled(false);
    QCOMPARE(b->size(), QSize(40, 40));
  }

  // The face shows where there is no picture; pictures are drawn opaque.
  void imageButtonFaceAndOpaquePictures() {
    auto* b = Make<TImageButton>(50, 50);
    const QColor face = b->palette().color(QPalette::Button);
    QCOMPARE(Box(Grab(b), face), QRect(0, 0, 50, 50));

    QImage seeThrough(30, 20, QImage::Format_ARGB32);
    seeThrough.fill(QColor(0, 0, 200, 0));
    b->SetBitmap(seeThrough);
    QCOMPARE(Box(Grab(b), QColor(0, 0, 200)), QRect(0, 0, 30, 20));
  }
};

QTEST_MAIN(ButtonCompsTest)
#include "ButtonCompsTest.moc"
