#include "platform/PdfReaderWatch.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTimer>

namespace zerud {

TPdfReaderWatch::TPdfReaderWatch(QObject* parent, int timeoutMs)
    : QObject(parent), timeoutMs_(timeoutMs) {
  deadline_ = new QTimer(this);
  deadline_->setSingleShot(true);
  connect(deadline_, &QTimer::timeout, this, [this] {
    // The process is killed here; its finished signal is no longer heard.
    query_->disconnect(this);
    query_->kill();
    query_->waitForFinished(100);
    QueryEnded({});
  });
  StartQuery();
}

TPdfReaderWatch::~TPdfReaderWatch() {
  if (query_ != nullptr && query_->state() != QProcess::NotRunning) {
    query_->disconnect(this);
    query_->kill();
    query_->waitForFinished(100);
  }
}

void TPdfReaderWatch::Ask(TAnswer answer) {
  if (!installed_) {
    waiting_.push_back(std::move(answer));
    return;
  }
  const bool installed = *installed_;
  StartQuery();
  answer(installed);
}

void TPdfReaderWatch::StartQuery() {
  if (query_ != nullptr && query_->state() != QProcess::NotRunning) return;
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (xdgMime.isEmpty()) {
    QueryEnded({});
    return;
  }
  // A fresh process each time: one that was killed may still be winding down.
  if (query_ != nullptr) query_->deleteLater();
  query_ = new QProcess(this);
  query_->setStandardInputFile(QProcess::nullDevice());
  query_->setStandardErrorFile(QProcess::nullDevice());
  connect(query_, &QProcess::finished, this, [this](int exitCode, QProcess::ExitStatus status) {
    deadline_->stop();
    const bool answered = status == QProcess::NormalExit && exitCode == 0;
    QueryEnded(answered ? DefaultPdfApplicationFrom(query_->readAllStandardOutput()) : QString());
  });
  connect(query_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    deadline_->stop();
    QueryEnded({});
  });
  deadline_->start(timeoutMs_);
  query_->start(xdgMime, DefaultPdfQueryArguments());
}

// The other questions (is that application installed, is a known viewer on
// the PATH) are quick lookups in the file system, asked here.
void TPdfReaderWatch::QueryEnded(const QString& defaultApplication) {
  TPdfDesktop desktop = SystemPdfDesktop();
  desktop.DefaultPdfApplication = [defaultApplication] { return defaultApplication; };
  installed_ = PdfReaderInstalled(desktop);
  // An answer may open a message box with its own loop, where another
  // question can arrive: take the list before answering.
  std::vector<TAnswer> waiting;
  waiting.swap(waiting_);
  for (TAnswer& answer : waiting) answer(*installed_);
}

}  // namespace zerud
