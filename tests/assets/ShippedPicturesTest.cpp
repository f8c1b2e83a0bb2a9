// Every picture the game ships: size, stored format, byte count, transparency.
#include <QIcon>
#include <QImageReader>
#include <QPixmap>
#include <cmath>
#include <vector>

#include "AssetTestSupport.h"
#include "assets/BmpCodec.h"
#include "assets/IcoCodec.h"
#include "assets/Pictures.h"

namespace zerud {
namespace {

using test::EmbeddedBytes;
using test::LittleEndian32;

struct TJpegMarker {
  int code;
  QByteArray data;
};

// The segments of a JPEG file up to its first scan.
std::vector<TJpegMarker> JpegHeaderSegments(const QByteArray& file) {
  std::vector<TJpegMarker> segments;
  const auto* p = reinterpret_cast<const uchar*>(file.constData());
  qsizetype at = 2;
  while (at + 4 <= file.size() && p[at] == 0xFF) {
    const int code = p[at + 1];
    const int length = (p[at + 2] << 8) | p[at + 3];
    segments.push_back({code, file.mid(at + 4, length - 2)});
    if (code == 0xDA) break;
    at += 2 + length;
  }
  return segments;
}

struct TJpegCase {
  const char* file;
  int width;
  int height;
  qsizetype bytes;  // 0: any
};

// Baseline JFIF, 8 bits per sample, three components, at the stated size.
void ExpectBaselineJfif(const QByteArray& file, const TJpegCase& c) {
  SCOPED_TRACE(c.file);
  if (c.bytes != 0) {
    EXPECT_EQ(file.size(), c.bytes);
  }
  ASSERT_TRUE(file.startsWith("\xFF\xD8"));
  EXPECT_TRUE(file.endsWith("\xFF\xD9"));
  const auto segments = JpegHeaderSegments(file);
  ASSERT_FALSE(segments.empty());
  EXPECT_EQ(segments.front().code, 0xE0);
  EXPECT_TRUE(segments.front().data.startsWith(QByteArray("JFIF\0", 5)));
  int frames = 0;
  for (const TJpegMarker& segment : segments) {
    const bool frame = segment.code >= 0xC0 && segment.code <= 0xCF && segment.code != 0xC4 &&
                       segment.code != 0xC8 && segment.code != 0xCC;
    if (!frame) continue;
    ++frames;
    EXPECT_EQ(segment.code, 0xC0) << "not a baseline frame";
    const auto* d = reinterpret_cast<const uchar*>(segment.data.constData());
    EXPECT_EQ(d[0], 8);
    EXPECT_EQ((d[1] << 8) | d[2], c.height);
    EXPECT_EQ((d[3] << 8) | d[4], c.width);
    EXPECT_EQ(d[5], 3);
  }
  EXPECT_EQ(frames, 1);
  EXPECT_EQ(segments.back().code, 0xDA);
}

TEST(ShippedPictures, PanelPicturesAreBaselineJpegsOfTheirSize) {
  const TJpegCase cases[] = {{"splash.jpg", 387, 321, 143290},
                             {"left_panel.jpg", 237, 600, 126489},
                             {"options_panel.jpg", 800, 536, 223196}};
  for (const TJpegCase& c : cases) ExpectBaselineJfif(EmbeddedBytes(c.file), c);
  ExpectBaselineJfif(test::FileBytes(test::SourcePicture("bg.jpg")), {"bg.jpg", 800, 600, 0});

  EXPECT_EQ(SplashPicture().size(), QSize(387, 321));
  EXPECT_EQ(LeftPanelPicture().size(), QSize(237, 600));
  EXPECT_EQ(OptionsPanelPicture().size(), QSize(800, 536));
  EXPECT_EQ(LoadPictureFile(test::SourcePicture("bg.jpg")).size(), QSize(800, 600));
}

// The image buttons sit on the left panel: their corners must match the
// panel's light blue there, or a square would show around each round button.
TEST(ShippedPictures, LeftPanelIsLightBlueAroundEachButton) {
  const QImage panel = LeftPanelPicture();
  const QRect buttons[] = {{7, 75, 55, 55}, {7, 145, 55, 55}, {7, 215, 56, 56}, {6, 285, 55, 55}};
  for (const QRect& b : buttons) {
    for (const QPoint corner : {b.topLeft(), b.topRight(), b.bottomLeft(), b.bottomRight()}) {
      const QRgb c = panel.pixel(corner);
      EXPECT_NEAR(qRed(c), 164, 8) << corner.x() << "," << corner.y();
      EXPECT_NEAR(qGreen(c), 192, 8) << corner.x() << "," << corner.y();
      EXPECT_NEAR(qBlue(c), 251, 8) << corner.x() << "," << corner.y();
    }
  }
}

struct TButtonCase {
  TButtonPicture button;
  const char* name;
  int side;
};

const TButtonCase kButtons[] = {{TButtonPicture::Start, "start", 55},
                                {TButtonPicture::Options, "options", 55},
                                {TButtonPicture::Reseau, "reseau", 56},
                                {TButtonPicture::Aide, "aide", 55}};
const std::pair<TButtonLook, const char*> kLooks[] = {
    {TButtonLook::Normal, "normal"}, {TButtonLook::Over, "over"}, {TButtonLook::Down, "down"}};

TEST(ShippedPictures, ButtonsAre24BitBmpsBehindTheirLength) {
  for (const TButtonCase& b : kButtons) {
    for (const auto& [look, lookName] : kLooks) {
      const QString file = QStringLiteral("button_%1_%2.lbmp").arg(b.name, lookName);
      SCOPED_TRACE(file.toStdString());
      const QByteArray stored = EmbeddedBytes(file);
      const qint64 bmpBytes = b.side == 55 ? 9294 : 9462;
      ASSERT_EQ(stored.size(), 4 + bmpBytes);
      EXPECT_EQ(LittleEndian32(stored, 0), bmpBytes);
      const QByteArray bmp = stored.sliced(4);
      EXPECT_TRUE(bmp.startsWith("BM"));
      EXPECT_EQ(LittleEndian32(bmp, 2), bmpBytes);
      EXPECT_EQ(LittleEndian32(bmp, 14), 40u);             // information header
      EXPECT_EQ(qint32(LittleEndian32(bmp, 22)), b.side);  // bottom-up rows
      EXPECT_EQ(LittleEndian32(bmp, 28) & 0xFFFF, 24u);    // bits per pixel
      EXPECT_EQ(LittleEndian32(bmp, 30), 0u);              // uncompressed

      // Qt's own BMP reader sees the same pixels as ours.
      const QImage ours = ButtonPicture(b.button, look);
      EXPECT_EQ(ours.size(), QSize(b.side, b.side));
      EXPECT_EQ(ours, QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32));
      for (const QPoint corner : {QPoint(0, 0), QPoint(b.side - 1, 0), QPoint(0, b.side - 1),
                                  QPoint(b.side - 1, b.side - 1)}) {
        EXPECT_EQ(ours.pixel(corner), qRgb(164, 192, 251));
      }
    }
  }
}

double MeanLuminance(const QImage& image) {
  double sum = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) sum += test::Luminance(image.pixel(x, y));
  }
  return sum / (image.width() * image.height());
}

