// Draws every picture of the game and synthesises its sounds, each in its
// stored format:
//   zerud-assetgen <assets folder> [<preview folder>]
// writes <assets folder>/pictures and <assets folder>/sounds. The output is
// the same on every run. With a preview folder, each picture is also written
// there as PNG for a quick look.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <stdexcept>

#include "Art.h"
#include "BoardArt.h"
#include "ButtonArt.h"
#include "ContrastArt.h"
#include "IconArt.h"
#include "JpegPadding.h"
#include "PanelArt.h"
#include "SceneArt.h"
#include "SoundArt.h"
#include "assets/ArgbCodec.h"
#include "assets/BmpCodec.h"
#include "assets/IcoCodec.h"
#include "assets/IconListCodec.h"
#include "assets/JpegCodec.h"
#include "rules/Errors.h"

namespace {

using namespace zerud;
using namespace zerud::art;

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    throw TFileOpenError(file.fileName().toStdString());
  }
}

struct TOutput {
  QDir pictures;
  QDir sounds;
  QString previews;  // empty: no previews

  void Write(const QString& fileName, const QByteArray& bytes, const QImage& preview) const {
    WriteFile(pictures.filePath(fileName), bytes);
    std::printf("%-28s %4d x %-4d %9lld bytes\n", qPrintable(fileName), preview.width(),
                preview.height(), static_cast<long long>(bytes.size()));
    if (!previews.isEmpty()) preview.save(QDir(previews).filePath(fileName + ".png"));
  }

  void WriteSound(const TSoundArt& sound) const {
    const QByteArray bytes = EncodeWav(sound.Samples);
    WriteFile(sounds.filePath(sound.FileName), bytes);
    std::printf("%-28s %6lld ms %11lld bytes\n", qPrintable(sound.FileName),
                static_cast<long long>(sound.Samples.size() * 1000 / kSoundRate),
                static_cast<long long>(bytes.size()));
  }
};

QByteArray EncodePng(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG")) throw std::runtime_error("PNG encoder unavailable");
  return bytes;
}

// Byte counts of the three panel pictures as the windows have always stored them.
constexpr qsizetype kSplashBytes = 143290;
constexpr qsizetype kLeftPanelBytes = 126489;
constexpr qsizetype kOptionsPanelBytes = 223196;
constexpr int kBackgroundQuality = 92;

void WriteAll(const TOutput& out) {
  const QImage grid = DrawGridOverlay();
  const QImage yellow = DrawPiece(kYellow, false);
  const QImage red = DrawPiece(kRed, false);
  const QImage pieces[] = {yellow, red, DrawPiece(kYellow, true), DrawPiece(kRed, true)};
  const char* pieceFiles[] = {"listebmp1_yellow.argb", "listebmp2_red.argb",
                              "listebmp3_yellow_tick.argb", "listebmp4_red_tick.argb"};
  out.Write("listebmp0_grid.argb", EncodeArgb(grid), grid);
  for (int i = 0; i < 4; ++i) out.Write(pieceFiles[i], EncodeArgb(pieces[i]), pieces[i]);
  // The same five in the high-contrast style.
  const QImage contrast[] = {DrawContrastGrid(), DrawContrastPiece(false, false),
                             DrawContrastPiece(true, false), DrawContrastPiece(false, true),
                             DrawContrastPiece(true, true)};
  const char* contrastFiles[] = {"contrast0_grid.argb", "contrast1_yellow.argb",
                                 "contrast2_red.argb", "contrast3_yellow_tick.argb",
                                 "contrast4_red_tick.argb"};
  for (int i = 0; i < 5; ++i) out.Write(contrastFiles[i], EncodeArgb(contrast[i]), contrast[i]);

  const QImage splash = DrawSplash(grid, yellow, red);
  out.Write("splash.jpg", EncodeJpegOfSize(splash, kSplashBytes), splash);
  const QImage left = DrawLeftPanel();
  out.Write("left_panel.jpg", EncodeJpegOfSize(left, kLeftPanelBytes), left);
  const QImage options = DrawOptionsPanel();
  out.Write("options_panel.jpg", EncodeJpegOfSize(options, kOptionsPanelBytes), options);
  const QImage background = DrawBackground();
  out.Write("bg.jpg", EncodeJpeg(background, kBackgroundQuality), background);

  const std::pair<TButtonArt, const char*> buttons[] = {{TButtonArt::Start, "start"},
                                                        {TButtonArt::Options, "options"},
                                                        {TButtonArt::Reseau, "reseau"},
                                                        {TButtonArt::Aide, "aide"}};
  const std::pair<TButtonState, const char*> states[] = {
      {TButtonState::Normal, "normal"}, {TButtonState::Over, "over"}, {TButtonState::Down, "down"}};
  for (const auto& [button, buttonName] : buttons) {
    for (const auto& [state, stateName] : states) {
      const QImage picture = DrawButton(button, state);
      out.Write(QStringLiteral("button_%1_%2.lbmp").arg(buttonName, stateName),
                EncodeLengthPrefixedBmp(picture), picture);
    }
  }

  const std::pair<QList<QImage>, const char*> iconSets[] = {
      {DrawLogIcons(), "log_icons.zil"}, {DrawContrastLogIcons(), "log_icons_contrast.zil"}};
  for (const auto& [icons, fileName] : iconSets) {
    QImage strip(20 * icons.size(), 20, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    for (int i = 0; i < icons.size(); ++i) {
      for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 20; ++x) strip.setPixel(20 * i + x, y, icons[i].pixel(x, y));
      }
    }
    out.Write(fileName, EncodeIconList(icons), strip);
  }
  const QImage icon = DrawProgramIcon();
  out.Write("program.ico", EncodeIco8(icon), icon);
  for (const int side : kDesktopIconSides) {
    const QImage desktopIcon = DrawProgramIconArt(side);
    out.Write(QStringLiteral("icon_%1.png").arg(side), EncodePng(desktopIcon), desktopIcon);
  }
  for (const TSoundArt& sound : DrawSounds()) out.WriteSound(sound);
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: zerud-assetgen <assets folder> [<preview folder>]\n");
    return 2;
  }
  const QDir assets(QString::fromLocal8Bit(argv[1]));
  TOutput out{QDir(assets.filePath(QStringLiteral("pictures"))),
              QDir(assets.filePath(QStringLiteral("sounds"))),
              argc == 3 ? QString::fromLocal8Bit(argv[2]) : QString()};
  if (!out.pictures.mkpath(QStringLiteral(".")) || !out.sounds.mkpath(QStringLiteral(".")) ||
      (!out.previews.isEmpty() && !QDir().mkpath(out.previews))) {
    std::fprintf(stderr, "zerud-assetgen: cannot create the output folders\n");
    return 1;
  }
  try {
    WriteAll(out);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "zerud-assetgen: %s\n", error.what());
    return 1;
  }
  return 0;
}
