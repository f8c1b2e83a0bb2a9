#include "sound/SoundEffects.h"

#include <QAudioDevice>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

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

TSoundEffects::TSoundEffects(QObject* parent) : QObject(parent) {
  const QAudioDevice output = QuietlyFindOutput();
  if (output.isNull()) return;
  // Loaded now, so the first landing plays without a wait; each effect is
  // handed the device, which it would otherwise look up again.
  for (const TSound sound : kAllSounds) {
    auto* effect = new QSoundEffect(output, this);
    effect->setSource(QUrl(QStringLiteral("qrc:/zerud/sounds/") + SoundFileName(sound)));
    effects_[static_cast<std::size_t>(sound)] = effect;
  }
}

void TSoundEffects::Play(TSound sound) {
  QSoundEffect* effect = effects_[static_cast<std::size_t>(sound)];
  if (!on_ || effect == nullptr) return;
  // The recording test reads this line's time against the recording.
  qCDebug(lcSound) << "playing" << SoundFileName(sound);
  effect->play();
}

void TSoundEffects::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  emit Switched(on);
}

}  // namespace zerud
