// What the game keeps between runs: the options (opacity, speed, level,
// mode), the sound switch and the network window's role, server name and
// port, in the user's
// configuration folder ($XDG_CONFIG_HOME, else ~/.config), file
// zerud-uravizera4/options.ini. Read when the game starts, written whenever
// one of them changes. A damaged or hand-edited file never stops the game:
// unknown keys are ignored, a missing or out-of-range value is the default
// one, and a file that cannot be written costs nothing but the memory.
#pragma once

#include <QObject>
#include <QString>

class QSettings;

namespace zerud {

class TFormMain;
class TFormReseau;

struct TKeptSettings {
  int Opacity = 210;  // 100 .. 256
  int Speed = 2;      // 1 .. 35
  int Level = 2;      // 2 .. 5
  bool AgainstMachine = true;
  bool Sound = true;
  bool ClientRole = false;
  QString ServerName;  // what the client typed
  QString Port = QStringLiteral("290672");

  friend bool operator==(const TKeptSettings&, const TKeptSettings&) = default;
};

// Each value read alone: a bad one falls back to its default.
TKeptSettings ReadKeptSettings(QSettings& file);
void WriteKeptSettings(QSettings& file, const TKeptSettings& settings);

// The file in the user's configuration folder.
QString KeptSettingsFile();

// Puts the kept settings into the two windows, then writes them again
// whenever the player changes one.
class TSettingsKeeper : public QObject {
  Q_OBJECT

 public:
  TSettingsKeeper(TFormMain& game, TFormReseau& network, const QString& file);

 private:
  void Apply(const TKeptSettings& settings);
  void Save();

  TFormMain& game_;
  TFormReseau& network_;
  QString file_;
  // The client's server name, kept while the server role shows this
  // computer's name in its place.
  QString serverName_;
};

}  // namespace zerud
