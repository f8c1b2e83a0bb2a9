#include <QSignalSpy>
#include <QTest>
#include <cmath>

#include "TestPictures.h"
#include "game/board/Blend.h"
#include "game/board/LayeredImage.h"

using namespace zerud;

namespace {

constexpr QRgb kNavy = TLayeredImage::kBackgroundColour;

QImage Solid(int w, int h, QRgb argb) {
  QImage image(w, h, QImage::Format_ARGB32);
  image.fill(argb);
  return image;
}

TImageLayer* AddSolid(TLayeredImage& img, int w, int h, QRgb argb, double x, double y) {
  TImageLayer* layer = img.AddLayer();
  layer->SetImage(Solid(w, h, argb));
  layer->SetLocationAt(x, y);
  return layer;
}

// Largest difference of one colour channel.
int ChannelDistance(QRgb a, QRgb b) {
  return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                   std::abs(qBlue(a) - qBlue(b))});
}

QRgb Expected(QRgb below, QRgb above, int weight) {
  auto mix = [&](int d, int s) {
    return static_cast<int>(std::lround(d + (s - d) * weight / 255.0));
  };
  return qRgb(mix(qRed(below), qRed(above)), mix(qGreen(below), qGreen(above)),
              mix(qBlue(below), qBlue(above)));
}

}  // namespace

class TestLayeredImage : public QObject {
  Q_OBJECT

 private slots:
  // Every weight against channel values spread over 0..255: one lane must
  // never spill into the next, and the result is the rounded mix.
  void mixPixelStaysWithinRounding() {
    const int values[] = {0, 1, 17, 127, 128, 200, 254, 255};
    for (int w = 0; w <= 255; ++w) {
      for (int s : values) {
        for (int d : values) {
          const QRgb src = qRgba(s, 255 - s, s, 77);
          const QRgb dst = qRgb(d, d, 255 - d);
          const QRgb got = MixPixel(src, dst, w);
          QVERIFY2(ChannelDistance(got, Expected(dst, src, w)) <= 1 && qAlpha(got) == 255,
                   qPrintable(QStringLiteral("w=%1 s=%2 d=%3").arg(w).arg(s).arg(d)));
        }
      }
    }
    QCOMPARE(MixPixel(0xFF123456, 0xFF654321, 255), 0xFF123456u);
    QCOMPARE(MixPixel(0xFF123456, 0xFF654321, 0), 0xFF654321u);
  }

  // The row loops (several pixels at a time where the processor allows) give
  // exactly the pixel mix with the weight formula, tails included.
  void rowBlendsMatchThePixelMix() {
    quint32 seed = 12345;
    auto next = [&] { return seed = seed * 1664525u + 1013904223u; };
    for (int master : {0, 1, 100, 210, 254, 255, 256}) {
      for (int count = 0; count <= 11; ++count) {
        std::vector<QRgb> src(count), below(count);
        for (int i = 0; i < count; ++i) {
          src[i] = next();
          below[i] = next() | 0xFF000000u;
        }
        std::vector<QRgb> byAlpha = below, byWeight = below;
        BlendByAlpha(byAlpha.data(), src.data(), count, master);
        const unsigned weight = next() % 256;
        BlendByWeight(byWeight.data(), src.data(), count, weight);
        for (int i = 0; i < count; ++i) {
          QCOMPARE(byAlpha[i], MixPixel(src[i], below[i], BlendWeight(master, qAlpha(src[i]))));
          QCOMPARE(byWeight[i], MixPixel(src[i], below[i], weight));
        }
      }
    }
  }

