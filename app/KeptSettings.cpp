#include "app/KeptSettings.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <cstdint>

#include "game/board/BoardView.h"
#include "game/window/AnalysisControl.h"
#include "game/window/FormMain.h"
#include "game/window/HighContrast.h"
#include "network/FormReseau.h"
#include "platform/DesktopContrast.h"
#include "rules/Integer.h"
#include "sound/SoundEffects.h"

namespace zerud {
namespace {

const QString kOpacity = QStringLiteral("options/opacite");
const QString kSpeed = QStringLiteral("options/vitesse");
const QString kLevel = QStringLiteral("options/niveau");
const QString kMode = QStringLiteral("options/mode");
const QString kSound = QStringLiteral("options/son");
const QString kAnalysis = QStringLiteral("options/analyse");
const QString kContrast = QStringLiteral("options/contraste");
const QString kRole = QStringLiteral("reseau/role");
const QString kServer = QStringLiteral("reseau/serveur");
const QString kPort = QStringLiteral("reseau/port");

const QString kMachine = QStringLiteral("machine");
const QString kHumans = QStringLiteral("humains");
const QString kClient = QStringLiteral("client");
const QString kServerRole = QStringLiteral("serveur");
const QString kOn = QStringLiteral("oui");
const QString kOff = QStringLiteral("non");

// A host name or address: at most 253 characters, none of them a control.
constexpr qsizetype kNameLimit = 253;
// A port number with blanks around it.
constexpr qsizetype kPortLimit = 32;

int Within(const QSettings& file, const QString& key, TOptionsPanel::TBarRange range) {
  const auto value =
      ParseIntegerIn(file.value(key).toString().toStdString(), range.Minimum, range.Maximum);
  return value ? static_cast<int>(*value) : range.Initial;
}

// One of two words, else the default.
bool Choice(const QSettings& file, const QString& key, const QString& yes, const QString& no,
            bool fallback) {
  const QString word = file.value(key).toString();
  return word == yes ? true : word == no ? false : fallback;
}

}  // namespace

TKeptSettings ReadKeptSettings(QSettings& file) {
  const TKeptSettings defaults;
  TKeptSettings kept;
  kept.Opacity = Within(file, kOpacity, TOptionsPanel::kOpacity);
  kept.Speed = Within(file, kSpeed, TOptionsPanel::kSpeed);
  kept.Level = Within(file, kLevel, TOptionsPanel::kLevel);
  kept.AgainstMachine = Choice(file, kMode, kMachine, kHumans, defaults.AgainstMachine);
  kept.Sound = Choice(file, kSound, kOn, kOff, defaults.Sound);
  kept.Analysis = Choice(file, kAnalysis, kOn, kOff, defaults.Analysis);
  kept.ClientRole = Choice(file, kRole, kClient, kServerRole, defaults.ClientRole);
  const QString contrast = file.value(kContrast).toString();
  if (contrast == kOn || contrast == kOff) kept.HighContrast = contrast == kOn;
  const QString name = file.value(kServer).toString();
  static const QRegularExpression control(QStringLiteral("[\\x00-\\x1f\\x7f]"));
  if (name.size() <= kNameLimit && !name.contains(control)) kept.ServerName = name;
  const QString port = file.value(kPort).toString();
  // Whatever the network window would take as a port number.
  if (port.size() <= kPortLimit &&
      ParseIntegerIn(port.toStdString(), INT32_MIN, INT32_MAX).has_value())
    kept.Port = port;
  return kept;
}

void WriteKeptSettings(QSettings& file, const TKeptSettings& settings) {
  file.setValue(kOpacity, settings.Opacity);
  file.setValue(kSpeed, settings.Speed);
  file.setValue(kLevel, settings.Level);
  file.setValue(kMode, settings.AgainstMachine ? kMachine : kHumans);
  file.setValue(kSound, settings.Sound ? kOn : kOff);
  file.setValue(kAnalysis, settings.Analysis ? kOn : kOff);
  if (settings.HighContrast)
    file.setValue(kContrast, *settings.HighContrast ? kOn : kOff);
  else
    file.remove(kContrast);
  file.setValue(kRole, settings.ClientRole ? kClient : kServerRole);
  file.setValue(kServer, settings.ServerName);
  file.setValue(kPort, settings.Port);
  // The game ends with _Exit, which runs no destructor: write now.
  file.sync();
}

QString KeptSettingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/zerud-uravizera4/options.ini");
}

bool TSettingsKeeper::DesktopAsksHighContrast() { return AsksHighContrast(ReadDesktopContrast()); }

TSettingsKeeper::TSettingsKeeper(TFormMain& game, TFormReseau& network, const QString& file,
                                 std::function<bool()> desktopAsksHighContrast)
    : QObject(&game), game_(game), network_(network), file_(file) {
  QSettings stored(file_, QSettings::IniFormat);
  const TKeptSettings kept = ReadKeptSettings(stored);
  Apply(kept);
  if (kept.HighContrast)
    game_.HighContrast().Choose(*kept.HighContrast);
  else
    game_.HighContrast().SetOn(desktopAsksHighContrast());
  save_.setSingleShot(true);
  save_.setInterval(0);
  connect(&save_, &QTimer::timeout, this, &TSettingsKeeper::Save);
  auto changed = [this] { save_.start(); };
  connect(&game_, &TFormMain::SettingsChanged, this, changed);
  connect(&game_.Sounds(), &TSoundEffects::Switched, this, changed);
  // The texts typed into the network window are the values themselves.
  connect(network_.EditNomServeur, &QComboBox::editTextChanged, this, changed);
  connect(network_.EditNumeroPort, &QLineEdit::textChanged, this, changed);
  connect(&game_.Analysis(), &TAnalysisControl::Switched, this, changed);
  connect(&game_.HighContrast(), &THighContrast::Switched, this, changed);
}

// As the player would set them: the sliders call their handlers, the pieces
// take the opacity at once, the client role empties the name field first.
void TSettingsKeeper::Apply(const TKeptSettings& settings) {
  game_.SetOptions(settings.Opacity, settings.Speed, settings.Level);
  game_.BoardView().ApplyOpacity();
  game_.Game().SelectMode(settings.AgainstMachine ? TPlayMode::Machine : TPlayMode::TwoHumans);
  game_.Sounds().SetOn(settings.Sound);
  game_.Analysis().SetOn(settings.Analysis);
  if (settings.ClientRole) {
    network_.RadioClient->setChecked(true);
    network_.RadioClientClick();
    network_.EditNomServeur->setEditText(settings.ServerName);
  }
  network_.EditNumeroPort->setText(settings.Port);
}

void TSettingsKeeper::Save() {
  TKeptSettings now;
  now.Opacity = game_.PieceOpacity();
  now.Speed = game_.DropStep();
  now.Level = game_.MaxDepth() / 2;
  now.AgainstMachine = game_.Game().SelectedMode() == TPlayMode::Machine;
  now.Sound = game_.Sounds().On();
  now.Analysis = game_.Analysis().On();
  now.HighContrast = game_.HighContrast().Chosen();
  now.ClientRole = !game_.Game().ServerRole();
  // The server role shows this computer's name in the field: not kept.
  if (now.ClientRole) now.ServerName = network_.EditNomServeur->currentText().left(kNameLimit);
  now.Port = network_.EditNumeroPort->text();
  QSettings stored(file_, QSettings::IniFormat);
  WriteKeptSettings(stored, now);
}

}  // namespace zerud
