// What the benchmarks that show a main window share.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QtGlobal>

namespace zerud::bench {

// The window is drawn offscreen unless a display is chosen; call it before
// the application object is made.
inline void PreferOffscreen() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
}

// Puts scores.txt and images/bg.jpg of the source tree into `folder`.
inline void CopyGameFiles(const QString& folder) {
  QDir(folder).mkdir(QStringLiteral("images"));
  QFile::copy(QStringLiteral(ZERUD_SCORES_FILE), folder + QStringLiteral("/scores.txt"));
  QFile::copy(QStringLiteral(ZERUD_BACKGROUND_FILE), folder + QStringLiteral("/images/bg.jpg"));
}

}  // namespace zerud::bench