TEST(ShippedPictures, HoverIsLighterAndPressedDarker) {
  for (const TButtonCase& b : kButtons) {
    SCOPED_TRACE(b.name);
    const QImage normal = ButtonPicture(b.button, TButtonLook::Normal);
    const QImage over = ButtonPicture(b.button, TButtonLook::Over);
    const QImage down = ButtonPicture(b.button, TButtonLook::Down);
    EXPECT_GT(MeanLuminance(over), MeanLuminance(normal) * 1.05);
    EXPECT_LT(MeanLuminance(down), MeanLuminance(normal) * 0.9);
    // Every pixel moves the same way, none the other.
    for (int y = 0; y < normal.height(); ++y) {
      for (int x = 0; x < normal.width(); ++x) {
        ASSERT_GE(test::Luminance(over.pixel(x, y)), test::Luminance(normal.pixel(x, y)));
        ASSERT_LE(test::Luminance(down.pixel(x, y)), test::Luminance(normal.pixel(x, y)));
      }
    }
  }
  // Four different pictures, not one drawn four times.
  EXPECT_NE(ButtonPicture(TButtonPicture::Start, TButtonLook::Normal),
            ButtonPicture(TButtonPicture::Aide, TButtonLook::Normal));
  EXPECT_NE(ButtonPicture(TButtonPicture::Options, TButtonLook::Normal),
            ButtonPicture(TButtonPicture::Aide, TButtonLook::Normal));
}

