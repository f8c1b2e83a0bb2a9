// The desktop's wish for high contrast, read as the game reads it: through a
// stand-in gsettings on the PATH, GTK_THEME and GTK's settings.ini in a
// configuration folder of the test's own.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/DesktopContrast.h"

namespace zerud {
namespace {

struct TDesktopCase {
  const char* what;
  const char* highContrast;  // gsettings' answer; nullptr: no gsettings at all
  const char* gtkTheme;      // gsettings' answer for gtk-theme
  const char* variable;      // GTK_THEME; nullptr: unset
  const char* ini;           // settings.ini; nullptr: none
  bool expected;
};

void Write(const QString& path, const QByteArray& text) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
}

// Sets an environment variable for the test's lifetime.
class TVariable {
 public:
  TVariable(const char* name, const char* value)
      : name_(name), old_(qgetenv(name)), had_(qEnvironmentVariableIsSet(name)) {
    if (value != nullptr)
      qputenv(name, value);
    else
      qunsetenv(name);
  }
  ~TVariable() {
    if (had_)
      qputenv(name_, old_);
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  QByteArray old_;
  bool had_;
};

TEST(DesktopContrast, FollowsGnomeSwitchAndGtkTheme) {
  const TDesktopCase cases[] = {
      {"nothing to ask", nullptr, nullptr, nullptr, nullptr, false},
      {"GNOME's switch on", "true", "'Adwaita'", nullptr, nullptr, true},
      {"GNOME's switch off", "false", "'Adwaita'", nullptr, nullptr, false},
      {"GNOME's high-contrast theme", "false", "'HighContrast'", nullptr, nullptr, true},
      {"its inverse", "false", "'HighContrastInverse'", nullptr, nullptr, true},
      {"GTK_THEME", nullptr, nullptr, "HighContrast:dark", nullptr, true},
      {"another GTK_THEME", nullptr, nullptr, "Adwaita:dark", nullptr, false},
      {"settings.ini", nullptr, nullptr, nullptr, "[Settings]\ngtk-theme-name = HighContrast\n",
       true},
      {"settings.ini, another theme", nullptr, nullptr, nullptr,
       "[Settings]\ngtk-theme-name=Adwaita\n", false},
      {"a schema gsettings does not know", "", "", nullptr, nullptr, false},
  };
  for (const TDesktopCase& c : cases) {
    SCOPED_TRACE(c.what);
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString bin = folder.filePath(QStringLiteral("bin"));
    const QString config = folder.filePath(QStringLiteral("config"));
    QDir().mkpath(bin);
    QDir().mkpath(config + QStringLiteral("/gtk-3.0"));
    if (c.highContrast != nullptr) {
      // Answers like gsettings, or fails like it does for an unknown schema.
      const QByteArray script =
          QByteArray("#!/bin/sh\ncase \"$2 $3\" in\n") +
          "'org.gnome.desktop.a11y.interface high-contrast') a='" + c.highContrast + "';;\n" +
          "'org.gnome.desktop.interface gtk-theme') a=\"" + c.gtkTheme + "\";;\n" +
          "esac\n[ -n \"$a\" ] || { echo 'No such schema' >&2; exit 1; }\necho \"$a\"\n";
      Write(bin + QStringLiteral("/gsettings"), script);
      QFile::setPermissions(bin + QStringLiteral("/gsettings"),
                            QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    if (c.ini != nullptr) Write(config + QStringLiteral("/gtk-3.0/settings.ini"), c.ini);
    TVariable path("PATH", bin.toLocal8Bit().constData());
    TVariable home("XDG_CONFIG_HOME", config.toLocal8Bit().constData());
    TVariable theme("GTK_THEME", c.variable);
    EXPECT_EQ(AsksHighContrast(ReadDesktopContrast()), c.expected);
  }
}

}  // namespace
}  // namespace zerud
