#include "sound/SoundEffects.h"

#include <QAudioDevice>
#include <QLoggingCategory>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <memory>

namespace zerud {

Q_LOGGING_CATEGORY(lcSound, "zerud.sound", QtWarningMsg)

namespace {

// Looking for a device makes the audio back end connect to the sound
// server, and it complains on the console when there is none. A game
// without sound has nothing to say about it: its messages are dropped
// while it looks.
bool QuietlyFindOutput() {
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  const bool found = !QMediaDevices::audioOutputs().isEmpty();
  qInstallMessageHandler(previous);
  return found;
}

}  // namespace

TSoundEffects::TSoundEffects(QObject* parent) : QObject(parent), hasDevice_(QuietlyFindOutput()) {
  if (!hasDevice_) return;
  // Loaded now, so the first landing plays without a wait.
  for (const TSound sound : kAllSounds) {
    auto* effect = new QSoundEffect(this);
    Prime(effect);
    effect->setSource(QUrl(QStringLiteral("qrc:/zerud/sounds/") + SoundFileName(sound)));
    effects_[static_cast<std::size_t>(sound)] = effect;
  }
}

// The first play of a sound opens its stream on the server and is cut off
// after a few milliseconds. A muted first play, as soon as the sound is
// loaded, takes that loss; the sound is unmuted once it stops.
void TSoundEffects::Prime(QSoundEffect* effect) {
  auto loaded = std::make_shared<QMetaObject::Connection>();
  *loaded = connect(effect, &QSoundEffect::statusChanged, this, [effect, loaded] {
    if (effect->status() != QSoundEffect::Ready) return;
    disconnect(*loaded);
    effect->setMuted(true);
    effect->play();
  });
  auto stopped = std::make_shared<QMetaObject::Connection>();
  *stopped = connect(effect, &QSoundEffect::playingChanged, this, [effect, stopped] {
    if (effect->isPlaying()) return;
    disconnect(*stopped);
    effect->setMuted(false);
  });
}

void TSoundEffects::Play(TSound sound) {
  QSoundEffect* effect = effects_[static_cast<std::size_t>(sound)];
  if (!on_ || effect == nullptr) return;
  // The recording test reads this line's time against the recording.
  qCDebug(lcSound) << "playing" << SoundFileName(sound);
  if (effect->isMuted()) {
    // Still priming: that play gives way to this one.
    effect->stop();
    effect->setMuted(false);
  }
  effect->play();
}

void TSoundEffects::SetOn(bool on) {
  if (on == on_) return;
  on_ = on;
  emit Switched(on);
}

}  // namespace zerud
