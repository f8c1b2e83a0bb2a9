#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "TestPath.h"
#include "platform/PdfReader.h"

namespace zerud {
namespace {

const QString kAcrobat4 =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adobe Acrobat 4.0");
const QString kAcrobat5 =
    QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adobe Acrobat 5.0");
const QString kReaderGuid = QStringLiteral(
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\{AC76BA86-7AD7-1036-7B44-"
    "000000000001}");

// A registry holding the given keys that records every key asked for.
struct TFakeRegistry {
  explicit TFakeRegistry(QStringList keys = {}) : present(std::move(keys)) {}
  QStringList present;
  QStringList asked;
  TKeyExists Test() {
    return [this](const QString& key) {
      asked << key;
      return present.contains(key);
    };
  }
};

TEST(PdfReaderInstalled, TriesTheThreeKeysInOrderWhenNoneExists) {
  TFakeRegistry registry;
  EXPECT_FALSE(PdfReaderInstalled(registry.Test()));
  EXPECT_EQ(registry.asked, (QStringList{kAcrobat4, kAcrobat5, kReaderGuid}));
}

TEST(PdfReaderInstalled, StopsAtTheFirstKeyFound) {
  TFakeRegistry first({kAcrobat4, kReaderGuid});
  EXPECT_TRUE(PdfReaderInstalled(first.Test()));
  EXPECT_EQ(first.asked, QStringList{kAcrobat4});

  TFakeRegistry second({kAcrobat5});
  EXPECT_TRUE(PdfReaderInstalled(second.Test()));
  EXPECT_EQ(second.asked, (QStringList{kAcrobat4, kAcrobat5}));

  TFakeRegistry last({kReaderGuid});
  EXPECT_TRUE(PdfReaderInstalled(last.Test()));
  EXPECT_EQ(last.asked.size(), 3);
}

TEST(PdfReaderInstalled, OtherKeysDoNotCount) {
  TFakeRegistry registry(
      {QStringLiteral("SOFTWARE\\Adobe\\Acrobat Reader"), kAcrobat4 + QStringLiteral(" ")});
  EXPECT_FALSE(PdfReaderInstalled(registry.Test()));
}

// A desktop answering from fixed facts, counting its questions.
struct TFakeDesktop {
  TFakeDesktop(QString application, QStringList installed, QStringList onPath = {})
      : defaultApplication(std::move(application)),
        installedApplications(std::move(installed)),
        programsOnPath(std::move(onPath)) {}
  QString defaultApplication;
  QStringList installedApplications;
  QStringList programsOnPath;
  QStringList pathQueries;
  TPdfDesktop Desktop() {
    TPdfDesktop desktop;
    desktop.DefaultPdfApplication = [this] { return defaultApplication; };
    desktop.ApplicationInstalled = [this](const QString& file) {
      return installedApplications.contains(file);
    };
    desktop.ProgramOnPath = [this](const QString& program) {
      pathQueries << program;
      return programsOnPath.contains(program);
    };
    return desktop;
  }
};

TEST(DesktopKeyExists, ReaderKeysExistWithAnInstalledDefaultApplication) {
  TFakeDesktop fake{QStringLiteral("org.gnome.Evince.desktop"),
                    {QStringLiteral("org.gnome.Evince.desktop")}};
  const TPdfDesktop desktop = fake.Desktop();
  for (const QString& key : {kAcrobat4, kAcrobat5, kReaderGuid})
    EXPECT_TRUE(DesktopKeyExists(key, desktop)) << key.toStdString();
  // The default application answers; the PATH is not searched.
  EXPECT_TRUE(fake.pathQueries.isEmpty());
  // Keys are compared the way the registry does, without regard to case.
  EXPECT_TRUE(DesktopKeyExists(kAcrobat5.toLower(), desktop));
}

TEST(DesktopKeyExists, AStaleAssociationFallsBackToThePath) {
  TFakeDesktop stale(QStringLiteral("removed-viewer.desktop"), {}, {});
  EXPECT_FALSE(DesktopKeyExists(kAcrobat4, stale.Desktop()));
  EXPECT_EQ(stale.pathQueries, KnownPdfViewers());

  TFakeDesktop withViewer(QStringLiteral("removed-viewer.desktop"), {}, {QStringLiteral("mupdf")});
  EXPECT_TRUE(DesktopKeyExists(kAcrobat4, withViewer.Desktop()));
}

TEST(DesktopKeyExists, AKnownViewerOnThePathIsEnough) {
  for (const QString& viewer : KnownPdfViewers()) {
    TFakeDesktop fake({}, {}, {viewer});
    EXPECT_TRUE(DesktopKeyExists(kReaderGuid, fake.Desktop())) << viewer.toStdString();
  }
  TFakeDesktop unknown({}, {}, {QStringLiteral("gimp"), QStringLiteral("firefox")});
  EXPECT_FALSE(DesktopKeyExists(kReaderGuid, unknown.Desktop()));
}

TEST(DesktopKeyExists, KeysOtherThanTheReadersNeverExist) {
  TFakeDesktop fake{QStringLiteral("okular.desktop"),
                    {QStringLiteral("okular.desktop")},
                    {QStringLiteral("okular")}};
  EXPECT_FALSE(DesktopKeyExists(QStringLiteral("SOFTWARE\\Classes\\.pdf"), fake.Desktop()));
  EXPECT_FALSE(DesktopKeyExists(QString(), fake.Desktop()));
}

// Sets an environment variable for the lifetime of the object.
class TScopedEnv {
 public:
  TScopedEnv(const char* name, const QByteArray& value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    qputenv(name, value);
  }
  ~TScopedEnv() {
    if (had_)
      qputenv(name_, old_);
    else
      qunsetenv(name_);
  }

 private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

void WriteFile(const QString& path, const QByteArray& text) {
  QDir().mkpath(QFileInfo(path).path());
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(text);
}

// The system questions against a made-up XDG setup: a mimeapps.list naming a
// viewer's desktop file, and a folder of programs on the PATH.
TEST(SystemPdfDesktop, ReadsTheDesktopsAssociationAndThePath) {
  QTemporaryDir home;
  const QByteArray config = home.filePath(QStringLiteral("config")).toLocal8Bit();
  const QByteArray data = home.filePath(QStringLiteral("data")).toLocal8Bit();
  TScopedEnv configHome("XDG_CONFIG_HOME", config);
  TScopedEnv configDirs("XDG_CONFIG_DIRS", config);
  TScopedEnv dataHome("XDG_DATA_HOME", data);
  TScopedEnv dataDirs("XDG_DATA_DIRS", data);
  TScopedEnv noDesktop("XDG_CURRENT_DESKTOP", "");
  TScopedEnv noSession("DESKTOP_SESSION", "");
  test::TTestPath path(/*keepSystemPath=*/true);
  path.AddProgram(QStringLiteral("zerud-test-viewer"));

  const TPdfDesktop desktop = SystemPdfDesktop();
  if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
    GTEST_SKIP() << "xdg-mime is not installed (Debian package xdg-utils)";
  EXPECT_EQ(desktop.DefaultPdfApplication(), QString());

  // An association to a program that is not installed is no viewer.
  WriteFile(QString::fromLocal8Bit(config) + QStringLiteral("/mimeapps.list"),
            "[Default Applications]\napplication/pdf=zerud-test-viewer.desktop\n");
  EXPECT_EQ(desktop.DefaultPdfApplication(), QString());
  EXPECT_FALSE(desktop.ApplicationInstalled(QStringLiteral("zerud-test-viewer.desktop")));

  WriteFile(
      QString::fromLocal8Bit(data) + QStringLiteral("/applications/zerud-test-viewer.desktop"),
      "[Desktop Entry]\nType=Application\nName=Viewer\nExec=zerud-test-viewer %f\n"
      "MimeType=application/pdf;\n");
  EXPECT_EQ(desktop.DefaultPdfApplication(), QStringLiteral("zerud-test-viewer.desktop"));
  EXPECT_TRUE(desktop.ApplicationInstalled(QStringLiteral("zerud-test-viewer.desktop")));
  EXPECT_TRUE(DesktopKeyExists(PdfReaderKeys().first(), desktop));
  // The help's own test, against this made-up desktop.
  EXPECT_TRUE(PdfReaderInstalled());

  EXPECT_TRUE(desktop.ProgramOnPath(QStringLiteral("zerud-test-viewer")));
  EXPECT_FALSE(desktop.ProgramOnPath(QStringLiteral("zerud-no-such-viewer")));
}

}  // namespace
}  // namespace zerud
