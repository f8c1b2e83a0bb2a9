// Helpers shared by the picture tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "assets/PictureError.h"

namespace zerud::test {

// The stored bytes of a picture built into the program.
inline QByteArray EmbeddedBytes(const QString& fileName) {
  QFile file(QStringLiteral(":/zerud/pictures/") + fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "missing resource " << fileName.toStdString();
    return {};
  }
  return file.readAll();
}

// A picture file of the source tree's assets/pictures folder.
inline QString SourcePicture(const QString& fileName) {
  return QStringLiteral(ZERUD_PICTURES_DIR "/") + fileName;
}

inline QByteArray FileBytes(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    ADD_FAILURE() << "cannot read " << path.toStdString();
    return {};
  }
  return file.readAll();
}

// Runs the call and expects a TPictureError whose text holds the fragment.
inline void ExpectPictureError(const std::function<void()>& call, const std::string& fragment) {
  try {
    call();
    ADD_FAILURE() << "no error, expected one mentioning \"" << fragment << "\"";
  } catch (const TPictureError& error) {
    EXPECT_NE(std::string(error.what()).find(fragment), std::string::npos) << error.what();
  }
}

inline quint32 LittleEndian32(const QByteArray& bytes, qsizetype at) {
  const auto* p = reinterpret_cast<const uchar*>(bytes.constData()) + at;
  return p[0] | (p[1] << 8) | (p[2] << 16) | (quint32(p[3]) << 24);
}

inline int Luminance(QRgb c) { return qRed(c) * 30 + qGreen(c) * 59 + qBlue(c) * 11; }

}  // namespace zerud::test