TEST(ShippedPictures, ListeBmpHoldsTheGridAndFourPiecesAsStored) {
  const char* files[] = {"listebmp0_grid.argb", "listebmp1_yellow.argb", "listebmp2_red.argb",
                         "listebmp3_yellow_tick.argb", "listebmp4_red_tick.argb"};
  for (int i = 0; i < kListeBmpCount; ++i) {
    SCOPED_TRACE(files[i]);
    const QByteArray stored = EmbeddedBytes(files[i]);
    const int width = i == 0 ? 490 : 70;
    const int height = i == 0 ? 420 : 70;
    EXPECT_EQ(stored.size(), i == 0 ? 823208 : 19608);
    EXPECT_EQ(LittleEndian32(stored, 0), quint32(width));
    EXPECT_EQ(LittleEndian32(stored, 4), quint32(height));
    const QImage picture = ListeBmp(i);
    EXPECT_EQ(picture.size(), QSize(width, height));
    EXPECT_EQ(picture.format(), QImage::Format_ARGB32);
    // The stored pixels are the picture's non-premultiplied words, top row first.
    const qsizetype last = 8 + 4 * (qsizetype(width) * height - 1);
    EXPECT_EQ(LittleEndian32(stored, 8), picture.pixel(0, 0));
    EXPECT_EQ(LittleEndian32(stored, last), picture.pixel(width - 1, height - 1));
  }
  test::ExpectPictureError([] { ListeBmp(-1); }, "indice -1");
  test::ExpectPictureError([] { ListeBmp(5); }, "indice 5");
}

TEST(ShippedPictures, GridHasATransparentHoleInEveryCellAndAnOpaqueFrame) {
  const QImage grid = ListeBmp(kGridPicture);
  bool partlyTransparent = false;
  for (int r = 0; r < 6; ++r) {
    for (int c = 0; c < 7; ++c) {
      const int left = 70 * c;
      const int top = 70 * r;
      SCOPED_TRACE(testing::Message() << "cell " << r << "," << c);
      EXPECT_EQ(qAlpha(grid.pixel(left + 34, top + 34)), 0);
      EXPECT_EQ(qAlpha(grid.pixel(left + 35, top + 35)), 0);
      // The hole spans pixels 7 to 61 of the cell, both ways.
      EXPECT_LT(qAlpha(grid.pixel(left + 7, top + 34)), 64);
      EXPECT_LT(qAlpha(grid.pixel(left + 61, top + 34)), 64);
      EXPECT_LT(qAlpha(grid.pixel(left + 34, top + 7)), 64);
      EXPECT_LT(qAlpha(grid.pixel(left + 34, top + 61)), 64);
      EXPECT_EQ(qAlpha(grid.pixel(left + 6, top + 34)), 255);
      EXPECT_EQ(qAlpha(grid.pixel(left + 62, top + 34)), 255);
      EXPECT_EQ(qAlpha(grid.pixel(left + 34, top + 6)), 255);
      EXPECT_EQ(qAlpha(grid.pixel(left + 34, top + 62)), 255);
      EXPECT_EQ(qAlpha(grid.pixel(left, top)), 255);
      EXPECT_EQ(qAlpha(grid.pixel(left + 69, top + 69)), 255);
      // Anti-aliased edge, the frame blue.
      for (int x = 0; x < 70; ++x) {
        const int a = qAlpha(grid.pixel(left + x, top + 12));
        partlyTransparent = partlyTransparent || (a > 0 && a < 255);
      }
      const QRgb frame = grid.pixel(left + 2, top + 34);
      EXPECT_GT(qBlue(frame), qRed(frame) + 60);
    }
  }
  EXPECT_TRUE(partlyTransparent);
}

