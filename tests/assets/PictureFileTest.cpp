// Reading a picture file beside the program: images/bg.jpg.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "AssetTestSupport.h"
#include "assets/BmpCodec.h"
#include "assets/Pictures.h"
#include "rules/Errors.h"

namespace zerud {
namespace {

class PictureFile : public testing::Test {
 protected:
  QString Write(const QString& name, const QByteArray& bytes) {
    const QString path = folder_.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }

  QTemporaryDir folder_;
  const QByteArray background_ = test::FileBytes(test::SourcePicture("bg.jpg"));
};

TEST_F(PictureFile, ReadsTheBackgroundWhateverTheCaseOfItsExtension) {
  const QImage expected = LoadPictureFile(test::SourcePicture("bg.jpg"));
  EXPECT_EQ(expected.size(), QSize(800, 600));
  EXPECT_EQ(expected.format(), QImage::Format_RGB32);
  EXPECT_EQ(LoadPictureFile(Write("BG.JPG", background_)), expected);
  EXPECT_EQ(LoadPictureFile(Write("bg.jpeg", background_)), expected);
}

TEST_F(PictureFile, PicksTheDecoderFromTheExtension) {
  QImage small(3, 2, QImage::Format_RGB32);
  small.fill(qRgb(1, 2, 3));
  EXPECT_EQ(LoadPictureFile(Write("small.bmp", EncodeBmp24(small))), small);
  // A JPEG under another name is not guessed at.
  test::ExpectPictureError([&] { LoadPictureFile(Write("bg.bmp", background_)); }, "signature");
  test::ExpectPictureError([&] { LoadPictureFile(Write("bg.png", background_)); }, "inconnu");
  test::ExpectPictureError([&] { LoadPictureFile(Write("bg", background_)); }, "inconnu");
}

TEST_F(PictureFile, AMissingFileOrAFolderCannotBeOpened) {
  ASSERT_TRUE(QDir(folder_.path()).mkpath("folder.jpg"));
  for (const QString& path : {folder_.filePath("images/bg.jpg"), folder_.filePath("folder.jpg")}) {
    try {
      LoadPictureFile(path);
      ADD_FAILURE() << "no error for " << path.toStdString();
    } catch (const TFileOpenError& error) {
      EXPECT_EQ(std::string(error.what()), "Impossible d'ouvrir le fichier " + path.toStdString());
    }
  }
}

TEST_F(PictureFile, ADamagedBackgroundIsAPictureError) {
  const QString path = Write("bg.jpg", background_.left(background_.size() / 3));
  test::ExpectPictureError([&] { LoadPictureFile(path); }, "tronqué");
  test::ExpectPictureError([&] { LoadPictureFile(Write("empty.jpg", {})); }, "vide");
}

}  // namespace
}  // namespace zerud
