#include "platform/PdfReader.h"

#include <QProcess>
#include <QStandardPaths>

namespace zerud {
namespace {

QString QueryDefaultPdfApplication() {
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) return {};
  QProcess query;
  query.start(xdgMime, DefaultPdfQueryArguments());
  if (!query.waitForFinished(kPdfQueryTimeoutMs)) {
    query.kill();
    query.waitForFinished();
    return {};
  }
  if (query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) return {};
  return DefaultPdfApplicationFrom(query.readAllStandardOutput());
}

}  // namespace

const QStringList& PdfReaderKeys() {
  static const QStringList keys = {
      QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adobe Acrobat 4.0"),
      QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Adobe Acrobat 5.0"),
      QStringLiteral("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
                     "{AC76BA86-7AD7-1036-7B44-000000000001}"),
  };
  return keys;
}

bool PdfReaderInstalled(const TKeyExists& keyExists) {
  for (const QString& key : PdfReaderKeys())
    if (keyExists(key)) return true;
  return false;
}

bool PdfReaderInstalled() {
  // Every key asks the desktop the same questions: xdg-mime runs once, not
  // once a key.
  TPdfDesktop desktop = SystemPdfDesktop();
  desktop.DefaultPdfApplication = [answer = desktop.DefaultPdfApplication()] { return answer; };
  return PdfReaderInstalled(desktop);
}

bool PdfReaderInstalled(const TPdfDesktop& desktop) {
  return PdfReaderInstalled(
      [&desktop](const QString& key) { return DesktopKeyExists(key, desktop); });
}

const QStringList& DefaultPdfQueryArguments() {
  static const QStringList arguments = {QStringLiteral("query"), QStringLiteral("default"),
                                        QStringLiteral("application/pdf")};
  return arguments;
}

QString DefaultPdfApplicationFrom(const QByteArray& answer) {
  // xdg-mime may print several desktop files separated by ';'; the first wins.
  return QString::fromLocal8Bit(answer).trimmed().section(QLatin1Char(';'), 0, 0).trimmed();
}

const QStringList& KnownPdfViewers() {
  static const QStringList viewers = {
      QStringLiteral("evince"),   QStringLiteral("okular"),  QStringLiteral("atril"),
      QStringLiteral("qpdfview"), QStringLiteral("zathura"), QStringLiteral("mupdf"),
      QStringLiteral("xpdf"),     QStringLiteral("xreader"), QStringLiteral("papers"),
      QStringLiteral("acroread"),
  };
  return viewers;
}

TPdfDesktop SystemPdfDesktop() {
  TPdfDesktop desktop;
  desktop.DefaultPdfApplication = QueryDefaultPdfApplication;
  desktop.ApplicationInstalled = [](const QString& desktopFile) {
    return !QStandardPaths::locate(QStandardPaths::ApplicationsLocation, desktopFile).isEmpty();
  };
  desktop.ProgramOnPath = [](const QString& program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
  };
  return desktop;
}

bool IsPdfReaderKey(const QString& key) {
  return PdfReaderKeys().contains(key, Qt::CaseInsensitive);
}

bool DesktopKeyExists(const QString& key, const TPdfDesktop& desktop) {
  return IsPdfReaderKey(key) && DesktopHasPdfViewer(desktop);
}

bool DesktopHasPdfViewer(const TPdfDesktop& desktop) {
  const QString application = desktop.DefaultPdfApplication();
  if (!application.isEmpty() && desktop.ApplicationInstalled(application)) return true;
  for (const QString& viewer : KnownPdfViewers())
    if (desktop.ProgramOnPath(viewer)) return true;
  return false;
}

}  // namespace zerud
