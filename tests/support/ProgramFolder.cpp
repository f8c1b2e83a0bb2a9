#include "tests/support/ProgramFolder.h"

#include <QDir>
#include <QFile>

namespace zerud::test {

QString BuiltProgramFolder() { return QStringLiteral(ZERUD_BUILT_PROGRAM_DIR "/"); }

TProgramFolder::TProgramFolder(TFiles files, const QByteArray& scores) {
  const QString built = BuiltProgramFolder();
  if (files == kBoth || files == kNoBackground) {
    const QString table = Path() + QStringLiteral("scores.txt");
    if (scores.isNull()) {
      QFile::copy(built + QStringLiteral("scores.txt"), table);
    } else {
      QFile file(table);
      file.open(QIODevice::WriteOnly);
      file.write(scores);
    }
  }
  if (files == kBoth || files == kNoScores) {
    QDir(dir_.path()).mkdir(QStringLiteral("images"));
    QFile::copy(built + QStringLiteral("images/bg.jpg"), Path() + QStringLiteral("images/bg.jpg"));
  }
}

}  // namespace zerud::test
