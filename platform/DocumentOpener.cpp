#include "platform/DocumentOpener.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace zerud {

bool OpenDocument(const QString& verb, const QString& file, TShowCommand show,
                  const TLauncher& launch) {
  if (verb.compare(QLatin1String(kOpenVerb), Qt::CaseInsensitive) != 0) return false;
  const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (xdgOpen.isEmpty()) return false;
  const QFileInfo document(file);
  if (!launch(xdgOpen, {document.absoluteFilePath()})) return false;

  if (show == TShowCommand::Maximized) {
    const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
    const QString timeout = QStandardPaths::findExecutable(QStringLiteral("timeout"));
    if (!xdotool.isEmpty() && !timeout.isEmpty()) {
      // The viewer's window appears some time after xdg-open returns and is
      // found by the file name in its title; the helper gives up quietly
      // after the wait.
      launch(timeout, {QString::number(kMaximizeWaitSeconds), xdotool, QStringLiteral("search"),
                       QStringLiteral("--sync"), QStringLiteral("--onlyvisible"),
                       QStringLiteral("--name"), QRegularExpression::escape(document.fileName()),
                       QStringLiteral("windowmove"), QStringLiteral("%@"), QStringLiteral("0"),
                       QStringLiteral("0"), QStringLiteral("windowsize"), QStringLiteral("%@"),
                       QStringLiteral("100%"), QStringLiteral("100%")});
    }
  }
  return true;
}

bool OpenDocument(const QString& verb, const QString& file, TShowCommand show) {
  return OpenDocument(verb, file, show, [](const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments);
  });
}

}  // namespace zerud
