#include <QApplication>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <functional>
#include <map>
#include <memory>

#include "controls/ButtonComps.h"

using zerud::TEncartaButton;
using zerud::TImageButton;
using zerud::TSelButton;
using zerud::TTextButton;
using TLook = TTextButton::TLook;

namespace {

// Colours far from each other, so every pixel says who drew it; the parent's
// colour shows wherever a button paints nothing.
const QColor kParentColor(255, 0, 255);
const QColor kFace(250, 250, 250);
const QColor kOver(0, 200, 0);
const QColor kDown(0, 120, 255);
const QColor kBorder(200, 100, 0);
const QColor kFontColor(0, 0, 160);
const QColor kOverCaption(190, 0, 0);
const QColor kGlyphColor(255, 200, 0);
const QColor kLight(248, 244, 237);
const QColor kDark(79, 79, 79);

// Bounding box of the pixels of exactly this colour.
QRect Box(const QImage& image, const QColor& color) {
  QRect box;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y) == color) box |= QRect(x, y, 1, 1);
  return box;
}

// Every pixel of the outermost ring, with the colour `expected` gives it.
void CheckEdge(const QImage& image, const std::function<QColor(int x, int y)>& expected) {
  const int w = image.width(), h = image.height();
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
        QVERIFY2(image.pixelColor(x, y) == expected(x, y),
                 qPrintable(QStringLiteral("edge pixel (%1, %2)").arg(x).arg(y)));
}

QImage Filled(int w, int h, const QColor& color) {
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(color);
  return image;
}

