// The asset generator, run twice: both runs write the same bytes (nothing
// may depend on the clock or an unseeded generator), and the same files as
// assets/. Where the libraries may round differently from the machine that
// drew the committed files, a file is compared for what matters rather than
// for its bytes: a PNG pixel by pixel within a small tolerance (font
// rasterisers differ), a sound for its length and loudness (libm may round
// a sample differently). Every other file has its committed byte count; the
// padded JPEGs are made to, and bg.jpg is free.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

#include "AssetTestSupport.h"

namespace zerud::test {
namespace {

constexpr int kChannelTolerance = 32;

QString RunGenerator(const QTemporaryDir& work, const QString& run) {
  const QString folder = work.filePath(run);
  QProcess generator;
  generator.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  generator.start(QStringLiteral(ZERUD_ASSETGEN), {folder});
  EXPECT_TRUE(generator.waitForFinished(60000));
  EXPECT_EQ(generator.exitCode(), 0);
  return folder;
}

QStringList Files(const QString& folder) {
  QStringList names = QDir(folder).entryList(QDir::Files, QDir::Name);
  names.removeAll(QStringLiteral("README.md"));
  return names;
}

int LargestChannelDifference(const QImage& drawn, const QImage& committed) {
  int largest = 0;
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      const QRgb a = drawn.pixel(x, y);
      const QRgb b = committed.pixel(x, y);
      largest = std::max({largest, std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                          std::abs(qBlue(a) - qBlue(b)), std::abs(qAlpha(a) - qAlpha(b))});
    }
  }
  return largest;
}

// Root mean square of a canonical 16-bit mono WAV's samples.
double Loudness(const QByteArray& wav) {
  double sum = 0;
  const int count = int(wav.size() - 44) / 2;
  for (int i = 0; i < count; ++i) {
    const qint16 v = qint16(quint8(wav[44 + 2 * i]) | quint8(wav[45 + 2 * i]) << 8);
    sum += double(v) * v;
  }
  return count > 0 ? std::sqrt(sum / count) : 0;
}

void ExpectLikeCommitted(const QString& name, const QByteArray& drawn,
                         const QByteArray& committed) {
  SCOPED_TRACE(name.toStdString());
  if (name.endsWith(QStringLiteral(".png"))) {
    const QImage a = QImage::fromData(drawn).convertToFormat(QImage::Format_ARGB32);
    const QImage b = QImage::fromData(committed).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_LE(LargestChannelDifference(a, b), kChannelTolerance);
  } else if (name.endsWith(QStringLiteral(".wav"))) {
    EXPECT_EQ(drawn.size(), committed.size());
    EXPECT_EQ(drawn.left(44), committed.left(44));
    EXPECT_NEAR(Loudness(drawn), Loudness(committed), Loudness(committed) * 0.01);
    EXPECT_GT(Loudness(drawn), 1000);
  } else if (name != QStringLiteral("bg.jpg")) {
    EXPECT_EQ(drawn.size(), committed.size());
  }
}

TEST(Generator, DrawsTheCommittedAssetsTheSameOnEveryRun) {
  QTemporaryDir work;
  ASSERT_TRUE(work.isValid());
  const QString first = RunGenerator(work, QStringLiteral("first"));
  const QString second = RunGenerator(work, QStringLiteral("second"));
  for (const char* kind : {"pictures", "sounds"}) {
    const QString drawn = first + '/' + kind;
    const QString committed = QStringLiteral(ZERUD_ASSETS_DIR "/") + kind;
    ASSERT_EQ(Files(drawn), Files(committed));
    for (const QString& name : Files(drawn)) {
      const QByteArray bytes = FileBytes(drawn + '/' + name);
      EXPECT_EQ(bytes, FileBytes(second + '/' + kind + '/' + name)) << name.toStdString();
      ExpectLikeCommitted(name, bytes, FileBytes(committed + '/' + name));
    }
  }
}

}  // namespace
}  // namespace zerud::test
