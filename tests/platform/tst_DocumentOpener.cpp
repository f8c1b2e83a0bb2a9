#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include "TestPath.h"
#include "platform/DocumentOpener.h"

namespace zerud {
namespace {

const QString kHelp = QStringLiteral("/tmp/Aide.pdf");

struct TLaunch {
  QString program;
  QStringList arguments;
  bool operator==(const TLaunch&) const = default;
};

// Opens through a launcher that records what it is asked to start.
bool Open(const QString& verb, const QString& file, TShowCommand show,
          std::vector<TLaunch>& launches, bool launcherSucceeds = true) {
  return OpenDocument(verb, file, show, [&](const QString& program, const QStringList& arguments) {
    launches.push_back({program, arguments});
    return launcherSucceeds;
  });
}

TEST(OpenDocument, OpenHandsTheAbsolutePathToXdgOpen) {
  test::TTestPath path(/*keepSystemPath=*/false);
  const QString xdgOpen = path.Folder() + QStringLiteral("/xdg-open");
  std::vector<TLaunch> launches;
  // No xdg-open on the PATH.
  EXPECT_FALSE(Open(QStringLiteral("OPEN"), kHelp, TShowCommand::Normal, launches));
  path.AddProgram(QStringLiteral("xdg-open"));
  for (const char* verb : {"PRINT", "OPENX"})
    EXPECT_FALSE(Open(QString::fromLatin1(verb), kHelp, TShowCommand::Normal, launches));
  EXPECT_TRUE(launches.empty());

  // Verbs are case-insensitive; a relative name is made absolute, since the
  // viewer runs in another folder.
  const QString relative = QDir::current().absoluteFilePath(QStringLiteral("Aide.pdf"));
  const struct {
    const char* verb;
    QString file, expected;
  } cases[] = {{"OPEN", kHelp, kHelp},
               {"open", kHelp, kHelp},
               {"Open", QStringLiteral("Aide.pdf"), relative}};
  for (const auto& c : cases) {
    launches.clear();
    EXPECT_TRUE(Open(QString::fromLatin1(c.verb), c.file, TShowCommand::Normal, launches));
    EXPECT_EQ(launches, (std::vector<TLaunch>{{xdgOpen, {c.expected}}})) << c.verb;
  }
}

TEST(OpenDocument, MaximizedSizesTheViewersWindowWhenXdotoolIsThere) {
  test::TTestPath path(/*keepSystemPath=*/false);
  path.AddProgram(QStringLiteral("xdg-open"));
  std::vector<TLaunch> launches;
  // Without xdotool the document opens at the viewer's own size.
  EXPECT_TRUE(Open(QStringLiteral("OPEN"), kHelp, TShowCommand::Maximized, launches));
  EXPECT_EQ(launches.size(), 1u);

  path.AddProgram(QStringLiteral("xdotool"));
  path.AddProgram(QStringLiteral("timeout"));
  launches.clear();
  EXPECT_TRUE(Open(QStringLiteral("OPEN"), kHelp, TShowCommand::Maximized, launches));
  ASSERT_EQ(launches.size(), 2u);
  EXPECT_EQ(launches[1].program, path.Folder() + QStringLiteral("/timeout"));
  EXPECT_EQ(launches[1].arguments.join(u' '),
            QString::number(kMaximizeWaitSeconds) + u' ' + path.Folder() +
                QStringLiteral("/xdotool search --sync --onlyvisible --name Aide\\.pdf "
                               "windowmove %@ 0 0 windowsize %@ 100% 100%"));

  // Shown normally, or when the opener fails to start, no helper follows.
  for (bool succeeds : {true, false}) {
    launches.clear();
    EXPECT_EQ(Open(QStringLiteral("OPEN"), kHelp,
                   succeeds ? TShowCommand::Normal : TShowCommand::Maximized, launches, succeeds),
              succeeds);
    EXPECT_EQ(launches.size(), 1u);
  }
}

// The real launcher starts the desktop's opener with the document: a made-up
// xdg-open writes down what it was given.
TEST(OpenDocument, TheSystemLauncherStartsXdgOpen) {
  test::TTestPath path(/*keepSystemPath=*/false);
  QTemporaryDir folder;
  const QByteArray record = folder.filePath(QStringLiteral("opened.txt")).toLocal8Bit();
  path.AddProgram(QStringLiteral("xdg-open"), "printf '%s\\n' \"$@\" > '" + record +
                                                  ".part'\n/bin/mv '" + record + ".part' '" +
                                                  record + "'\n");
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