// Where a caption drawn with its cell's top-left corner at (x, y) puts ink,
// within the rasteriser's rounding of one pixel.
bool InkAt(const QRect& ink, const QWidget* button, const QString& caption, int x, int y) {
  const QFontMetrics fm = button->fontMetrics();
  const QRect e = fm.tightBoundingRect(caption).translated(x, y + fm.ascent());
  return std::abs(ink.left() - e.left()) <= 1 && std::abs(ink.right() - e.right()) <= 1 &&
         std::abs(ink.top() - e.top()) <= 1 && std::abs(ink.bottom() - e.bottom()) <= 1;
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
  static void Press(QWidget* w) { QTest::mousePress(w, Qt::LeftButton, {}, QPoint(5, 5)); }
  static void Release(QWidget* w) { QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(5, 5)); }

  // Records the order of the button's notifications.
  static QStringList* Record(zerud::TButtonControl* button) {
    auto* events = new QStringList;
    connect(button, &QObject::destroyed, [events] { delete events; });
    auto at = [events](const char* what) {
      return [events, what](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
        *events << QStringLiteral("%1 %2,%3").arg(what).arg(x).arg(y);
      };
    };
    connect(button, &zerud::TButtonControl::OnMouseDown, button, at("down"));
    connect(button, &zerud::TButtonControl::OnClick, button, [events] { *events << "click"; });
    connect(button, &zerud::TButtonControl::OnMouseUp, button, at("up"));
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

  // With a parent, a text button's caption starts as its name.
  void captionStartsAsNameWithParent() {
    QCOMPARE(TSelButton(parent_.get(), QStringLiteral("bnFermer")).Caption(), "bnFermer");
    QCOMPARE(TEncartaButton(nullptr, QStringLiteral("bnOui")).Caption(), QString());
  }

  // TEncartaButton: a plain frame; raised while hovered (light left and top,
  // dark right and bottom), sunken while pressed. TSelButton: never a bevel.
  void looks_data() {
    QTest::addColumn<bool>("encarta");
    QTest::newRow("TEncartaButton") << true;
    QTest::newRow("TSelButton") << false;
  }
  void looks() {
    QFETCH(bool, encarta);
    TTextButton* b = encarta ? static_cast<TTextButton*>(MakeText<TEncartaButton>(86, 22, {}))
                             : MakeText<TSelButton>(86, 22, QString());
    const QColor faces[] = {kFace, kOver, kDown};
    for (TLook look : {TLook::Normal, TLook::Hover, TLook::Pressed}) {
      if (look == TLook::Hover) Enter(b);
      if (look == TLook::Pressed) Press(b);
      QCOMPARE(b->Look(), look);
      const QImage image = Grab(b);
      CheckEdge(image, [&](int x, int y) {
        const bool raisedLight = (x == 0 && y <= 20) || (y == 0 && x <= 84);
        if (!encarta || look == TLook::Normal) return kBorder;
        return raisedLight == (look == TLook::Hover) ? kLight : kDark;
      });
      QCOMPARE(Box(image, faces[int(look)]), QRect(1, 1, 84, 20));
    }
    Release(b);
  }

  // Where each button puts its caption; hovered and pressed it takes the
  // hover colour, pressed it moves by (1, 1) (the right-aligned one by
  // (-1, 1)); the release over it draws the hover look again. After a
  // property that repaints, the next press keeps the font's colour.
  void captionPlacesAndColours_data() {
    QTest::addColumn<int>("alignment");  // -1: TEncartaButton, centred
    QTest::addColumn<int>("pressedDx");
    QTest::newRow("TEncartaButton") << -1 << 1;
    QTest::newRow("TSelButton, left") << int(TSelButton::kAlignLeft) << 1;
    QTest::newRow("TSelButton, right") << int(TSelButton::kAlignRight) << -1;
    QTest::newRow("TSelButton, centre") << int(TSelButton::kAlignCenter) << 1;
  }
  void captionPlacesAndColours() {
    QFETCH(int, alignment);
    QFETCH(int, pressedDx);
    const QString caption = QStringLiteral("Fermer");
    TTextButton* b = nullptr;
    if (alignment < 0) {
      b = MakeText<TEncartaButton>(86, 22, caption);
    } else {
      auto* sel = MakeText<TSelButton>(105, 20, caption);
      sel->SetAlignment(alignment);
      b = sel;
    }
    const int w = b->width();
    const int tw = b->fontMetrics().horizontalAdvance(caption);
    const int x = alignment == TSelButton::kAlignLeft    ? 5
                  : alignment == TSelButton::kAlignRight ? w - tw - 6
                                                         : w / 2 - tw / 2;
    const QRect ink = Box(Grab(b), kFontColor);
    QVERIFY2(InkAt(ink, b, caption, x, b->height() / 2 - b->fontMetrics().height() / 2),
             "caption placed");
    Enter(b);
    const QImage hover = Grab(b);
    QCOMPARE(Box(hover, kOverCaption), ink);
    QVERIFY(Box(hover, kFontColor).isNull());
    Press(b);
    const QImage pressed = Grab(b);
    QCOMPARE(Box(pressed, kOverCaption), ink.translated(pressedDx, 1));
    QVERIFY(Box(pressed, kFontColor).isNull());
    Release(b);
    QCOMPARE(b->Look(), TLook::Hover);
    QCOMPARE(Box(Grab(b), kOverCaption), ink);
    b->SetCaption(caption);
    Press(b);
    QCOMPARE(Box(Grab(b), kFontColor), ink.translated(pressedDx, 1));
    Release(b);
  }

  // A caption wider than the button does not paint over the frame.
  void encartaCaptionWiderThanButtonIsClipped() {
    auto* b = MakeText<TEncartaButton>(40, 22, QStringLiteral("WWWWWWWWWWWWWWWWWWWW"));
    const QImage image = Grab(b);
    CheckEdge(image, [](int, int) { return kBorder; });
    const QRect ink = Box(image, kFontColor);
    QVERIFY(ink.left() <= 2 && ink.right() >= 37);
  }

  // A 10 x 8 glyph whose top-left pixel is the transparent key. Alone it sits
  // centred at its size; with a caption it is one pixel wider and glyph and
  // caption are centred as one block. Pressed, both move by (1, 1).
  void encartaGlyph_data() {
    QTest::addColumn<bool>("withCaption");
    QTest::newRow("alone") << false;
    QTest::newRow("with caption") << true;
  }
  void encartaGlyph() {
    QFETCH(bool, withCaption);
    const QString caption = QStringLiteral("Oui");
    auto* b = MakeText<TEncartaButton>(86, 22, caption);
    QImage glyph = Filled(10, 8, kGlyphColor);
    glyph.setPixelColor(0, 0, QColor(10, 20, 30));
    b->SetGlyph(glyph);
    b->SetShowCaption(withCaption);
    const int tw = b->fontMetrics().horizontalAdvance(caption);
    const QRect glyphBox =
        withCaption ? QRect(43 - (10 + tw) / 2 - 1, 7, 11, 8) : QRect(38, 7, 10, 8);

    const QImage normal = Grab(b);
    QCOMPARE(Box(normal, kGlyphColor), glyphBox);
    QCOMPARE(normal.pixelColor(glyphBox.topLeft()), kFace);
    const QRect ink = Box(normal, kFontColor);
    if (withCaption)
      QVERIFY2(InkAt(ink, b, caption, 43 + (10 - tw) / 2 + 4, 11 - b->fontMetrics().height() / 2),
               "caption beside the glyph");
    else
      QVERIFY(ink.isNull());

    Enter(b);
    Press(b);
    const QImage pressed = Grab(b);
    QCOMPARE(Box(pressed, kGlyphColor), glyphBox.translated(1, 1));
    QCOMPARE(pressed.pixelColor(glyphBox.topLeft() + QPoint(1, 1)), kDown);
    if (withCaption) QCOMPARE(Box(pressed, kOverCaption), ink.translated(1, 1));
    Release(b);
  }

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
      for (const QPoint p :
           {QPoint(i, 10), QPoint(104 - i, 10), QPoint(50, i), QPoint(50, 19 - i), QPoint(i, i)})
        QCOMPARE(image.pixelColor(p), expected);
    }
  }

  // The click comes between OnMouseDown and OnMouseUp, only for a left press
  // on the button released inside it; a release inside the button but under
  // another control (disabled ones count) clicks and leaves the normal look
  // the click drew. With the own Enabled flag off nothing greys and the
  // mouse does nothing.
  void clickRule_data() {
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("releaseX");
    QTest::addColumn<bool>("covered");
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<TLook>("look");
    QTest::newRow("inside") << true << Qt::LeftButton << 8 << false
                            << QStringList{"down 5,5", "click", "up 8,5"} << TLook::Hover;
    QTest::newRow("outside") << true << Qt::LeftButton << 120 << false
                             << QStringList{"down 5,5", "up 120,5"} << TLook::Pressed;
    QTest::newRow("right button") << true << Qt::RightButton << 5 << false << QStringList{}
                                  << TLook::Hover;
    QTest::newRow("under a disabled control")
        << true << Qt::LeftButton << 70 << true << QStringList{"down 5,5", "click", "up 70,5"}
        << TLook::Normal;
    QTest::newRow("own Enabled off")
        << false << Qt::LeftButton << 5 << false << QStringList{} << TLook::Normal;
  }
  void clickRule() {
    QFETCH(bool, enabled);
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, releaseX);
    QFETCH(bool, covered);
    QFETCH(QStringList, events);
    QFETCH(TLook, look);
    auto* b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    if (covered) {
      auto* cover = new QWidget(parent_.get());
      cover->setGeometry(60, 10, 36, 22);
      cover->setEnabled(false);
      cover->show();
    }
    QStringList* seen = Record(b);
    b->SetEnabled(enabled);
    Enter(b);
    QCOMPARE(b->Look(), enabled ? TLook::Hover : TLook::Normal);
    QTest::mousePress(b, button, {}, QPoint(5, 5));
    QTest::mouseRelease(b, button, {}, QPoint(releaseX, 5));
    QCOMPARE(*seen, events);
    QCOMPARE(b->Look(), look);
    if (!enabled) {
      QVERIFY(b->isEnabled());
      const QImage image = Grab(b);
      CheckEdge(image, [](int, int) { return kBorder; });
      QVERIFY(!Box(image, kFontColor).isNull());
    }
    Leave();
    QCOMPARE(b->Look(), TLook::Normal);
  }

  // A handler may destroy the button it was called from (closing its
  // window); the button then touches nothing of itself afterwards.
  void handlerDestroysButton_data() {
    QTest::addColumn<bool>("image");
    QTest::addColumn<bool>("onDown");
    QTest::newRow("text, down") << false << true;
    QTest::newRow("text, up") << false << false;
    QTest::newRow("image, down") << true << true;
    QTest::newRow("image, up") << true << false;
  }
  void handlerDestroysButton() {
    QFETCH(bool, image);
    QFETCH(bool, onDown);
    zerud::TButtonControl* b = nullptr;
    if (image) {
      auto* ib = Make<TImageButton>(50, 50);
      ib->SetBitmap(Filled(50, 50, kFace));
      ib->SetBitmapDown(Filled(40, 40, kDown));
      ib->SetBitmapOver(Filled(45, 45, kOver));
      b = ib;
    } else {
      b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    }
    QPointer<zerud::TButtonControl> alive(b);
    const auto destroy = [b](Qt::MouseButton, Qt::KeyboardModifiers, int, int) { delete b; };
    connect(b, onDown ? &zerud::TButtonControl::OnMouseDown : &zerud::TButtonControl::OnMouseUp,
            parent_.get(), destroy);
    Enter(b);
    Press(b);
    if (alive) Release(b);
    QVERIFY(alive.isNull());
  }

  void pressStartedElsewhereGivesNoClick() {
    auto* b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    QStringList* events = Record(b);
    QTest::mousePress(parent_.get(), Qt::LeftButton, {}, QPoint(200, 150));
    QTest::mouseRelease(parent_.get(), Qt::LeftButton, {}, QPoint(20, 20));
    // Even a release handed to the button itself is no click without a press.
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(10, 10),
                        b->mapToGlobal(QPointF(10, 10)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(b, &release);
    QCOMPARE(*events, QStringList({"up 10,10"}));
  }

  // Switched off while hovered, leaving still draws the normal look.
  void ownEnabledFlagOffWhileHovered() {
    auto* b = MakeText<TEncartaButton>(86, 22, QStringLiteral("Oui"));
    Enter(b);
    QCOMPARE(b->Look(), TLook::Hover);
    b->SetEnabled(false);
    Leave();
    QCOMPARE(b->Look(), TLook::Normal);
  }

  // The image button takes the size of each picture it shows: Over while
  // hovered, Down while pressed, after a click Up or else Over, Bitmap once
  // left; an empty picture keeps the current one.
  void imageButtonFollowsItsPictures_data() {
    QTest::addColumn<bool>("withOverDown");
    QTest::addColumn<bool>("withUp");
    QTest::addColumn<int>("releaseX");
    QTest::addColumn<int>("shownSize");
    QTest::addColumn<bool>("clicked");
    QTest::newRow("no BitmapUp, inside") << true << false << 5 << 56 << true;
    QTest::newRow("BitmapUp, inside") << true << true << 5 << 54 << true;
    QTest::newRow("BitmapUp, outside") << true << true << 150 << 55 << false;
    QTest::newRow("no BitmapUp, outside") << true << false << 150 << 55 << false;
    QTest::newRow("no Over or Down") << false << false << 5 << 55 << true;
  }
  void imageButtonFollowsItsPictures() {
    QFETCH(bool, withOverDown);
    QFETCH(bool, withUp);
    QFETCH(int, releaseX);
    QFETCH(int, shownSize);
    QFETCH(bool, clicked);
    // Each picture has its own size and colour; the normal one a dark corner.
    std::map<int, QImage> pictures = {{55, Filled(55, 55, QColor(200, 0, 0))},
                                      {56, Filled(56, 56, QColor(0, 200, 0))},
                                      {53, Filled(53, 53, QColor(0, 0, 200))},
                                      {54, Filled(54, 54, QColor(0, 200, 200))}};
    pictures[55].setPixelColor(54, 54, Qt::black);
    auto* b = Make<TImageButton>(50, 50);
    if (withOverDown) {
      b->SetBitmapOver(pictures[56]);
      b->SetBitmapDown(pictures[53]);
      QCOMPARE(b->size(), QSize(50, 50));  // only Bitmap resizes
    }
    if (withUp) b->SetBitmapUp(pictures[54]);
    b->SetBitmap(pictures[55]);
    QCOMPARE(Grab(b), pictures[55]);
    QSignalSpy clicks(b, &TImageButton::OnClick);
    Enter(b);
    QCOMPARE(Grab(b), pictures[withOverDown ? 56 : 55]);
    Press(b);
    QCOMPARE(Grab(b), pictures[withOverDown ? 53 : 55]);
    QTest::mouseRelease(b, Qt::LeftButton, {}, QPoint(releaseX, 5));
    QCOMPARE(Grab(b), pictures[shownSize]);
    QCOMPARE(clicks.count(), clicked ? 1 : 0);
    Leave();
    QCOMPARE(Grab(b), pictures[55]);
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
    QCOMPARE(Grab(b), over);
    QSignalSpy clicks(b, &TImageButton::OnClick);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(clicks.count(), 0);

    const QImage disabled = Filled(40, 40, Qt::gray);
    b->SetBitmapDisabled(disabled);
    QCOMPARE(Grab(b), disabled);
    b->SetEnabled(true);
    Leave();
    QCOMPARE(Grab(b), normal);
    b->SetEnabled(false);
    QCOMPARE(b->size(), QSize(40, 40));
  }

  // The face shows where there is no picture; pictures are drawn opaque.
  void imageButtonFaceAndOpaquePictures() {
    auto* b = Make<TImageButton>(50, 50);
    QCOMPARE(Box(Grab(b), b->palette().color(QPalette::Button)), QRect(0, 0, 50, 50));
    QImage seeThrough(30, 20, QImage::Format_ARGB32);
    seeThrough.fill(QColor(0, 0, 200, 0));
    b->SetBitmap(seeThrough);
    QCOMPARE(Box(Grab(b), QColor(0, 0, 200)), QRect(0, 0, 30, 20));
  }
};

QTEST_MAIN(ButtonCompsTest)
#include "tst_ButtonComps.moc"
