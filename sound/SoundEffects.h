// The sounds played for real through Qt Multimedia, and the switch that
// turns them off and on. Without an audio device the game is silent and
// says nothing: no sound object is made, so nothing can complain.
#pragma once

#include <QObject>
#include <array>
#include <iterator>

#include "sound/Sound.h"

class QSoundEffect;

namespace zerud {

class TSoundEffects : public QObject, public TSoundPlayer {
  Q_OBJECT

 public:
  explicit TSoundEffects(QObject* parent = nullptr);

  void Play(TSound sound) override;

  bool On() const { return on_; }
  void SetOn(bool on);

 signals:
  void Switched(bool on);

 private:
  bool on_ = true;
  // Null for every sound when the desktop offered no audio output at start.
  std::array<QSoundEffect*, std::size(kAllSounds)> effects_{};
};

}  // namespace zerud
