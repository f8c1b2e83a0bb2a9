// The game's sounds mixed into one stream, so that every sound started is
// heard whole: a knock that starts while the last one still sounds, or the
// result's tune over the last knock, adds to it instead of cutting it off.
#pragma once

#include <QByteArray>
#include <cstdint>
#include <memory>
#include <vector>

namespace zerud {

// Samples of one sound: mono, 16-bit, 44.1 kHz.
using TSamples = std::vector<std::int16_t>;

// A sound under way: its samples and the next one to play.
struct TVoice {
  std::shared_ptr<const TSamples> Samples;
  std::size_t Next = 0;
};

// Writes the next `count` samples of all voices, added and held within the
// 16-bit range, into out (silence where none plays), moves each voice on
// and drops those that have ended.
void MixVoices(std::vector<TVoice>& voices, std::int16_t* out, std::size_t count);

// The samples of a canonical WAV file (RIFF, PCM, mono, 16-bit, 44.1 kHz);
// empty for any other content.
TSamples ReadWavSamples(const QByteArray& file);

// The voices under way, read as one stream: their mix, silence between
// them; the stream never ends.
class TSoundMixer {
 public:
  static constexpr int kRate = 44100;

  void Start(std::shared_ptr<const TSamples> samples);
  bool Playing() const { return !voices_.empty(); }
  // Samples of silence read since the last voice ended.
  std::size_t QuietSamples() const { return quiet_; }
  // The next `count` samples of the stream.
  void Read(std::int16_t* out, std::size_t count);

 private:
  std::vector<TVoice> voices_;
  std::size_t quiet_ = 0;
};

}  // namespace zerud
