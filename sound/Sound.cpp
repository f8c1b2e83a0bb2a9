#include "sound/Sound.h"

namespace zerud {

QString SoundFileName(TSound sound) {
  switch (sound) {
    case TSound::Landing:
      return QStringLiteral("landing.wav");
    case TSound::Won:
      return QStringLiteral("won.wav");
    case TSound::Lost:
      return QStringLiteral("lost.wav");
    case TSound::Draw:
      return QStringLiteral("draw.wav");
    case TSound::Chat:
      return QStringLiteral("chat.wav");
  }
  return {};
}

}  // namespace zerud
