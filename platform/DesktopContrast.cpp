#include "platform/DesktopContrast.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace zerud {
namespace {

constexpr int kAnswerMs = 1000;
// settings.ini is read this far; a theme's line comes early.
constexpr qint64 kIniLimit = 64 * 1024;

// gsettings' answer, or empty when it is missing or does not answer.
QString AskGsettings(const QString& schema, const QString& key) {
  const QString program = QStandardPaths::findExecutable(QStringLiteral("gsettings"));
  if (program.isEmpty()) return {};
  QProcess gsettings;
  gsettings.start(program, {QStringLiteral("get"), schema, key});
  if (!gsettings.waitForFinished(kAnswerMs)) {
    gsettings.kill();
    gsettings.waitForFinished(kAnswerMs);
    return {};
  }
  if (gsettings.exitStatus() != QProcess::NormalExit || gsettings.exitCode() != 0) return {};
  return QString::fromUtf8(gsettings.readAllStandardOutput().left(256)).trimmed();
}

}  // namespace

bool AsksHighContrast(const TDesktopContrast& desktop) {
  if (desktop.HighContrastSwitch.trimmed() == QLatin1String("true")) return true;
  for (const QString& theme : desktop.GtkThemes)
    if (theme.contains(QLatin1String("HighContrast"), Qt::CaseInsensitive)) return true;
  return false;
}

QString ThemeOfSettingsIni(const QString& text) {
  static const QRegularExpression line(QStringLiteral("^\\s*gtk-theme-name\\s*=\\s*(.*?)\\s*$"),
                                       QRegularExpression::MultilineOption);
  const QRegularExpressionMatch match = line.match(text);
  return match.hasMatch() ? match.captured(1) : QString();
}

TDesktopContrast ReadDesktopContrast() {
  TDesktopContrast desktop;
  desktop.HighContrastSwitch = AskGsettings(QStringLiteral("org.gnome.desktop.a11y.interface"),
                                            QStringLiteral("high-contrast"));
  const QString variable = qEnvironmentVariable("GTK_THEME");
  if (!variable.isEmpty()) desktop.GtkThemes << variable;
  const QString gnome =
      AskGsettings(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("gtk-theme"));
  if (!gnome.isEmpty()) desktop.GtkThemes << gnome;
  QFile ini(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/gtk-3.0/settings.ini"));
  if (ini.open(QIODevice::ReadOnly)) {
    const QString theme = ThemeOfSettingsIni(QString::fromUtf8(ini.read(kIniLimit)));
    if (!theme.isEmpty()) desktop.GtkThemes << theme;
  }
  return desktop;
}

}  // namespace zerud
