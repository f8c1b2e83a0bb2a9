#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include "TestPath.h"
#include "platform/DocumentOpener.h"

namespace zerud {
namespace {

struct TLaunch {
  QString program;
  QStringList arguments;
};

// A launcher that records what it is asked to start.
struct TFakeLauncher {
  std::vector<TLaunch> launches;
  bool succeed = true;
  TLauncher Launcher() {
    return [this](const QString& program, const QStringList& arguments) {
      launches.push_back({program, arguments});
      return succeed;
    };
  }
};

TEST(OpenDocument, OpenHandsTheAbsolutePathToXdgOpen) {
  test::TTestPath path(/*keepSystemPath=*/false);
  path.AddProgram(QStringLiteral("xdg-open"));
  QTemporaryDir folder;
  const QString file = folder.filePath(QStringLiteral("Aide.pdf"));

  for (const char* verb : {"OPEN", "open", "Open"}) {
    TFakeLauncher launcher;
    EXPECT_TRUE(
        OpenDocument(QString::fromLatin1(verb), file, TShowCommand::Normal, launcher.Launcher()));
    ASSERT_EQ(launcher.launches.size(), 1u) << verb;
    EXPECT_EQ(launcher.launches[0].program, path.Folder() + QStringLiteral("/xdg-open"));
    EXPECT_EQ(launcher.launches[0].arguments, QStringList{file});
  }

  // A relative name is made absolute, since the viewer has another folder.
  TFakeLauncher launcher;
  EXPECT_TRUE(OpenDocument(QStringLiteral("OPEN"), QStringLiteral("Aide.pdf"), TShowCommand::Normal,
                           launcher.Launcher()));
  ASSERT_EQ(launcher.launches.size(), 1u);
  EXPECT_EQ(launcher.launches[0].arguments,
            QStringList{QDir::current().absoluteFilePath(QStringLiteral("Aide.pdf"))});
}

TEST(OpenDocument, UnknownVerbsAndAMissingOpenerStartNothing) {
  test::TTestPath path(/*keepSystemPath=*/false);
  TFakeLauncher launcher;
  // No xdg-open on the PATH.
  EXPECT_FALSE(OpenDocument(QStringLiteral("OPEN"), QStringLiteral("/tmp/Aide.pdf"),
                            TShowCommand::Maximized, launcher.Launcher()));
  path.AddProgram(QStringLiteral("xdg-open"));
  EXPECT_FALSE(OpenDocument(QStringLiteral("PRINT"), QStringLiteral("/tmp/Aide.pdf"),
                            TShowCommand::Maximized, launcher.Launcher()));
  EXPECT_FALSE(OpenDocument(QStringLiteral("OPENX"), QStringLiteral("/tmp/Aide.pdf"),
                            TShowCommand::Maximized, launcher.Launcher()));
  EXPECT_TRUE(launcher.launches.empty());

  // The opener that fails to start is reported, and no sizing helper follows.
  launcher.succeed = false;
  path.AddProgram(QStringLiteral("xdotool"));
  path.AddProgram(QStringLiteral("timeout"));
  EXPECT_FALSE(OpenDocument(QStringLiteral("OPEN"), QStringLiteral("/tmp/Aide.pdf"),
                            TShowCommand::Maximized, launcher.Launcher()));
  EXPECT_EQ(launcher.launches.size(), 1u);
}

TEST(OpenDocument, MaximizedSizesTheViewersWindowToTheScreenWhenXdotoolIsThere) {
  test::TTestPath path(/*keepSystemPath=*/false);
  path.AddProgram(QStringLiteral("xdg-open"));
  // Without xdotool the document opens at the viewer's own size.
  {
    TFakeLauncher launcher;
    EXPECT_TRUE(OpenDocument(QStringLiteral("OPEN"), QStringLiteral("/tmp/Aide.pdf"),
                             TShowCommand::Maximized, launcher.Launcher()));
    EXPECT_EQ(launcher.launches.size(), 1u);
  }
  path.AddProgram(QStringLiteral("xdotool"));
  path.AddProgram(QStringLiteral("timeout"));
  {
    TFakeLauncher launcher;
    EXPECT_TRUE(OpenDocument(QStringLiteral("OPEN"), QStringLiteral("/tmp/Aide.pdf"),
                             TShowCommand::Maximized, launcher.Launcher()));
    ASSERT_EQ(launcher.launches.size(), 2u);
    const TLaunch& helper = launcher.launches[1];
    EXPECT_EQ(helper.program, path.Folder() + QStringLiteral("/timeout"));
    const QStringList expected = {QString::number(kMaximizeWaitSeconds),
                                  path.Folder() + QStringLiteral("/xdotool"),
                                  QStringLiteral("search"),
                                  QStringLiteral("--sync"),
                                  QStringLiteral("--onlyvisible"),
                                  QStringLiteral("--name"),
                                  QStringLiteral("Aide\\.pdf"),
                                  QStringLiteral("windowmove"),
                                  QStringLiteral("%@"),
                                  QStringLiteral("0"),
                                  QStringLiteral("0"),
                                  QStringLiteral("windowsize"),
                                  QStringLiteral("%@"),
                                  QStringLiteral("100%"),
                                  QStringLiteral("100%")};
    EXPECT_EQ(helper.arguments, expected);
  }
  {
    TFakeLauncher launcher;
    EXPECT_TRUE(OpenDocument(QStringLiteral("OPEN"), QStringLiteral("/tmp/Aide.pdf"),
                             TShowCommand::Normal, launcher.Launcher()));
    EXPECT_EQ(launcher.launches.size(), 1u);
  }
}

// The real launcher starts the desktop's opener with the document: a made-up
// xdg-open writes down what it was given.
TEST(OpenDocument, TheSystemLauncherStartsXdgOpen) {
  test::TTestPath path(/*keepSystemPath=*/false);
  QTemporaryDir folder;
  const QString record = folder.filePath(QStringLiteral("opened.txt"));
  path.AddProgram(QStringLiteral("xdg-open"), "printf '%s\\n' \"$@\" > '" + record.toLocal8Bit() +
                                                  ".part'\n"
                                                  "/bin/mv '" +
                                                  record.toLocal8Bit() + ".part' '" +
                                                  record.toLocal8Bit() + "'\n");
  const QString document = folder.filePath(QStringLiteral("Aide à lire.pdf"));

  ASSERT_TRUE(OpenDocument(QStringLiteral("OPEN"), document, TShowCommand::Normal));
  QElapsedTimer waited;
  waited.start();
  while (!QFile::exists(record) && waited.elapsed() < 10000) QThread::msleep(20);
  QFile opened(record);
  ASSERT_TRUE(opened.open(QIODevice::ReadOnly)) << "xdg-open was not started";
  EXPECT_EQ(QString::fromLocal8Bit(opened.readAll()), document + QStringLiteral("\n"));
}

}  // namespace
}  // namespace zerud
