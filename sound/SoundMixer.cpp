#include "sound/SoundMixer.h"

#include <QtEndian>
#include <algorithm>
#include <limits>

namespace zerud {

void MixVoices(std::vector<TVoice>& voices, std::int16_t* out, std::size_t count) {
  std::vector<std::int32_t> sum(count, 0);
  for (TVoice& voice : voices) {
    const TSamples& samples = *voice.Samples;
    const std::size_t n = std::min(count, samples.size() - voice.Next);
    for (std::size_t i = 0; i < n; ++i) sum[i] += samples[voice.Next + i];
    voice.Next += n;
  }
  constexpr std::int32_t low = std::numeric_limits<std::int16_t>::min();
  constexpr std::int32_t high = std::numeric_limits<std::int16_t>::max();
  for (std::size_t i = 0; i < count; ++i)
    out[i] = static_cast<std::int16_t>(std::clamp(sum[i], low, high));
  std::erase_if(voices, [](const TVoice& voice) { return voice.Next >= voice.Samples->size(); });
}

TSamples ReadWavSamples(const QByteArray& file) {
  constexpr qsizetype kHeader = 44;
  if (file.size() < kHeader || !file.startsWith("RIFF") || file.mid(8, 8) != "WAVEfmt ") return {};
  const auto* bytes = reinterpret_cast<const uchar*>(file.constData());
  const bool pcm = qFromLittleEndian<quint16>(bytes + 20) == 1;
  const bool mono = qFromLittleEndian<quint16>(bytes + 22) == 1;
  const bool rate = qFromLittleEndian<quint32>(bytes + 24) == TSoundMixer::kRate;
  const bool bits = qFromLittleEndian<quint16>(bytes + 34) == 16;
  if (!pcm || !mono || !rate || !bits || file.mid(36, 4) != "data") return {};
  const qsizetype size =
      std::min<qsizetype>(qFromLittleEndian<quint32>(bytes + 40), file.size() - kHeader) / 2;
  TSamples samples(static_cast<std::size_t>(size));
  for (qsizetype i = 0; i < size; ++i)
    samples[static_cast<std::size_t>(i)] = qFromLittleEndian<qint16>(bytes + kHeader + 2 * i);
  return samples;
}

void TSoundMixer::Start(std::shared_ptr<const TSamples> samples) {
  if (!samples || samples->empty()) return;
  voices_.push_back({std::move(samples), 0});
  quiet_ = 0;
}

void TSoundMixer::Read(std::int16_t* out, std::size_t count) {
  if (!Playing()) quiet_ += count;
  MixVoices(voices_, out, count);
}

}  // namespace zerud
