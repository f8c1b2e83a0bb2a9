#include "sound/SoundEffects.h"

#include <QAudioDevice>
#include <QFile>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QThread>
#include <memory>
#include <vector>

#include "sound/SoundOutput.h"

namespace zerud {

Q_LOGGING_CATEGORY(lcSound, "zerud.sound", QtWarningMsg)

namespace {

// Looking for a device makes the audio back end connect to the sound
// server, and it complains on the console when there is none. A game
// without sound has nothing to say about it: its messages are dropped
// while it looks.
QAudioDevice QuietlyFindOutput() {
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  const QAudioDevice output = QMediaDevices::defaultAudioOutput();
  qInstallMessageHandler(previous);
  return output;
}

}  // namespace

// One output for all the sounds, written with their mix on a thread of its
// own: sounds that overlap are added, none cuts another short, and a long
// loop of the game's thread leaves no hole in them.
TSoundEffects::TSoundEffects(QObject* parent) : QObject(parent) {
  const QAudioDevice device = QuietlyFindOutput();
  if (device.isNull()) return;
  // Decoded now, so the first landing plays without a wait.
  std::vector<std::shared_ptr<const TSamples>> sounds;
  for (const TSound sound : kAllSounds) {
    QFile file(QStringLiteral(":/zerud/sounds/") + SoundFileName(sound));
    sounds.push_back(std::make_shared<const TSamples>(
        file.open(QIODevice::ReadOnly) ? ReadWavSamples(file.readAll()) : TSamples()));
  }
  thread_ = new QThread(this);
  thread_->setObjectName(QStringLiteral("zerud-sound"));
  output_ = new TSoundOutput(device, std::move(sounds));
  output_->moveToThread(thread_);
  connect(thread_, &QThread::finished, output_, &QObject::deleteLater);
  thread_->start(QThread::TimeCriticalPriority);
  QMetaObject::invokeMethod(output_, &TSoundOutput::Open, Qt::QueuedConnection);
}

TSoundEffects::~TSoundEffects() {
  if (thread_ == nullptr) return;
  QMetaObject::invokeMethod(output_, &TSoundOutput::Close, Qt::BlockingQueuedConnection);
  thread_->quit();
  thread_->wait();
}

void TSoundEffects::Play(TSound sound) {
  if (!on_ || output_ == nullptr) return;
  // The recording test reads this line's time against the recording.
  qCDebug(lcSound) << "playing" << SoundFileName(sound);
  QMetaObject::invokeMethod(
      output_, [output = output_, sound] { output->Play(static_cast<int>(sound)); },
      Qt::QueuedConnection);
}

void TSoundEffects::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  emit Switched(on);
}

}  // namespace zerud
