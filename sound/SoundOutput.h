// The audio output of the game's sounds, on a thread of its own: the game's
// thread runs long loops (a falling piece, the machine's search, the end
// shown), and an output fed from there ran dry in them, leaving holes in
// the sounds.
#pragma once

#include <QAudioDevice>
#include <QObject>
#include <memory>
#include <vector>

#include "sound/SoundMixer.h"

class QAudioSink;
class QIODevice;
class QTimer;

namespace zerud {

// Lives on the output's thread; every call but the constructor runs there.
class TSoundOutput : public QObject {
  Q_OBJECT

 public:
  // The mix written ahead of the output, in milliseconds: how late a sound
  // may start.
  static constexpr int kAheadMs = 60;
  // How often the mix is written.
  static constexpr int kFeedMs = 10;
  // Silence written first when the output opens: the sound server may
  // lose the first milliseconds of a new stream.
  static constexpr int kLeadMs = 20;
  // Silence after which the output stops until the next sound.
  static constexpr int kIdleStopMs = 2000;

  // sounds[i]: the samples of sound i.
  TSoundOutput(const QAudioDevice& device, std::vector<std::shared_ptr<const TSamples>> sounds);

  void Open();
  void Play(int sound);
  void Close();

 private:
  void Feed();

  QAudioDevice device_;
  std::vector<std::shared_ptr<const TSamples>> sounds_;
  QAudioSink* output_ = nullptr;
  // Where the mix goes while the output runs.
  QIODevice* stream_ = nullptr;
  QTimer* feed_ = nullptr;
  TSoundMixer mixer_;
};

}  // namespace zerud
