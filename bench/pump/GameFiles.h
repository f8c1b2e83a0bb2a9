// The game's files, copied into a program folder for a benchmark's window.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>

namespace zerud::bench {

// Puts scores.txt and images/bg.jpg of the source tree into `folder`.
inline void CopyGameFiles(const QString& folder) {
  QDir(folder).mkdir(QStringLiteral("images"));
  QFile::copy(QStringLiteral(ZERUD_SCORES_FILE), folder + QStringLiteral("/scores.txt"));
  QFile::copy(QStringLiteral(ZERUD_BACKGROUND_FILE), folder + QStringLiteral("/images/bg.jpg"));
}

}  // namespace zerud::bench
