#include "assets/Pictures.h"

#include <QFile>
#include <QList>
#include <QPixmap>
#include <array>

#include "assets/ArgbCodec.h"
#include "assets/BmpCodec.h"
#include "assets/IcoCodec.h"
#include "assets/IconListCodec.h"
#include "assets/JpegCodec.h"
#include "assets/PictureError.h"

namespace zerud {

namespace {

// The pictures are built into the library as Qt resources under this folder.
QByteArray ResourceBytes(const QString& fileName) {
  QFile file(QStringLiteral(":/zerud/pictures/") + fileName);
  if (!file.open(QIODevice::ReadOnly)) {
    throw TPictureError(fileName, QStringLiteral("absente du programme"));
  }
  return file.readAll();
}

QImage EmbeddedJpeg(const QString& fileName) {
  return DecodeJpeg(ResourceBytes(fileName), fileName);
}

constexpr std::array<const char*, 4> kButtonNames{"start", "options", "reseau", "aide"};
constexpr std::array<const char*, 3> kLookNames{"normal", "over", "down"};
constexpr std::array<const char*, kListeBmpCount> kListeBmpFiles{
    "listebmp0_grid.argb", "listebmp1_yellow.argb", "listebmp2_red.argb",
    "listebmp3_yellow_tick.argb", "listebmp4_red_tick.argb"};
constexpr std::array<const char*, kListeBmpCount> kContrastFiles{
    "contrast0_grid.argb", "contrast1_yellow.argb", "contrast2_red.argb",
    "contrast3_yellow_tick.argb", "contrast4_red_tick.argb"};

std::array<QImage, kListeBmpCount> DecodeArgbSet(
    const std::array<const char*, kListeBmpCount>& files) {
  std::array<QImage, kListeBmpCount> all;
  for (int i = 0; i < kListeBmpCount; ++i) {
    const QString fileName = QString::fromLatin1(files[i]);
    all[i] = DecodeArgb(ResourceBytes(fileName), fileName);
  }
  return all;
}

}  // namespace

QImage SplashPicture() {
  static const QImage picture = EmbeddedJpeg(QStringLiteral("splash.jpg"));
  return picture;
}

QImage LeftPanelPicture() {
  static const QImage picture = EmbeddedJpeg(QStringLiteral("left_panel.jpg"));
  return picture;
}

QImage OptionsPanelPicture() {
  static const QImage picture = EmbeddedJpeg(QStringLiteral("options_panel.jpg"));
  return picture;
}

QImage ButtonPicture(TButtonPicture button, TButtonLook look) {
  static const auto pictures = [] {
    std::array<std::array<QImage, kLookNames.size()>, kButtonNames.size()> all;
    for (size_t b = 0; b < kButtonNames.size(); ++b) {
      for (size_t l = 0; l < kLookNames.size(); ++l) {
        const QString fileName =
            QStringLiteral("button_%1_%2.lbmp").arg(kButtonNames[b], kLookNames[l]);
        all[b][l] = DecodeLengthPrefixedBmp(ResourceBytes(fileName), fileName);
      }
    }
    return all;
  }();
  return pictures[static_cast<size_t>(button)][static_cast<size_t>(look)];
}

QImage ListeBmp(int index, bool highContrast) {
  static const auto pictures = DecodeArgbSet(kListeBmpFiles);
  static const auto contrast = DecodeArgbSet(kContrastFiles);
  if (index < 0 || index >= kListeBmpCount) {
    throw TPictureError(QStringLiteral("listeBmp"), QStringLiteral("indice %1 absent").arg(index));
  }
  return highContrast ? contrast[index] : pictures[index];
}

QImage LogIcon(int index, bool highContrast) {
  const auto decode = [](const char* name) {
    const QString fileName = QString::fromLatin1(name);
    return DecodeIconList(ResourceBytes(fileName), fileName);
  };
  static const QList<QImage> icons = decode("log_icons.zil");
  static const QList<QImage> contrast = decode("log_icons_contrast.zil");
  const QList<QImage>& set = highContrast ? contrast : icons;
  if (index < 0 || index >= set.size()) {
    throw TPictureError(QStringLiteral("ImageList1"),
                        QStringLiteral("indice %1 absent").arg(index));
  }
  return set[index];
}

QIcon ProgramIcon() {
  const QString fileName = QStringLiteral("program.ico");
  QIcon icon(QPixmap::fromImage(DecodeIco(ResourceBytes(fileName), fileName)));
  // The desktop's icons (the .ico gives the 32 pixels), so that task bars and
  // window switchers show the same art sharp at their own size.
  for (const int side : {16, 24, 48, 64, 128, 256}) {
    const QString pngName = QStringLiteral("icon_%1.png").arg(side);
    const QImage picture = QImage::fromData(ResourceBytes(pngName), "PNG");
    if (picture.size() != QSize(side, side)) {
      throw TPictureError(pngName, QStringLiteral("image illisible"));
    }
    icon.addPixmap(QPixmap::fromImage(picture));
  }
  return icon;
}

}  // namespace zerud