  // W = ((M + 1) x A) div 256, exact at the ends, within 2 in between.
  void blendWeight_data() {
    QTest::addColumn<int>("master");
    QTest::addColumn<int>("alpha");
    QTest::addColumn<int>("weight");
    QTest::addColumn<bool>("exact");
    QTest::newRow("M=0 hides") << 0 << 255 << 0 << true;
    QTest::newRow("M=255 opaque") << 255 << 255 << 255 << true;
    QTest::newRow("M=256 opaque") << 256 << 255 << 255 << true;
    QTest::newRow("M=256 transparent") << 256 << 0 << 0 << true;
    QTest::newRow("M=0 transparent") << 0 << 0 << 0 << true;
    QTest::newRow("M=210 opaque") << 210 << 255 << 210 << false;
    QTest::newRow("M=100 half") << 100 << 128 << 50 << false;
    QTest::newRow("M=256 half") << 256 << 128 << 128 << false;
  }
  void blendWeight() {
    QFETCH(int, master);
    QFETCH(int, alpha);
    QFETCH(int, weight);
    QFETCH(bool, exact);
    QCOMPARE(BlendWeight(master, alpha), weight);

    const QRgb below = qRgb(10, 200, 30);
    const QRgb colour = qRgb(250, 20, 100);
    TLayeredImage img;
    img.SetPicture(Solid(800, 600, below));
    AddSolid(img, 10, 10, (colour & 0x00FFFFFFu) | (QRgb(alpha) << 24), 100, 50)
        ->SetMasterAlpha(master);
    const QImage& out = img.Composed();
    const QRgb got = out.pixel(105, 55);
    QVERIFY2(exact ? got == Expected(below, colour, weight)
                   : ChannelDistance(got, Expected(below, colour, weight)) <= 2,
             qPrintable(QString::number(got, 16)));
    QCOMPARE(out.pixel(99, 55), below);
    QCOMPARE(out.pixel(110, 55), below);
  }

  // The picture at (0, 0) on navy, cut at the edges, not scaled.
  void backgroundPictureOnNavy() {
    TLayeredImage img;
    QCOMPARE(img.Composed().pixel(400, 300), kNavy);
    img.SetPicture(Solid(300, 200, qRgb(1, 2, 3)));
    QCOMPARE(img.Composed().pixel(299, 199), qRgb(1, 2, 3));
    QCOMPARE(img.Composed().pixel(300, 10), kNavy);
    QCOMPARE(img.Composed().pixel(10, 200), kNavy);
    QImage big = Solid(900, 700, qRgb(9, 9, 9));
    big.setPixel(799, 599, qRgb(200, 100, 50));
    img.SetPicture(big);
    QCOMPARE(img.Composed().pixel(799, 599), qRgb(200, 100, 50));
    QCOMPARE(img.Composed().pixel(798, 599), qRgb(9, 9, 9));
  }

  // Later layers draw over earlier ones; MoveLayer clamps the position; a
  // freed layer leaves nothing behind.
  void layerOrder() {
    TLayeredImage img;
    TImageLayer* a = AddSolid(img, 20, 20, 0xFFFF0000, 0, 0);
    img.MoveLayer(a, 1);  // the only layer stays at 0
    QCOMPARE(img.IndexOfLayer(a), 0);
    TImageLayer* b = AddSolid(img, 20, 20, 0xFF00FF00, 10, 10);
    TImageLayer* c = img.AddLayer();
    QCOMPARE(img.Composed().pixel(15, 15), qRgb(0, 255, 0));
    img.MoveLayer(b, 0);
    QCOMPARE(img.Composed().pixel(15, 15), qRgb(255, 0, 0));
    QCOMPARE(img.Composed().pixel(25, 25), qRgb(0, 255, 0));
    img.MoveLayer(b, 100);
    QCOMPARE(img.Layer(0), a);
    QCOMPARE(img.Layer(1), c);
    QCOMPARE(img.Layer(2), b);
    img.MoveLayer(b, -5);
    QCOMPARE(img.Layer(0), b);
    QCOMPARE(img.Layer(3), nullptr);
    img.FreeLayer(a);
    img.FreeLayer(nullptr);
    QCOMPARE(img.LayerCount(), 2);
    QCOMPARE(img.Composed().pixel(5, 5), kNavy);
  }

  // Clamped to 0..256: far above, the layer is opaque rather than wrapping.
  void masterAlphaIsClamped() {
    TLayeredImage img;
    TImageLayer* layer = AddSolid(img, 4, 4, 0xFF336699, 0, 0);
    layer->SetMasterAlpha(-3);
    QCOMPARE(layer->MasterAlpha(), 0);
    QCOMPARE(img.Composed().pixel(1, 1), kNavy);
    layer->SetMasterAlpha(100000);
    QCOMPARE(layer->MasterAlpha(), 256);
    QCOMPARE(img.Composed().pixel(1, 1), qRgb(0x33, 0x66, 0x99));
  }

