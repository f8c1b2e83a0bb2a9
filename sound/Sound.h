// The game's sound effects and what plays them. The game hands each sound
// to a TSoundPlayer: the real one plays it on the desktop's audio device,
// the tests hand a fake that writes the sounds down.
#pragma once

#include <QString>

namespace zerud {

enum class TSound { Landing, Won, Lost, Draw, Chat };

inline constexpr TSound kAllSounds[] = {TSound::Landing, TSound::Won, TSound::Lost, TSound::Draw,
                                        TSound::Chat};

// The sound's file, built into the program under :/zerud/sounds/.
QString SoundFileName(TSound sound);

class TSoundPlayer {
 public:
  virtual ~TSoundPlayer() = default;
  // Starts the sound at once; one still playing goes on underneath.
  virtual void Play(TSound sound) = 0;
};

}  // namespace zerud
