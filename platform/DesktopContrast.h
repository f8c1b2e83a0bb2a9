// Whether the desktop asks programs for high contrast: GNOME's switch
// org.gnome.desktop.a11y.interface high-contrast, or a GTK theme whose name
// contains "HighContrast" (the GTK_THEME variable, GNOME's gtk-theme, or
// gtk-theme-name in GTK's settings.ini).
#pragma once

#include <QString>
#include <QStringList>

namespace zerud {

struct TDesktopContrast {
  // What gsettings answers for the switch: "true", "false", or empty when
  // it cannot be asked.
  QString HighContrastSwitch;
  // The GTK theme names found, as written (gsettings quotes its strings).
  QStringList GtkThemes;
};

bool AsksHighContrast(const TDesktopContrast& desktop);

// The value of gtk-theme-name in the text of a GTK settings.ini; empty
// when it has none.
QString ThemeOfSettingsIni(const QString& text);

// Asks the desktop: gsettings (at most a second each time), GTK_THEME and
// $XDG_CONFIG_HOME/gtk-3.0/settings.ini. Nothing found means no.
TDesktopContrast ReadDesktopContrast();

}  // namespace zerud