  void pieceShowsThroughTheGridHole() {
    TLayeredImage img;
    TImageLayer* piece = img.AddLayer();
    TImageLayer* grid = img.AddLayer();
    piece->SetImage(test::Piece(test::kRed));
    grid->SetImage(test::Grid());
    grid->SetLocationAt(266, 149);
    piece->SetLocationAt(266, 499);  // bottom row, column 0
    piece->SetMasterAlpha(210);
    const QImage& out = img.Composed();
    // The hole shows the piece at master alpha 210 over navy; the frame is
    // the grid's own blue over the piece too; the next hole and above the
    // grid show navy.
    QVERIFY(ChannelDistance(out.pixel(266 + 34, 499 + 34),
                            Expected(kNavy, test::kRed, BlendWeight(210, 255))) <= 2);
    QCOMPARE(out.pixel(266 + 2, 499 + 34), test::kGridBlue);
    QCOMPARE(out.pixel(336 + 34, 499 + 34), kNavy);
    QCOMPARE(out.pixel(300, 100), kNavy);
  }

  void locationsRoundAndStretch() {
    TLayeredImage img;
    TImageLayer* layer = AddSolid(img, 10, 10, 0xFFFFFFFF, 20.4, 30.6);
    QCOMPARE(layer->PixelRect(), QRect(20, 31, 10, 10));
    QCOMPARE(img.Composed().pixel(20, 31), qRgb(255, 255, 255));
    QCOMPARE(img.Composed().pixel(19, 31), kNavy);
    QCOMPARE(img.Composed().pixel(20, 30), kNavy);
    // Stretched to twice its size: the left half of the picture fills 40 pixels.
    QImage halves = Solid(20, 10, 0xFF0000FF);
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 10; ++x) halves.setPixel(x, y, 0xFFFF0000);
    layer->SetImage(halves);
    layer->SetLocation({100, 100, 140, 120});
    QCOMPARE(img.Composed().pixel(119, 119), qRgb(255, 0, 0));
    QCOMPARE(img.Composed().pixel(120, 100), qRgb(0, 0, 255));
    QCOMPARE(img.Composed().pixel(139, 110), qRgb(0, 0, 255));
    QCOMPARE(img.Composed().pixel(140, 110), kNavy);
  }

  // The cache is recomposed only where something changed; after any sequence
  // of changes it must equal a surface composed from scratch.
  void cacheFollowsEveryChange() {
    QImage picture = Solid(640, 480, 0);
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x) picture.setPixel(x, y, qRgb(x % 256, y % 256, (x ^ y) % 256));
    TLayeredImage img;
    img.SetPicture(picture);
    std::vector<TImageLayer*> pieces;
    for (int i = 0; i < 8; ++i) {
      pieces.push_back(img.AddLayer());
      pieces.back()->SetImage(test::Piece(i % 2 ? test::kRed : test::kYellow));
      pieces.back()->SetLocationAt(266 + 70 * (i % 7), 69);
    }
    TImageLayer* grid = img.AddLayer();
    grid->SetImage(test::Grid());
    grid->SetLocationAt(266, 149);
    img.Composed();
    for (int step = 0; step < 40; ++step) {
      pieces[step % 8]->SetLocationAt(266 + 70 * (step % 7), 69 + 13 * step);
      pieces[(step + 3) % 8]->SetMasterAlpha(32 * (step % 9));
      if (step % 5 == 0) img.MoveLayer(pieces[step % 8], step % 3);
      if (step % 7 == 0) grid->SetMasterAlpha(8 * (step % 32));
      if (step % 3 == 0) img.Composed();
    }
    const QImage incremental = img.Composed().copy();
    img.Compose(QRect(0, 0, 800, 600));
    QCOMPARE(incremental, img.Composed());
  }

  // A change paints nothing until Flush, which paints the changed rectangle
  // within the call; a Flush with nothing changed paints no frame.
  void flushPaintsTheChangedRectangleAtOnce() {
    TLayeredImage img;
    TImageLayer* layer = img.AddLayer();
    layer->SetImage(test::Piece(test::kYellow));
    layer->SetLocationAt(266, 69);
    img.show();
    QVERIFY(QTest::qWaitForWindowExposed(&img));
    QCoreApplication::processEvents();
    QSignalSpy painted(&img, &TLayeredImage::Painted);
    layer->SetLocationAt(266, 71);
    QCOMPARE(painted.count(), 0);
    img.Flush();
    QCOMPARE(painted.count(), 1);
    const QRect area = painted.at(0).at(0).toRect();
    QVERIFY(area.contains(QRect(266, 69, 70, 72)) && area.height() <= 80);
    img.Flush();
    QCOMPARE(painted.count(), 1);
    const QImage shown = img.grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.pixel(266 + 34, 71 + 34), test::kYellow);
    QCOMPARE(shown.pixel(266 + 34, 69), kNavy);
  }
};

QTEST_MAIN(TestLayeredImage)
#include "tst_LayeredImage.moc"
