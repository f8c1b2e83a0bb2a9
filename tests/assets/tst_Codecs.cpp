// Round trips and refusals of each stored picture format.
#include <QBuffer>
#include <QImageReader>
#include <QImageWriter>
#include <random>

#include "AssetTestSupport.h"
#include "assets/ArgbCodec.h"
#include "assets/BmpCodec.h"
#include "assets/IcoCodec.h"
#include "assets/IconListCodec.h"
#include "assets/JpegCodec.h"

namespace zerud {
namespace {

using test::ExpectPictureError;
using test::Sample;
using test::Smooth;
using test::WithField;

QByteArray Bytes(std::initializer_list<int> values) {
  QByteArray out;
  for (int v : values) out.append(char(v));
  return out;
}

QByteArray WrittenByQt(const QImage& image, const char* format, bool progressive = false) {
  QByteArray written;
  QBuffer buffer(&written);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  writer.setQuality(95);
  writer.setProgressiveScanWrite(progressive);
  EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
  return written;
}

double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  test::ForEachPixel(a, [&](int x, int y, QRgb p) {
    const QRgb q = b.pixel(x, y);
    sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
           std::abs(qBlue(p) - qBlue(q));
  });
  return sum / (3.0 * a.width() * a.height());
}

TEST(ArgbCodec, StoresWidthHeightThenBgraRowsTopFirstNotPremultiplied) {
  QImage image(2, 2, QImage::Format_ARGB32);
  image.setPixel(0, 0, qRgba(1, 2, 3, 4));
  image.setPixel(1, 0, qRgba(200, 100, 50, 0));  // invisible, colour kept
  image.setPixel(0, 1, qRgba(9, 8, 7, 255));
  image.setPixel(1, 1, qRgba(0, 0, 0, 128));
  const QByteArray stored = EncodeArgb(image);
  EXPECT_EQ(stored, Bytes({2,  0,   0,   0, 2, 0, 0, 0,   3, 2, 1, 4,
                           50, 100, 200, 0, 7, 8, 9, 255, 0, 0, 0, 128}));
  EXPECT_EQ(DecodeArgb(stored, "t"), image);

  const QImage sample = Sample(37, 11, true);
  const QByteArray sampleBytes = EncodeArgb(sample);
  EXPECT_EQ(sampleBytes.size(), 8 + 4 * 37 * 11);
  EXPECT_EQ(DecodeArgb(sampleBytes, "t"), sample);
  // A premultiplied source is stored with its colours restored.
  EXPECT_EQ(DecodeArgb(EncodeArgb(image.convertToFormat(QImage::Format_ARGB32_Premultiplied)), "t")
                .pixel(0, 1),
            qRgba(9, 8, 7, 255));
}

TEST(ArgbCodec, RefusesSizesThatDoNotMatchTheBytes) {
  const QByteArray good = EncodeArgb(Sample(3, 2, true));
  ExpectPictureError([&] { DecodeArgb(good.chopped(1), "a.argb"); }, "a.argb");
  const std::pair<QByteArray, const char*> bad[] = {
      {good + "x", "octets de pixels"},
      {good.left(7), "tronqué"},
      {{}, "tronqué"},
      {Bytes({0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 0, 0}), "hors limites"},
      {Bytes({0, 0, 0, 0, 1, 0, 0, 0}), "hors limites"},
      // 40000 x 40000 would be 6.4 GB: refused from the header alone.
      {Bytes({0x40, 0x9C, 0, 0, 0x40, 0x9C, 0, 0}), "hors limites"}};
  for (const auto& [input, fragment] : bad)
    ExpectPictureError([&] { DecodeArgb(input, "t"); }, fragment);
}

TEST(BmpCodec, RoundTripsEveryRowPaddingAndMatchesQt) {
  for (int width = 1; width <= 6; ++width) {
    SCOPED_TRACE(width);
    const QImage image = Sample(width, 3, false, width);
    const QByteArray bmp = EncodeBmp24(image);
    EXPECT_EQ(bmp.size(), Bmp24FileSize(width, 3));
    EXPECT_EQ(DecodeBmp(bmp, "t"), image);
    EXPECT_EQ(QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32), image);
    const QByteArray prefixed = EncodeLengthPrefixedBmp(image);
    EXPECT_EQ(test::LittleEndian32(prefixed, 0), quint32(bmp.size()));
    EXPECT_EQ(prefixed.sliced(4), bmp);
    EXPECT_EQ(DecodeLengthPrefixedBmp(prefixed, "t"), image);
  }
}

TEST(BmpCodec, ReadsBmpFilesWrittenByQtAndTopDownFiles) {
  const QImage image = Sample(13, 5, false);
  EXPECT_EQ(DecodeBmp(WrittenByQt(image, "BMP"), "t"), image);

  // The same rows stored top row first, announced by a negative height.
  QByteArray topDown = EncodeBmp24(image);
  const qsizetype stride = (13 * 3 + 3) / 4 * 4;
  QByteArray rows;
  for (int y = 4; y >= 0; --y) rows += topDown.mid(54 + y * stride, stride);
  topDown = topDown.left(54) + rows;
  const qint32 negative = -5;
  memcpy(topDown.data() + 22, &negative, 4);
  EXPECT_EQ(DecodeBmp(topDown, "t"), image);
}

