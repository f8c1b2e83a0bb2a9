// The program folder for tests and benchmarks: the one the build lays out
// beside the executable, or a copy of its files in a folder of their own.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace zerud::test {

// The build's program folder: scores.txt and images/bg.jpg beside the
// executable, with a trailing separator.
QString BuiltProgramFolder();

// A temporary program folder with the build's scores.txt and images/bg.jpg,
// each optional; `scores` replaces the pattern table's text.
class TProgramFolder {
 public:
  enum TFiles { kBoth, kNoScores, kNoBackground, kNeither };

  explicit TProgramFolder(TFiles files = kBoth, const QByteArray& scores = QByteArray());

  // With a trailing separator.
  QString Path() const { return dir_.path() + QLatin1Char('/'); }

 private:
  QTemporaryDir dir_;
};

}  // namespace zerud::test
