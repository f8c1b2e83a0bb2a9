// Every sound is a sum of plain partials under an envelope, computed in
// double precision and rounded once: the same samples on every run.
#include "SoundArt.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "assets/ByteReader.h"

namespace zerud::art {

namespace {

using TSignal = std::vector<double>;

int SampleCount(double seconds) { return qRound(seconds * kSoundRate); }

// A tone of `seconds` with a 4 ms attack and an exponential decay: no click
// at either end, since it reaches silence by its last sample.
TSignal Tone(double seconds, double frequency, double amplitude, double decay,
             double overtone = 0.25) {
  const int count = SampleCount(seconds);
  TSignal out(count);
  const double attack = 0.004 * kSoundRate;
  for (int i = 0; i < count; ++i) {
    const double t = double(i) / kSoundRate;
    const double phase = 2 * std::numbers::pi * frequency * t;
    const double rise = std::min(1.0, i / attack);
    const double fall = std::exp(-t / decay) * (1.0 - double(i) / count);
    out[i] = amplitude * rise * fall * (std::sin(phase) + overtone * std::sin(2 * phase));
  }
  return out;
}

// Notes one after another, each `step` after the last, overlapping as they ring.
TSignal Melody(std::initializer_list<double> frequencies, double step, double last,
               double amplitude) {
  TSignal out(SampleCount(step * (frequencies.size() - 1) + last), 0.0);
  int start = 0;
  int index = 0;
  for (const double frequency : frequencies) {
    const bool final = ++index == int(frequencies.size());
    const TSignal note = Tone(final ? last : step * 1.6, frequency, amplitude, final ? 0.16 : 0.08);
    for (std::size_t i = 0; i < note.size() && start + i < out.size(); ++i)
      out[start + i] += note[i];
    start += SampleCount(step);
  }
  return out;
}

// The piece's knock on the grid: a low body and a short bright tick.
TSignal Landing() {
  TSignal out = Tone(0.09, 150, 0.55, 0.022, 0.6);
  const TSignal tick = Tone(0.025, 1900, 0.18, 0.005, 0.0);
  for (std::size_t i = 0; i < tick.size(); ++i) out[i] += tick[i];
  return out;
}

// Qt's sound player on PulseAudio drops the last period it writes (2,048
// frames here, more on a server with a longer latency): each sound ends in
// silence of its own, so what is dropped is never heard.
constexpr double kSilentTail = 0.1;

std::vector<qint16> Quantise(const TSignal& signal) {
  std::vector<qint16> out(signal.size() + SampleCount(kSilentTail), 0);
  std::transform(signal.begin(), signal.end(), out.begin(),
                 [](double v) { return qint16(std::lround(std::clamp(v, -1.0, 1.0) * 32767)); });
  return out;
}

}  // namespace

QList<TSoundArt> DrawSounds() {
  // C major up for a win, down in minor for a loss, the same note twice for
  // a draw; a soft high pair for the chat.
  return {
      {QStringLiteral("landing.wav"), Quantise(Landing())},
      {QStringLiteral("won.wav"),
       Quantise(Melody({523.25, 659.26, 783.99, 1046.50}, 0.11, 0.34, 0.3))},
      {QStringLiteral("lost.wav"),
       Quantise(Melody({392.00, 311.13, 261.63, 196.00}, 0.15, 0.36, 0.3))},
      {QStringLiteral("draw.wav"), Quantise(Melody({440.00, 440.00}, 0.2, 0.22, 0.3))},
      {QStringLiteral("chat.wav"), Quantise(Melody({1318.51, 1760.00}, 0.06, 0.09, 0.18))},
  };
}

QByteArray EncodeWav(const std::vector<qint16>& samples, int rate) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  QByteArray out;
  out.append("RIFF");
  PutU32(out, 36 + dataBytes);
  out.append("WAVEfmt ");
  PutU32(out, 16);
  PutU16(out, 1);  // PCM
  PutU16(out, 1);  // mono
  PutU32(out, static_cast<std::uint32_t>(rate));
  PutU32(out, static_cast<std::uint32_t>(rate) * 2);
  PutU16(out, 2);
  PutU16(out, 16);
  out.append("data");
  PutU32(out, dataBytes);
  for (const qint16 sample : samples) PutU16(out, static_cast<quint16>(sample));
  return out;
}

}  // namespace zerud::art
