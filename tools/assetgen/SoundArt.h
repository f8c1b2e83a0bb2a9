// The game's sound effects, synthesised: a piece landing, a game won, lost
// or drawn, a chat line arriving. Each is mono 16-bit PCM at 44.1 kHz in a
// WAV file, the one format every sound back end plays.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <vector>

namespace zerud::art {

inline constexpr int kSoundRate = 44100;

struct TSoundArt {
  QString FileName;
  std::vector<qint16> Samples;
};

// landing.wav, won.wav, lost.wav, draw.wav and chat.wav.
QList<TSoundArt> DrawSounds();

// A canonical 44-byte RIFF header followed by the samples, little-endian.
QByteArray EncodeWav(const std::vector<qint16>& samples, int rate = kSoundRate);

}  // namespace zerud::art
