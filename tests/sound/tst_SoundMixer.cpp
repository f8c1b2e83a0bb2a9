#include <gtest/gtest.h>

#include <QFile>

#include "sound/Sound.h"
#include "sound/SoundMixer.h"

namespace zerud {
namespace {

std::shared_ptr<const TSamples> Samples(TSamples samples) {
  return std::make_shared<const TSamples>(std::move(samples));
}

// Reads of `sizes` samples each, one after the other.
TSamples Play(std::vector<TVoice>& voices, const std::vector<std::size_t>& sizes) {
  TSamples out;
  for (std::size_t size : sizes) {
    TSamples part(size, 12345);
    MixVoices(voices, part.data(), size);
    out.insert(out.end(), part.begin(), part.end());
  }
  return out;
}

// Every voice plays whole, over as many reads as it takes, added to those
// that overlap it, held within 16 bits, silence where none plays.
TEST(MixVoices, OverlappingSoundsAreAddedAndEachPlaysToItsEnd) {
  std::vector<TVoice> voices = {{Samples({1, 2, 3, 4, 5}), 0}, {Samples({10, 20}), 0}};
  EXPECT_EQ(Play(voices, {1, 3}), (TSamples{11, 22, 3, 4}));
  EXPECT_EQ(voices.size(), 1u);
  // A sound started while another plays.
  voices.push_back({Samples({100, 100, 100}), 0});
  EXPECT_EQ(Play(voices, {2, 3}), (TSamples{105, 100, 100, 0, 0}));
  EXPECT_TRUE(voices.empty());

  voices = {{Samples({30000, -30000, 7}), 0}, {Samples({30000, -30000}), 0}};
  EXPECT_EQ(Play(voices, {3}), (TSamples{32767, -32768, 7}));
  EXPECT_TRUE(voices.empty());
  EXPECT_EQ(Play(voices, {2}), (TSamples{0, 0}));
}

TEST(ReadWavSamples, TheGamesSoundsAndNothingElse) {
  for (TSound sound : kAllSounds) {
    QFile file(QStringLiteral(ZERUD_SOUNDS "/") + SoundFileName(sound));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const TSamples samples = ReadWavSamples(bytes);
    EXPECT_EQ(samples.size() * 2 + 44, static_cast<std::size_t>(bytes.size()));
    // Each ends in silence, which the output plays out before it stops.
    EXPECT_EQ(samples.back(), 0);
    QByteArray stereo = bytes;
    stereo[22] = 2;
    EXPECT_TRUE(ReadWavSamples(stereo).empty());
    EXPECT_TRUE(ReadWavSamples(bytes.left(43)).empty());
  }
  QByteArray shortData = "RIFF....WAVEfmt ";
  EXPECT_TRUE(ReadWavSamples(shortData).empty());
}

}  // namespace
}  // namespace zerud
