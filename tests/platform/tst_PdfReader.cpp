#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <optional>

#include "TestPath.h"
#include "platform/PdfReader.h"

namespace zerud {
namespace {

const QString kUninstall =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");
const QString kAcrobat4 = kUninstall + QStringLiteral("Adobe Acrobat 4.0");
const QString kAcrobat5 = kUninstall + QStringLiteral("Adobe Acrobat 5.0");
const QString kReaderGuid = kUninstall + QStringLiteral("{AC76BA86-7AD7-1036-7B44-000000000001}");

// The keys are tried in their order and the search stops at the first found.
TEST(PdfReaderInstalled, TriesTheThreeKeysInOrderUpToTheFirstFound) {
  const struct {
    QStringList present;
    bool found;
    QStringList asked;
  } cases[] = {
      {{}, false, {kAcrobat4, kAcrobat5, kReaderGuid}},
      {{kAcrobat4, kReaderGuid}, true, {kAcrobat4}},
      {{kAcrobat5}, true, {kAcrobat4, kAcrobat5}},
      {{kReaderGuid}, true, {kAcrobat4, kAcrobat5, kReaderGuid}},
      {{QStringLiteral("SOFTWARE\\Adobe\\Acrobat Reader"), kAcrobat4 + QStringLiteral(" ")},
       false,
       {kAcrobat4, kAcrobat5, kReaderGuid}},
  };
  for (const auto& c : cases) {
    QStringList asked;
    EXPECT_EQ(PdfReaderInstalled([&](const QString& key) {
                asked << key;
                return c.present.contains(key);
              }),
              c.found);
    EXPECT_EQ(asked, c.asked) << c.present.join(u',').toStdString();
  }
}

// A desktop answering from fixed facts, recording the PATH questions.
struct TFakeDesktop {
  QString defaultApplication{};
  QStringList installed{}, onPath{}, pathQueries{};
  TPdfDesktop Desktop() {
    return {[this] { return defaultApplication; },
            [this](const QString& file) { return installed.contains(file); },
            [this](const QString& program) {
              pathQueries << program;
              return onPath.contains(program);
            }};
  }
};

TEST(DesktopKeyExists, AnInstalledDefaultApplicationOrAKnownViewerOnThePath) {
  const QString evince = QStringLiteral("org.gnome.Evince.desktop");
  TFakeDesktop installed{evince, {evince}};
  for (const QString& key : {kAcrobat4, kAcrobat5, kReaderGuid, kAcrobat5.toLower()})
    EXPECT_TRUE(DesktopKeyExists(key, installed.Desktop())) << key.toStdString();
  EXPECT_TRUE(installed.pathQueries.isEmpty());
  // Only the readers' keys exist.
  EXPECT_FALSE(DesktopKeyExists(QStringLiteral("SOFTWARE\\Classes\\.pdf"), installed.Desktop()));
  EXPECT_FALSE(DesktopKeyExists(QString(), installed.Desktop()));

  // A stale association (the program was removed) falls back to the PATH.
  TFakeDesktop stale{QStringLiteral("removed-viewer.desktop")};
  EXPECT_FALSE(DesktopKeyExists(kAcrobat4, stale.Desktop()));
  EXPECT_EQ(stale.pathQueries, KnownPdfViewers());
  for (const QString& viewer : KnownPdfViewers()) {
    TFakeDesktop fake{stale.defaultApplication, {}, {viewer}};
    EXPECT_TRUE(DesktopKeyExists(kReaderGuid, fake.Desktop())) << viewer.toStdString();
  }
  TFakeDesktop unknown{{}, {}, {QStringLiteral("gimp"), QStringLiteral("firefox")}};
  EXPECT_FALSE(DesktopKeyExists(kReaderGuid, unknown.Desktop()));
}

void WriteFile(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(text) == text.size())
      << path.toStdString();
}

// The system questions against a made-up XDG setup: a mimeapps.list naming a
// viewer's desktop file, and a folder of programs on the PATH.
TEST(SystemPdfDesktop, ReadsTheDesktopsAssociationAndThePath) {
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
    GTEST_SKIP() << "xdg-mime is not installed (Debian package xdg-utils)";
  QTemporaryDir home;
  const QString config = home.filePath(QStringLiteral("config"));
  const QString data = home.filePath(QStringLiteral("data"));
  const std::pair<const char*, QString> variables[] = {
      {"XDG_CONFIG_HOME", config}, {"XDG_CONFIG_DIRS", config}, {"XDG_DATA_HOME", data},
      {"XDG_DATA_DIRS", data},     {"XDG_CURRENT_DESKTOP", {}}, {"DESKTOP_SESSION", {}}};
  std::vector<std::pair<const char*, std::optional<QByteArray>>> saved;
  for (const auto& [name, value] : variables) {
    saved.emplace_back(
        name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
    qputenv(name, value.toLocal8Bit());
  }
  test::TTestPath path(/*keepSystemPath=*/true);
  path.AddProgram(QStringLiteral("zerud-test-viewer"));
  const QString viewer = QStringLiteral("zerud-test-viewer.desktop");
  const TPdfDesktop desktop = SystemPdfDesktop();

  EXPECT_EQ(desktop.DefaultPdfApplication(), QString());
  // An association to a program that is not installed is no viewer.
  WriteFile(config + QStringLiteral("/mimeapps.list"),
            "[Default Applications]\napplication/pdf=zerud-test-viewer.desktop\n");
  EXPECT_EQ(desktop.DefaultPdfApplication(), QString());
  EXPECT_FALSE(desktop.ApplicationInstalled(viewer));

  WriteFile(data + QStringLiteral("/applications/") + viewer,
            "[Desktop Entry]\nType=Application\nName=Viewer\nExec=zerud-test-viewer %f\n"
            "MimeType=application/pdf;\n");
  EXPECT_EQ(desktop.DefaultPdfApplication(), viewer);
  EXPECT_TRUE(desktop.ApplicationInstalled(viewer));
  EXPECT_TRUE(PdfReaderInstalled());
  EXPECT_TRUE(desktop.ProgramOnPath(QStringLiteral("zerud-test-viewer")));
  EXPECT_FALSE(desktop.ProgramOnPath(QStringLiteral("zerud-no-such-viewer")));

  for (const auto& [name, value] : saved) value ? qputenv(name, *value) : qunsetenv(name);
}

}  // namespace
}  // namespace zerud