// Distance of a pixel's centre from the middle of its 70-pixel cell.
double FromCentre(int x, int y) { return std::hypot(x + 0.5 - 35.0, y + 0.5 - 35.0); }

TEST(ShippedPictures, PiecesShareOneMaskAndDifferInColourAndTick) {
  const QImage yellow = ListeBmp(kYellowPiece);
  const QImage red = ListeBmp(kRedPiece);
  const QImage yellowTicked = ListeBmp(kYellowTickedPiece);
  const QImage redTicked = ListeBmp(kRedTickedPiece);
  for (const QImage* piece : {&yellow, &red, &yellowTicked, &redTicked}) {
    for (int y = 0; y < 70; ++y) {
      for (int x = 0; x < 70; ++x) {
        ASSERT_EQ(qAlpha(piece->pixel(x, y)), qAlpha(yellow.pixel(x, y))) << x << "," << y;
      }
    }
  }
  // An opaque disc over pixels 6 to 62, transparent corners, a soft rim.
  for (const QPoint p : {QPoint(0, 0), QPoint(69, 0), QPoint(0, 69), QPoint(69, 69), QPoint(5, 34),
                         QPoint(63, 34), QPoint(34, 5), QPoint(34, 63)}) {
    EXPECT_EQ(qAlpha(yellow.pixel(p)), 0) << p.x() << "," << p.y();
  }
  for (const QPoint p : {QPoint(6, 34), QPoint(62, 34), QPoint(34, 6), QPoint(34, 62)}) {
    EXPECT_GT(qAlpha(yellow.pixel(p)), 200) << p.x() << "," << p.y();
  }
  EXPECT_EQ(qAlpha(yellow.pixel(34, 34)), 255);
  int soft = 0;
  for (int x = 0; x < 70; ++x) soft += qAlpha(yellow.pixel(x, 14)) % 255 != 0;
  EXPECT_GT(soft, 0);

  // Colours: red is red, yellow is yellow, everywhere on the body.
  const QRgb r = red.pixel(48, 48);
  const QRgb y = yellow.pixel(48, 48);
  EXPECT_GT(qRed(r), 2 * qGreen(r));
  EXPECT_GT(qRed(y), 150);
  EXPECT_GT(qGreen(y), 120);
  EXPECT_LT(qBlue(y), qGreen(y) / 2);

  // The tick is black, inside the disc; outside it the pictures are equal.
  auto countBlack = [](const QImage& piece) {
    int black = 0;
    for (int yy = 0; yy < 70; ++yy) {
      for (int xx = 0; xx < 70; ++xx) {
        const QRgb c = piece.pixel(xx, yy);
        black += qAlpha(c) == 255 && qRed(c) < 40 && qGreen(c) < 40 && qBlue(c) < 40;
      }
    }
    return black;
  };
  EXPECT_EQ(countBlack(yellow), 0);
  EXPECT_EQ(countBlack(red), 0);
  EXPECT_GT(countBlack(yellowTicked), 60);
  EXPECT_GT(countBlack(redTicked), 60);
  for (int yy = 0; yy < 70; ++yy) {
    for (int xx = 0; xx < 70; ++xx) {
      if (FromCentre(xx, yy) < 25) continue;
      ASSERT_EQ(yellow.pixel(xx, yy), yellowTicked.pixel(xx, yy)) << xx << "," << yy;
      ASSERT_EQ(red.pixel(xx, yy), redTicked.pixel(xx, yy)) << xx << "," << yy;
    }
  }
}

