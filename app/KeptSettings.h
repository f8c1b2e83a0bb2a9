// What the game keeps between runs: the options (opacity, speed, level,
// mode), the sound and analysis switches, the high-contrast style once chosen, and the network
// window's role, server name and port, in the user's configuration folder ($XDG_CONFIG_HOME,
// else ~/.config), file
// zerud-uravizera4/options.ini. Read when the game starts, written whenever
// one of them changes. A damaged or hand-edited file never stops the game:
// unknown keys are ignored, a missing or out-of-range value is the default
// one, and a file that cannot be written costs nothing but the memory.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>

#include "game/window/OptionsPanel.h"
#include "network/FormReseau.h"

class QSettings;

namespace zerud {

class TFormMain;

struct TKeptSettings {
  int Opacity = TOptionsPanel::kOpacity.Initial;
  int Speed = TOptionsPanel::kSpeed.Initial;
  int Level = TOptionsPanel::kLevel.Initial;
  bool AgainstMachine = true;
  bool Sound = true;
  bool Analysis = false;
  bool ClientRole = false;
  QString ServerName;  // what the client typed
  QString Port = QString::number(TFormReseau::kDefaultPort);
  // The player's choice of the high-contrast style; none: the desktop's.
  std::optional<bool> HighContrast;

  friend bool operator==(const TKeptSettings&, const TKeptSettings&) = default;
};

// Each value read alone: a bad one falls back to its default.
TKeptSettings ReadKeptSettings(QSettings& file);
void WriteKeptSettings(QSettings& file, const TKeptSettings& settings);

// The file in the user's configuration folder.
QString KeptSettingsFile();

// Puts the kept settings into the two windows, then writes them again
// whenever the player changes one: once per pass of the event loop, so a
// slider's drag or a role's two boxes write the file once, with every
// handler of the change run.
class TSettingsKeeper : public QObject {
  Q_OBJECT

 public:
  // desktopAsksHighContrast: whether the desktop wants high contrast,
  // asked when the player has not chosen.
  TSettingsKeeper(TFormMain& game, TFormReseau& network, const QString& file,
                  std::function<bool()> desktopAsksHighContrast = DesktopAsksHighContrast);

  static bool DesktopAsksHighContrast();

 private:
  void Apply(const TKeptSettings& settings);
  void Save();

  TFormMain& game_;
  TFormReseau& network_;
  QString file_;
  QTimer save_;
};

}  // namespace zerud
