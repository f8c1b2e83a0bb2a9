// The sounds played for real through Qt Multimedia, and the switch that
// turns them off and on. Without an audio device the game is silent and
// says nothing: no output is made, so nothing can complain.
#pragma once

#include <QObject>

#include "sound/Sound.h"

class QThread;

namespace zerud {

class TSoundOutput;

class TSoundEffects : public QObject, public TSoundPlayer {
  Q_OBJECT

 public:
  explicit TSoundEffects(QObject* parent = nullptr);
  ~TSoundEffects() override;

  void Play(TSound sound) override;

  bool On() const { return on_; }
  void SetOn(bool on);

 signals:
  void Switched(bool on);

 private:
  bool on_ = true;
  // Both null when the desktop offered no audio output at start.
  QThread* thread_ = nullptr;
  TSoundOutput* output_ = nullptr;
};

}  // namespace zerud
