#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

// A temporary folder of made-up programs put in front of the PATH (or alone
// on it) for the lifetime of the object; the old PATH comes back afterwards.
namespace zerud::test {

class TTestPath {
 public:
  explicit TTestPath(bool keepSystemPath) : oldPath_(qgetenv("PATH")) {
    QByteArray path = folder_.path().toLocal8Bit();
    if (keepSystemPath) path += ":" + oldPath_;
    qputenv("PATH", path);
  }
  ~TTestPath() { qputenv("PATH", oldPath_); }
  TTestPath(const TTestPath&) = delete;
  TTestPath& operator=(const TTestPath&) = delete;

  // Writes an executable shell script of that name into the folder.
  void AddProgram(const QString& name, const QByteArray& body = "exit 0\n") {
    QFile file(folder_.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write("#!/bin/sh\n" + body);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
  }

  QString Folder() const { return folder_.path(); }

 private:
  QTemporaryDir folder_;
  QByteArray oldPath_;
};

}  // namespace zerud::test
