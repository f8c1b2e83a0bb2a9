// Every picture the game ships: size, stored format, byte count, transparency.
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <cmath>

#include "AssetTestSupport.h"
#include "assets/BmpCodec.h"
#include "assets/IcoCodec.h"
#include "assets/Pictures.h"

namespace zerud {
namespace {

using test::CountPixels;
using test::EmbeddedBytes;
using test::LittleEndian32;
using test::Luminance;

// A baseline JFIF of 8-bit samples in three components, of the stated size:
// walks the segments up to the first scan; exactly one frame, a baseline one.
void ExpectBaselineJfif(const char* name, const QByteArray& file, int width, int height) {
  SCOPED_TRACE(name);
  ASSERT_TRUE(file.startsWith("\xFF\xD8\xFF\xE0"));
  EXPECT_EQ(file.mid(6, 5), QByteArray("JFIF\0", 5));
  EXPECT_TRUE(file.endsWith("\xFF\xD9"));
  const auto* p = reinterpret_cast<const uchar*>(file.constData());
  int frames = 0, code = 0;
  for (qsizetype at = 2; at + 4 <= file.size() && p[at] == 0xFF && code != 0xDA;) {
    code = p[at + 1];
    const uchar* d = p + at + 4;
    if (code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC) {
      ++frames;
      EXPECT_EQ(code, 0xC0) << "not a baseline frame";
      EXPECT_EQ(d[0], 8);
      EXPECT_EQ((d[1] << 8) | d[2], height);
      EXPECT_EQ((d[3] << 8) | d[4], width);
      EXPECT_EQ(d[5], 3);
    }
    at += 2 + ((p[at + 2] << 8) | p[at + 3]);
  }
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(code, 0xDA);
}

TEST(ShippedPictures, PanelPicturesAreBaselineJpegsOfTheirSize) {
  const struct {
    const char* File;
    QImage (*Picture)();
    int Width, Height;
    qsizetype Bytes;
  } cases[] = {{"splash.jpg", SplashPicture, 387, 321, 143290},
               {"left_panel.jpg", LeftPanelPicture, 237, 600, 126489},
               {"options_panel.jpg", OptionsPanelPicture, 800, 536, 223196}};
  for (const auto& c : cases) {
    const QByteArray file = EmbeddedBytes(c.File);
    EXPECT_EQ(file.size(), c.Bytes) << c.File;
    ExpectBaselineJfif(c.File, file, c.Width, c.Height);
    EXPECT_EQ(c.Picture().size(), QSize(c.Width, c.Height)) << c.File;
  }
  ExpectBaselineJfif("bg.jpg", test::FileBytes(test::SourcePicture("bg.jpg")), 800, 600);
  EXPECT_EQ(LoadPictureFile(test::SourcePicture("bg.jpg")).size(), QSize(800, 600));
}

// The image buttons sit on the left panel: their corners must match the
// panel's light blue there, or a square would show around each round button.
TEST(ShippedPictures, LeftPanelIsLightBlueAroundEachButton) {
  const QImage panel = LeftPanelPicture();
  for (const QRect& b : {QRect(7, 75, 55, 55), QRect(7, 145, 55, 55), QRect(7, 215, 56, 56),
                         QRect(6, 285, 55, 55)}) {
    for (const QPoint corner : {b.topLeft(), b.topRight(), b.bottomLeft(), b.bottomRight()}) {
      const QRgb c = panel.pixel(corner);
      EXPECT_LE(
          std::max({std::abs(qRed(c) - 164), std::abs(qGreen(c) - 192), std::abs(qBlue(c) - 251)}),
          8)
          << corner.x() << "," << corner.y();
    }
  }
}

const struct {
  TButtonPicture Button;
  const char* Name;
  int Side;
} kButtons[] = {{TButtonPicture::Start, "start", 55},
                {TButtonPicture::Options, "options", 55},
                {TButtonPicture::Reseau, "reseau", 56},
                {TButtonPicture::Aide, "aide", 55}};

TEST(ShippedPictures, ButtonsAre24BitBmpsBehindTheirLength) {
  const std::pair<TButtonLook, const char*> looks[] = {
      {TButtonLook::Normal, "normal"}, {TButtonLook::Over, "over"}, {TButtonLook::Down, "down"}};
  for (const auto& b : kButtons) {
    for (const auto& [look, lookName] : looks) {
      const QString file = QStringLiteral("button_%1_%2.lbmp").arg(b.Name, lookName);
      SCOPED_TRACE(file.toStdString());
      const QByteArray stored = EmbeddedBytes(file);
      const quint32 bmpBytes = b.Side == 55 ? 9294 : 9462;
      ASSERT_EQ(stored.size(), 4 + bmpBytes);
      const QByteArray bmp = stored.sliced(4);
      EXPECT_TRUE(bmp.startsWith("BM"));
      // Length before the file, file size, information header size, height
      // (positive: bottom-up rows), 24 bits per pixel, no compression.
      EXPECT_EQ(LittleEndian32(stored, 0), bmpBytes);
      EXPECT_EQ(LittleEndian32(bmp, 2), bmpBytes);
      EXPECT_EQ(LittleEndian32(bmp, 14), 40u);
      EXPECT_EQ(LittleEndian32(bmp, 22), quint32(b.Side));
      EXPECT_EQ(LittleEndian32(bmp, 28) & 0xFFFF, 24u);
      EXPECT_EQ(LittleEndian32(bmp, 30), 0u);
      // Qt's own BMP reader sees the same pixels as ours.
      const QImage ours = ButtonPicture(b.Button, look);
      EXPECT_EQ(ours.size(), QSize(b.Side, b.Side));
      EXPECT_EQ(ours, QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32));
      const int last = b.Side - 1;
      for (const QPoint corner :
           {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        EXPECT_EQ(ours.pixel(corner), qRgb(164, 192, 251));
    }
  }
}

TEST(ShippedPictures, HoverIsLighterAndPressedDarker) {
  const auto mean = [](const QImage& image) {
    double sum = 0;
    test::ForEachPixel(image, [&](int, int, QRgb c) { sum += Luminance(c); });
    return sum / (image.width() * image.height());
  };
  for (const auto& b : kButtons) {
    SCOPED_TRACE(b.Name);
    const QImage normal = ButtonPicture(b.Button, TButtonLook::Normal);
    const QImage over = ButtonPicture(b.Button, TButtonLook::Over);
    const QImage down = ButtonPicture(b.Button, TButtonLook::Down);
    EXPECT_GT(mean(over), mean(normal) * 1.05);
    EXPECT_LT(mean(down), mean(normal) * 0.9);
    // Every pixel moves the same way, none the other.
    EXPECT_EQ(CountPixels(normal,
                          [&](int x, int y, QRgb c) {
                            return Luminance(over.pixel(x, y)) < Luminance(c) ||
                                   Luminance(down.pixel(x, y)) > Luminance(c);
                          }),
              0);
  }
  // Four different pictures, not one drawn four times.
  const QImage aide = ButtonPicture(TButtonPicture::Aide, TButtonLook::Normal);
  EXPECT_NE(ButtonPicture(TButtonPicture::Start, TButtonLook::Normal), aide);
  EXPECT_NE(ButtonPicture(TButtonPicture::Options, TButtonLook::Normal), aide);
}

TEST(ShippedPictures, ListeBmpHoldsTheGridAndFourPiecesAsStored) {
  const char* files[] = {"listebmp0_grid.argb", "listebmp1_yellow.argb", "listebmp2_red.argb",
                         "listebmp3_yellow_tick.argb", "listebmp4_red_tick.argb"};
  for (int i = 0; i < kListeBmpCount; ++i) {
    SCOPED_TRACE(files[i]);
    const QByteArray stored = EmbeddedBytes(files[i]);
    const int width = i == 0 ? 490 : 70, height = i == 0 ? 420 : 70;
    EXPECT_EQ(stored.size(), 8 + 4 * width * height);
    EXPECT_EQ(LittleEndian32(stored, 0), quint32(width));
    EXPECT_EQ(LittleEndian32(stored, 4), quint32(height));
    const QImage picture = ListeBmp(i);
    EXPECT_EQ(picture.size(), QSize(width, height));
    EXPECT_EQ(picture.format(), QImage::Format_ARGB32);
    // The stored pixels are the picture's non-premultiplied words, top row first.
    EXPECT_EQ(LittleEndian32(stored, 8), picture.pixel(0, 0));
    EXPECT_EQ(LittleEndian32(stored, stored.size() - 4), picture.pixel(width - 1, height - 1));
  }
  test::ExpectPictureError([] { ListeBmp(-1); }, "indice -1");
  test::ExpectPictureError([] { ListeBmp(5); }, "indice 5");
}

bool Soft(QRgb c) { return qAlpha(c) > 0 && qAlpha(c) < 255; }

TEST(ShippedPictures, GridHasATransparentHoleInEveryCellAndAnOpaqueFrame) {
  const QImage grid = ListeBmp(kGridPicture);
  for (int r = 0; r < 6; ++r) {
    for (int c = 0; c < 7; ++c) {
      SCOPED_TRACE(testing::Message() << "cell " << r << "," << c);
      const auto alpha = [&](int x, int y) { return qAlpha(grid.pixel(70 * c + x, 70 * r + y)); };
      // The hole spans pixels 7 to 61 of the cell both ways; the frame is
      // opaque around it and blue.
      EXPECT_EQ(alpha(34, 34) + alpha(35, 35), 0);
      for (const auto& [x, y] : {std::pair{7, 34}, {61, 34}, {34, 7}, {34, 61}})
        EXPECT_LT(alpha(x, y), 64) << x << "," << y;
      for (const auto& [x, y] : {std::pair{6, 34}, {62, 34}, {34, 6}, {34, 62}, {0, 0}, {69, 69}})
        EXPECT_EQ(alpha(x, y), 255) << x << "," << y;
      const QRgb frame = grid.pixel(70 * c + 2, 70 * r + 34);
      EXPECT_GT(qBlue(frame), qRed(frame) + 60);
    }
  }
  EXPECT_GT(CountPixels(grid, [](int, int, QRgb c) { return Soft(c); }), 0);  // anti-aliased
}

TEST(ShippedPictures, PiecesShareOneMaskAndDifferInColourAndTick) {
  const QImage yellow = ListeBmp(kYellowPiece), red = ListeBmp(kRedPiece);
  const QImage yellowTicked = ListeBmp(kYellowTickedPiece), redTicked = ListeBmp(kRedTickedPiece);
  for (const QImage* piece : {&red, &yellowTicked, &redTicked}) {
    EXPECT_EQ(CountPixels(*piece, [&](int x, int y,
                                      QRgb c) { return qAlpha(c) != qAlpha(yellow.pixel(x, y)); }),
              0);
  }
  // An opaque disc over pixels 6 to 62, transparent corners, a soft rim.
  for (const QPoint p : {QPoint(0, 0), QPoint(69, 0), QPoint(0, 69), QPoint(69, 69), QPoint(5, 34),
                         QPoint(63, 34), QPoint(34, 5), QPoint(34, 63)})
    EXPECT_EQ(qAlpha(yellow.pixel(p)), 0) << p.x() << "," << p.y();
  for (const QPoint p : {QPoint(6, 34), QPoint(62, 34), QPoint(34, 6), QPoint(34, 62)})
    EXPECT_GT(qAlpha(yellow.pixel(p)), 200) << p.x() << "," << p.y();
  EXPECT_EQ(qAlpha(yellow.pixel(34, 34)), 255);
  EXPECT_GT(CountPixels(yellow, [](int, int, QRgb c) { return Soft(c); }), 0);

  // Colours: red is red, yellow is yellow.
  const QRgb r = red.pixel(48, 48), y = yellow.pixel(48, 48);
  EXPECT_GT(qRed(r), 2 * qGreen(r));
  EXPECT_GT(qRed(y), 150);
  EXPECT_GT(qGreen(y), 120);
  EXPECT_LT(qBlue(y), qGreen(y) / 2);

  // The tick is black, inside the disc; outside it the pictures are equal.
  const auto black = [](const QImage& piece) {
    return CountPixels(piece, [](int, int, QRgb c) {
      return qAlpha(c) == 255 && qRed(c) < 40 && qGreen(c) < 40 && qBlue(c) < 40;
    });
  };
  EXPECT_EQ(black(yellow) + black(red), 0);
  EXPECT_GT(black(yellowTicked), 60);
  EXPECT_GT(black(redTicked), 60);
  for (const auto& [plain, ticked] : {std::pair{&yellow, &yellowTicked}, {&red, &redTicked}}) {
    EXPECT_EQ(CountPixels(*ticked,
                          [&](int x, int y, QRgb c) {
                            return std::hypot(x + 0.5 - 35, y + 0.5 - 35) >= 25 &&
                                   c != plain->pixel(x, y);
                          }),
              0);
  }
}

// Relative luminance and contrast ratio as accessibility guidelines count them.
double RelativeLuminance(QRgb c) {
  const auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
}

double Contrast(QRgb a, QRgb b) {
  const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// High contrast: red carries a ring, yellow a cross, the winning pieces a
// white check over their mark; the holes show the black background.
TEST(ShippedPictures, ContrastPiecesDifferByShape) {
  QImage piece[kListeBmpCount];
  for (int i = 0; i < kListeBmpCount; ++i) piece[i] = ListeBmp(i, true);
  for (int i = kYellowPiece; i <= kRedTickedPiece; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(CountPixels(piece[i],
                          [&](int x, int y, QRgb c) {
                            return qAlpha(c) != qAlpha(ListeBmp(kYellowPiece).pixel(x, y));
                          }),
              0);
  }
  // What a piece shows inside its rim: 0 ink, 1 body, 2 the white check.
  const auto shape = [](const QImage& image, int x, int y) {
    const QRgb c = image.pixel(x, y);
    return qRed(c) < 60 && qGreen(c) < 60 ? 0 : qBlue(c) > 200 ? 2 : 1;
  };
  const auto differing = [&](const QImage& a, const QImage& b) {
    return CountPixels(a, [&](int x, int y, QRgb) {
      return std::hypot(x + 0.5 - 35, y + 0.5 - 35) < 25 && shape(a, x, y) != shape(b, x, y);
    });
  };
  const QImage& yellow = piece[kYellowPiece];
  const QImage& red = piece[kRedPiece];
  // The ring leaves the centre bare and crosses the axes; the cross is the
  // other way round.
  EXPECT_EQ(shape(red, 34, 34), 1);
  EXPECT_EQ(shape(red, 34, 21), 0);
  EXPECT_EQ(shape(red, 47, 34), 0);
  EXPECT_EQ(shape(yellow, 34, 34), 0);
  EXPECT_EQ(shape(yellow, 34, 21), 1);
  EXPECT_EQ(shape(yellow, 43, 43), 0);
  EXPECT_GT(differing(red, yellow), 300);
  for (const QImage* ticked : {&piece[kYellowTickedPiece], &piece[kRedTickedPiece]}) {
    EXPECT_GT(CountPixels(*ticked, [&](int x, int y, QRgb) { return shape(*ticked, x, y) == 2; }),
              60);
    EXPECT_GT(differing(*ticked, red), 150);
    EXPECT_GT(differing(*ticked, yellow), 150);
  }
  EXPECT_EQ(CountPixels(red, [&](int x, int y, QRgb) { return shape(red, x, y) == 2; }) +
                CountPixels(yellow, [&](int x, int y, QRgb) { return shape(yellow, x, y) == 2; }),
            0);

  // 7:1 at least between the pieces' bodies and their ink (the marks, the
  // rims, the black holes), and between the grid and its rims and holes.
  const QRgb ink = qRgb(0, 0, 0);
  const QImage& grid = piece[kGridPicture];
  EXPECT_EQ(grid.pixel(4, 4), qRgb(255, 255, 255));
  EXPECT_LT(RelativeLuminance(grid.pixel(34, 5)), 0.01);  // the rim around a hole
  EXPECT_EQ(qAlpha(grid.pixel(34, 34)), 0);
  for (const QRgb colour : {red.pixel(34, 12), yellow.pixel(34, 12), grid.pixel(4, 4)})
    EXPECT_GE(Contrast(colour, ink), 7.0) << std::hex << colour;
}

// A piece in its cell under the grid: the grid covers the piece's rim, so no
// light from behind the board shows between the two.
TEST(ShippedPictures, GridCoversTheRimOfAPieceInItsCell) {
  const QImage grid = ListeBmp(kGridPicture).copy(70 * 3, 70 * 5, 70, 70);
  const QImage piece = ListeBmp(kRedPiece);
  EXPECT_EQ(CountPixels(piece,
                        [&](int x, int y, QRgb c) {
                          return (1 - qAlpha(c) / 255.0) * (1 - qAlpha(grid.pixel(x, y)) / 255.0) >=
                                 0.06;
                        }),
            0);
}

TEST(ShippedPictures, LogIconsHaveAOneBitMaskAndTheirColours) {
  const QByteArray stored = EmbeddedBytes("log_icons.zil");
  EXPECT_TRUE(stored.startsWith("ZIL1"));
  EXPECT_EQ(stored.size(), 20 + 80 * 60 * 4 + 12 * 60);  // 80 x 60 colour plane and mask
  QColor mean[kLogIconCount];
  for (int i = 0; i < kLogIconCount; ++i) {
    SCOPED_TRACE(i);
    const QImage icon = LogIcon(i);
    EXPECT_EQ(icon.size(), QSize(20, 20));
    EXPECT_EQ(icon.format(), QImage::Format_ARGB32);
    EXPECT_EQ(CountPixels(icon, [](int, int, QRgb c) { return Soft(c); }), 0);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    double r = 0, g = 0, b = 0;
    int opaque = 0;
    test::ForEachPixel(icon, [&](int, int, QRgb c) {
      if (qAlpha(c) == 0) return;
      r += qRed(c), g += qGreen(c), b += qBlue(c);
      ++opaque;
    });
    EXPECT_GT(opaque, 60);
    EXPECT_LT(opaque, 360);
    mean[i] = QColor(int(r / opaque), int(g / opaque), int(b / opaque));
  }
  // A grey gear, a blue icon, another one, a pink one.
  EXPECT_LT(std::abs(mean[0].red() - mean[0].blue()), 20);
  EXPECT_LT(std::abs(mean[0].red() - mean[0].green()), 20);
  EXPECT_GT(mean[1].blue(), mean[1].red() + 40);
  EXPECT_NE(LogIcon(2), LogIcon(1));
  EXPECT_GT(mean[3].red(), mean[3].green() + 40);
  EXPECT_GT(mean[3].blue(), mean[3].green());
  test::ExpectPictureError([] { LogIcon(4); }, "indice 4");
  test::ExpectPictureError([] { LogIcon(-1); }, "indice -1");
}

TEST(ShippedPictures, ProgramIconIsA256ColourIconOfDarkLettersOnWhite) {
  const QByteArray stored = EmbeddedBytes("program.ico");
  ASSERT_GE(stored.size(), 22);
  EXPECT_EQ(LittleEndian32(stored, 0), 0x00010000u);  // reserved 0, type 1 (icon)
  EXPECT_EQ(uchar(stored[6]), 32);
  EXPECT_EQ(uchar(stored[7]), 32);
  EXPECT_EQ(LittleEndian32(stored, 10) >> 16, 8u);  // bits per pixel
  const QImage icon = DecodeIco(stored, "program.ico");
  ASSERT_EQ(icon.size(), QSize(32, 32));
  EXPECT_GT(CountPixels(icon, [](int, int, QRgb c) { return qAlpha(c) && Luminance(c) > 24000; }),
            300);
  EXPECT_GT(CountPixels(icon, [](int, int, QRgb c) { return qAlpha(c) && Luminance(c) < 8000; }),
            80);
  if (QImageReader::supportedImageFormats().contains("ico")) {
    EXPECT_EQ(QImage::fromData(stored, "ICO").convertToFormat(QImage::Format_ARGB32), icon);
  }
  const QIcon programIcon = ProgramIcon();
  ASSERT_FALSE(programIcon.isNull());
  EXPECT_EQ(programIcon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32), icon);
  // The desktop's sizes come with it, drawn, not scaled from the 32 pixels.
  for (const int side : {16, 24, 48, 64, 128, 256}) {
    EXPECT_TRUE(programIcon.availableSizes().contains(QSize(side, side))) << side;
  }
}

}  // namespace
}  // namespace zerud