// A piece in its cell under the grid: the grid covers the piece's rim, so no
// light from behind the board shows between the two.
TEST(ShippedPictures, GridCoversTheRimOfAPieceInItsCell) {
  const QImage grid = ListeBmp(kGridPicture);
  const QImage piece = ListeBmp(kRedPiece);
  const int left = 70 * 3;
  const int top = 70 * 5;
  EXPECT_EQ(qAlpha(grid.pixel(left + 6, top + 34)), 255);
  EXPECT_EQ(qAlpha(grid.pixel(left + 62, top + 34)), 255);
  EXPECT_GT(qAlpha(piece.pixel(6, 34)), 0);
  EXPECT_GT(qAlpha(piece.pixel(62, 34)), 0);
  for (int y = 0; y < 70; ++y) {
    for (int x = 0; x < 70; ++x) {
      const double pieceCover = qAlpha(piece.pixel(x, y)) / 255.0;
      const double gridCover = qAlpha(grid.pixel(left + x, top + y)) / 255.0;
      const double showsThrough = (1 - pieceCover) * (1 - gridCover);
      ASSERT_LT(showsThrough, 0.06) << x << "," << y;
    }
  }
}

TEST(ShippedPictures, LogIconsHaveAOneBitMask) {
  const QByteArray stored = EmbeddedBytes("log_icons.zil");
  EXPECT_TRUE(stored.startsWith("ZIL1"));
  EXPECT_EQ(stored.size(), 20 + 80 * 60 * 4 + 12 * 60);  // 80 x 60 colour plane and mask
  for (int i = 0; i < kLogIconCount; ++i) {
    SCOPED_TRACE(i);
    const QImage icon = LogIcon(i);
    EXPECT_EQ(icon.size(), QSize(20, 20));
    EXPECT_EQ(icon.format(), QImage::Format_ARGB32);
    int opaque = 0;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 20; ++x) {
        const int a = qAlpha(icon.pixel(x, y));
        ASSERT_TRUE(a == 0 || a == 255);
        opaque += a == 255;
      }
    }
    EXPECT_GT(opaque, 60);
    EXPECT_LT(opaque, 360);
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
  }
  test::ExpectPictureError([] { LogIcon(4); }, "indice 4");
  test::ExpectPictureError([] { LogIcon(-1); }, "indice -1");
}

// Mean colour of the opaque pixels of an icon.
QColor MeanColour(const QImage& icon) {
  double r = 0, g = 0, b = 0;
  int n = 0;
  for (int y = 0; y < icon.height(); ++y) {
    for (int x = 0; x < icon.width(); ++x) {
      const QRgb c = icon.pixel(x, y);
      if (qAlpha(c) == 0) continue;
      r += qRed(c);
      g += qGreen(c);
      b += qBlue(c);
      ++n;
    }
  }
  return QColor(int(r / n), int(g / n), int(b / n));
}

TEST(ShippedPictures, LogIconsHaveTheirColours) {
  const QColor gear = MeanColour(LogIcon(0));
  EXPECT_LT(std::abs(gear.red() - gear.blue()), 20);  // grey
  EXPECT_LT(std::abs(gear.red() - gear.green()), 20);
  const QColor blue = MeanColour(LogIcon(1));
  EXPECT_GT(blue.blue(), blue.red() + 40);
  const QColor pink = MeanColour(LogIcon(3));
  EXPECT_GT(pink.red(), pink.green() + 40);
  EXPECT_GT(pink.blue(), pink.green());
  EXPECT_NE(LogIcon(2), LogIcon(1));
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
  int white = 0, dark = 0;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const QRgb c = icon.pixel(x, y);
      if (qAlpha(c) == 0) continue;
      white += test::Luminance(c) > 240 * 100;
      dark += test::Luminance(c) < 80 * 100;
    }
  }
  EXPECT_GT(white, 300);
  EXPECT_GT(dark, 80);
  if (QImageReader::supportedImageFormats().contains("ico")) {
    EXPECT_EQ(QImage::fromData(stored, "ICO").convertToFormat(QImage::Format_ARGB32), icon);
  }
  const QIcon programIcon = ProgramIcon();
  ASSERT_FALSE(programIcon.isNull());
  EXPECT_EQ(programIcon.pixmap(32, 32).toImage().convertToFormat(QImage::Format_ARGB32), icon);
}

}  // namespace
}  // namespace zerud
