// Thousands of damaged inputs for every decoder: each must either give a
// picture within the size limits or throw TPictureError, never crash, read
// out of bounds or throw anything else. Runs under the sanitizers too.
#include <functional>
#include <random>
#include <vector>

#include "AssetTestSupport.h"
#include "assets/ArgbCodec.h"
#include "assets/BmpCodec.h"
#include "assets/IcoCodec.h"
#include "assets/IconListCodec.h"
#include "assets/JpegCodec.h"

namespace zerud {
namespace {

using TDecoder = std::function<QList<QImage>(const QByteArray&)>;

QList<QImage> One(const QImage& image) { return {image}; }

const TDecoder kJpeg = [](const QByteArray& b) { return One(DecodeJpeg(b, "t")); };
const TDecoder kBmp = [](const QByteArray& b) { return One(DecodeLengthPrefixedBmp(b, "t")); };
const TDecoder kPlainBmp = [](const QByteArray& b) { return One(DecodeBmp(b, "t")); };
const TDecoder kArgb = [](const QByteArray& b) { return One(DecodeArgb(b, "t")); };
const TDecoder kIco = [](const QByteArray& b) { return One(DecodeIco(b, "t")); };
const TDecoder kIconList = [](const QByteArray& b) { return DecodeIconList(b, "t"); };

// Values that break careless size arithmetic.
constexpr quint32 kNastyWords[] = {
    0,      1,     2,     0x7F,       0x80,       0xFF,       0x100,      0x7FFF,     0x8000,
    0xFFFF, 10000, 10001, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFFFFFE, 0x40000000, 0x20000000};

QByteArray Mutate(const QByteArray& seed, std::mt19937& random) {
  QByteArray data = seed;
  const int edits = 1 + int(random() % 6);
  for (int e = 0; e < edits && !data.isEmpty(); ++e) {
    const qsizetype at = qsizetype(random() % quint32(data.size()));
    switch (random() % 7) {
      case 0:  // one bit
        data[at] = char(data[at] ^ (1 << (random() % 8)));
        break;
      case 1:  // one byte
        data[at] = char(random() % 256);
        break;
      case 2: {  // a 32-bit field, most often in the header
        const qsizetype field = random() % 2 ? at : qsizetype(random() % 64);
        const quint32 word = kNastyWords[random() % std::size(kNastyWords)];
        for (int i = 0; i < 4 && field + i < data.size(); ++i) {
          data[field + i] = char((word >> (8 * i)) & 0xFF);
        }
        break;
      }
      case 3:  // a 16-bit field
        data[at] = char(random() % 2 ? 0xFF : 0x00);
        if (at + 1 < data.size()) data[at + 1] = char(random() % 256);
        break;
      case 4:  // cut a piece out
        data.remove(at, qsizetype(random() % 64));
        break;
      case 5:  // repeat a piece
        data.insert(at, data.mid(at, qsizetype(random() % 64)));
        break;
      default:  // truncate
        data.truncate(at);
        break;
    }
  }
  return data;
}

// Feeds one input; counts decoded pictures, fails on anything but TPictureError.
void Feed(const TDecoder& decode, const QByteArray& input, int& accepted) {
  try {
    for (const QImage& image : decode(input)) {
      ASSERT_FALSE(image.isNull());
      ASSERT_LE(image.width(), kMaxPictureSide);
      ASSERT_LE(image.height(), kMaxPictureSide);
    }
    ++accepted;
  } catch (const TPictureError&) {
  } catch (const std::exception& other) {
    FAIL() << "unexpected error: " << other.what();
  }
}

void Hammer(const TDecoder& decode, const std::vector<QByteArray>& seeds, int mutations,
            unsigned seedValue) {
  std::mt19937 random(seedValue);
  int accepted = 0;
  for (const QByteArray& seed : seeds) {
    // Every truncation of small inputs, a spread of them for large ones.
    const qsizetype step = std::max<qsizetype>(1, seed.size() / 400);
    for (qsizetype length = 0; length < seed.size(); length += step) {
      Feed(decode, seed.left(length), accepted);
    }
    Feed(decode, seed, accepted);
    for (int i = 0; i < mutations; ++i) Feed(decode, Mutate(seed, random), accepted);
  }
  // The unchanged seeds at least must decode.
  EXPECT_GE(accepted, int(seeds.size()));
}

TEST(MutatedInput, JpegDecoder) {
  Hammer(kJpeg,
         {EncodeJpeg(test::Sample(24, 17, false), 80), EncodeJpeg(test::Sample(9, 40, false), 30)},
         2500, 1);
  // The real pictures, cut short and damaged.
  Hammer(kJpeg, {test::EmbeddedBytes("splash.jpg")}, 150, 2);
}

TEST(MutatedInput, LengthPrefixedBmpDecoder) {
  Hammer(kBmp,
         {EncodeLengthPrefixedBmp(test::Sample(7, 5, false)),
          test::EmbeddedBytes("button_reseau_normal.lbmp")},
         2500, 3);
  Hammer(kPlainBmp, {EncodeBmp24(test::Sample(5, 3, false))}, 2500, 4);
}

TEST(MutatedInput, ArgbDecoder) {
  Hammer(kArgb,
         {EncodeArgb(test::Sample(6, 4, true)), test::EmbeddedBytes("listebmp1_yellow.argb")}, 2500,
         5);
}

TEST(MutatedInput, IconDecoders) {
  Hammer(kIco, {test::EmbeddedBytes("program.ico")}, 4000, 6);
  Hammer(kIconList, {test::EmbeddedBytes("log_icons.zil")}, 4000, 7);
}

}  // namespace
}  // namespace zerud
