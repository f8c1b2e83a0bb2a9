#include "assets/PictureError.h"

namespace zerud {

namespace {
std::string Describe(const QString& name, const QString& reason) {
  return QStringLiteral("L'image \"%1\" est illisible : %2").arg(name, reason).toStdString();
}
}  // namespace

TPictureError::TPictureError(const QString& name, const QString& reason)
    : TGameError(Describe(name, reason)) {}

QString SizeRefusal(qint64 width, qint64 height) {
  return QStringLiteral("dimensions %1 x %2 hors limites").arg(width).arg(height);
}

void CheckPictureSize(const QString& name, qint64 width, qint64 height) {
  if (!PictureSizeAcceptable(width, height)) throw TPictureError(name, SizeRefusal(width, height));
}

}  // namespace zerud
