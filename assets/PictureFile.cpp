#include <QFile>
#include <QFileInfo>

#include "assets/BmpCodec.h"
#include "assets/JpegCodec.h"
#include "assets/PictureError.h"
#include "assets/Pictures.h"

namespace zerud {

namespace {
// No picture the game can show needs more; a bigger file is refused before
// it is read into memory.
constexpr qint64 kMaxPictureFileBytes = 64 * 1024 * 1024;
}  // namespace

QImage LoadPictureFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw TFileOpenError(path.toStdString());
  if (file.size() > kMaxPictureFileBytes) {
    throw TPictureError(path, QStringLiteral("fichier trop volumineux"));
  }
  const QByteArray bytes = file.readAll();
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg")) {
    return DecodeJpeg(bytes, path);
  }
  if (suffix == QLatin1String("bmp")) return DecodeBmp(bytes, path);
  throw TPictureError(path, QStringLiteral("type de fichier inconnu"));
}

}  // namespace zerud