TEST(BmpCodec, RefusesWhatItCannotReadSafely) {
  const QByteArray bmp = EncodeBmp24(Sample(5, 4, false));
  const std::pair<QByteArray, const char*> bad[] = {
      {"PM" + bmp.mid(2), "signature"},
      {WithField(bmp, 28, 32, 2), "24 bits"},
      {WithField(bmp, 30, 1), "non compressées"},
      {WithField(bmp, 26, 2, 2), "plans"},
      {WithField(bmp, 14, 12), "trop court"},
      {WithField(bmp, 10, 20), "en-tête"},
      {WithField(bmp, 10, 0xFFFFFFF0u), "décalage"},
      {WithField(bmp, 18, 50000), "hors limites"},
      {WithField(bmp, 22, 0x80000000u), "hors limites"},
      {WithField(bmp, 18, 6), "tronqué"},
      {bmp.chopped(1), "tronqué"}};
  for (const auto& [input, fragment] : bad)
    ExpectPictureError([&] { DecodeBmp(input, "t"); }, fragment);
  const QByteArray prefixed = EncodeLengthPrefixedBmp(Sample(5, 4, false));
  for (const auto& [input, fragment] : {std::pair{prefixed.chopped(1), "longueur"},
                                        {prefixed + "x", "longueur"},
                                        {prefixed.left(3), "tronqué"}})
    ExpectPictureError([&] { DecodeLengthPrefixedBmp(input, "t"); }, fragment);
}

TEST(JpegCodec, RoundTripsAndAgreesWithQt) {
  const QImage image = Smooth(61, 47);
  const QByteArray jpeg = EncodeJpeg(image, 95, {"un", QByteArray(kMaxJpegCommentBytes, 'x')});
  const QImage decoded = DecodeJpeg(jpeg, "t");
  EXPECT_EQ(decoded.format(), QImage::Format_RGB32);
  ASSERT_EQ(decoded.size(), image.size());
  EXPECT_LT(MeanDifference(decoded, image), 2.0);
  EXPECT_TRUE(jpeg.contains(QByteArray("\xFF\xFE\x00\x04un", 6)));
  EXPECT_GT(jpeg.size(), kMaxJpegCommentBytes);
  if (QImageReader::supportedImageFormats().contains("jpeg")) {
    const QImage byQt = QImage::fromData(jpeg, "JPEG").convertToFormat(QImage::Format_RGB32);
    EXPECT_LT(MeanDifference(byQt, decoded), 1.0);
  }
  ExpectPictureError([&] { EncodeJpeg(image, 90, {QByteArray(kMaxJpegCommentBytes + 1, 'x')}); },
                     "commentaire");
}

// A background picture replaced by the player may be grey or progressive.
TEST(JpegCodec, ReadsGreyAndProgressiveFilesWrittenByQt) {
  if (!QImageWriter::supportedImageFormats().contains("jpeg")) {
    GTEST_SKIP() << "this Qt has no JPEG writer";
  }
  const QImage colour = Smooth(40, 30);
  for (const bool progressive : {false, true}) {
    for (const bool grey : {false, true}) {
      SCOPED_TRACE(testing::Message() << "progressive " << progressive << " grey " << grey);
      const QImage source = grey ? colour.convertToFormat(QImage::Format_Grayscale8) : colour;
      const QImage decoded = DecodeJpeg(WrittenByQt(source, "JPEG", progressive), "t");
      ASSERT_EQ(decoded.size(), source.size());
      EXPECT_LT(MeanDifference(decoded, source.convertToFormat(QImage::Format_RGB32)), 3.0);
    }
  }
}

