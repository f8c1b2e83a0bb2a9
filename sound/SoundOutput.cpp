#include "sound/SoundOutput.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QTimer>

namespace zerud {

TSoundOutput::TSoundOutput(const QAudioDevice& device,
                           std::vector<std::shared_ptr<const TSamples>> sounds)
    : device_(device), sounds_(std::move(sounds)) {}

void TSoundOutput::Open() {
  QAudioFormat format;
  format.setSampleRate(TSoundMixer::kRate);
  format.setChannelCount(1);
  format.setSampleFormat(QAudioFormat::Int16);
  output_ = new QAudioSink(device_, format, this);
  output_->setBufferSize(format.bytesForDuration(kAheadMs * 1000));
  feed_ = new QTimer(this);
  feed_->setTimerType(Qt::PreciseTimer);
  feed_->setInterval(kFeedMs);
  connect(feed_, &QTimer::timeout, this, &TSoundOutput::Feed);
}

void TSoundOutput::Play(int sound) {
  if (output_ == nullptr || sound < 0 || sound >= static_cast<int>(sounds_.size())) return;
  mixer_.Start(sounds_[static_cast<std::size_t>(sound)]);
  if (stream_ == nullptr || output_->state() == QAudio::StoppedState) {
    stream_ = output_->start();
    if (stream_ == nullptr) return;
    stream_->write(QByteArray(TSoundMixer::kRate * kLeadMs / 1000 * 2, '\0'));
    feed_->start();
  }
  Feed();
}

// Fills what the output has room for. Once the mix has been silent a while,
// the output stops: a stopped output costs the sound server nothing, and
// the silence written last has long played out, so no sound's end is lost.
void TSoundOutput::Feed() {
  if (stream_ == nullptr) return;
  if (!mixer_.Playing() &&
      mixer_.QuietSamples() >= static_cast<std::size_t>(TSoundMixer::kRate) * kIdleStopMs / 1000) {
    Close();
    return;
  }
  const auto count = static_cast<std::size_t>(output_->bytesFree() / 2);
  if (count == 0) return;
  std::vector<std::int16_t> mix(count);
  mixer_.Read(mix.data(), count);
  stream_->write(reinterpret_cast<const char*>(mix.data()), static_cast<qint64>(count * 2));
}

void TSoundOutput::Close() {
  if (feed_ != nullptr) feed_->stop();
  if (output_ != nullptr) output_->stop();
  stream_ = nullptr;
}

}  // namespace zerud