TEST(JpegCodec, DamagedFilesGiveAClearErrorInsteadOfEndingTheProgram) {
  const QByteArray jpeg = EncodeJpeg(Smooth(64, 64), 90);
  ExpectPictureError([&] { DecodeJpeg(jpeg.left(jpeg.size() / 2), "bg.jpg"); }, "tronqué");
  ExpectPictureError([&] { DecodeJpeg(jpeg.chopped(2), "bg.jpg"); }, "bg.jpg");
  ExpectPictureError([] { DecodeJpeg("GIF89a............", "t"); }, "pas un fichier JPEG");
  ExpectPictureError([] { DecodeJpeg({}, "t"); }, "vide");
  ExpectPictureError([&] { DecodeJpeg(jpeg.left(2), "t"); }, "illisible");
  // A frame header announcing 60000 x 60000 pixels is refused before decoding.
  QByteArray huge = jpeg;
  const qsizetype frame = huge.indexOf("\xFF\xC0");
  ASSERT_GT(frame, 0);
  huge[frame + 5] = char(0xEA);
  huge[frame + 6] = char(0x60);
  huge[frame + 7] = char(0xEA);
  huge[frame + 8] = char(0x60);
  ExpectPictureError([&] { DecodeJpeg(huge, "t"); }, "hors limites");
  // Stray bytes between two segments are skipped, as every viewer does.
  QByteArray stray = jpeg;
  stray.insert(stray.size() - 2, "\x01\x02\x03");
  EXPECT_EQ(DecodeJpeg(stray, "t"), DecodeJpeg(jpeg, "t"));
  // Damage in the middle of the entropy-coded data.
  QByteArray corrupt = jpeg;
  for (qsizetype i = corrupt.size() / 2; i < corrupt.size() / 2 + 40; ++i) corrupt[i] = char(0xFF);
  EXPECT_THROW(DecodeJpeg(corrupt, "t"), TPictureError);
}

TEST(IconListCodec, RoundTripsIconsAndTheirMasks) {
  QList<QImage> icons;
  for (int i = 0; i < 5; ++i) {
    QImage icon = Sample(7, 6, true, 100 + i);  // with a one-bit mask
    test::ForEachPixel(icon, [&](int x, int y, QRgb c) {
      icon.setPixel(x, y, qAlpha(c) < 128 ? 0u : (c | 0xFF000000u));
    });
    icons.append(icon);
  }
  const QByteArray stored = EncodeIconList(icons, {9, 4, 4});
  // 4 icons a row, 9 places: a 28 x 18 colour plane, mask rows of 4 bytes.
  EXPECT_EQ(stored.size(), 20 + 28 * 18 * 4 + 4 * 18);
  EXPECT_EQ(DecodeIconList(stored, "t"), icons);
  ExpectPictureError([&] { EncodeIconList({icons[0], Sample(3, 3, true)}); }, "tailles");
  ExpectPictureError([&] { EncodeIconList(icons, {4, 4, 4}); }, "disposition");
}

TEST(IconListCodec, RefusesInconsistentHeaders) {
  const QByteArray stored = EncodeIconList({Sample(4, 4, false), Sample(4, 4, false)}, {3, 2, 2});
  const std::pair<QByteArray, const char*> bad[] = {
      {"ZIL2" + stored.mid(4), "liste d'icônes"},
      {WithField(stored, 4, 4, 2), "disposition"},   // more icons than places
      {WithField(stored, 14, 0, 2), "disposition"},  // no icon a row
      {WithField(stored, 10, 0, 2), "hors limites"},
      {WithField(stored, 10, 5, 2), "taille des plans"},
      {stored.chopped(1), "taille des plans"},
      {stored.left(10), "tronqué"}};
  for (const auto& [input, fragment] : bad)
    ExpectPictureError([&] { DecodeIconList(input, "t"); }, fragment);
}

TEST(IcoCodec, RoundTripsA256ColourIconWithItsMask) {
  QImage image(19, 17, QImage::Format_ARGB32);
  test::ForEachPixel(image, [&](int x, int y, QRgb) {
    image.setPixel(x, y, (x + y) % 5 == 0 ? 0u : qRgb(x % 8 * 30, y % 6 * 40, 77));
  });
  const QByteArray ico = EncodeIco8(image);
  EXPECT_EQ(DecodeIco(ico, "t"), image);
  if (QImageReader::supportedImageFormats().contains("ico")) {
    EXPECT_EQ(QImage::fromData(ico, "ICO").convertToFormat(QImage::Format_ARGB32), image);
  }
  ExpectPictureError([] { EncodeIco8(Sample(20, 20, false)); }, "256 couleurs");
}

TEST(IcoCodec, RefusesWhatItCannotReadSafely) {
  QImage image(8, 8, QImage::Format_ARGB32);
  image.fill(qRgb(10, 20, 30));
  const QByteArray ico = EncodeIco8(image);
  const std::pair<QByteArray, const char*> bad[] = {
      {WithField(ico, 2, 2, 2), "pas une icône"},
      {WithField(ico, 4, 0, 2), "nombre d'images"},
      {WithField(ico, 18, 4), "répertoire"},
      {WithField(ico, 14, 0xFFFFFF00u), "tronqué"},
      {WithField(ico, 22 + 14, 32, 2), "256 couleurs"},
      {WithField(ico, 22 + 8, 15), "hauteur"},
      {WithField(ico, 22 + 4, 9), "différentes"},
      // One palette entry: the pixels, index 1, lie outside it.
      {WithField(ico, 22 + 32, 1), "hors de la palette"},
      {WithField(ico, 22 + 32, 257), "palette"},
      {ico.chopped(1), "tronqué"}};
  for (const auto& [input, fragment] : bad)
    ExpectPictureError([&] { DecodeIco(input, "t"); }, fragment);
}

}  // namespace
}  // namespace zerud
