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

TEST_F(PictureFile, PicksTheDecoderFromTheExtensionWhateverItsCase) {
  const QImage expected = LoadPictureFile(test::SourcePicture("bg.jpg"));
  EXPECT_EQ(expected.size(), QSize(800, 600));
  EXPECT_EQ(expected.format(), QImage::Format_RGB32);
  EXPECT_EQ(LoadPictureFile(Write("BG.JPG", background_)), expected);
  EXPECT_EQ(LoadPictureFile(Write("bg.jpeg", background_)), expected);
  QImage small(3, 2, QImage::Format_RGB32);
  small.fill(qRgb(1, 2, 3));
  EXPECT_EQ(LoadPictureFile(Write("small.bmp", EncodeBmp24(small))), small);
  // A JPEG under another name is not guessed at.
  for (const auto& [name, fragment] :
       {std::pair{"bg.bmp", "signature"}, {"bg.png", "inconnu"}, {"bg", "inconnu"}})
    test::ExpectPictureError([&] { LoadPictureFile(Write(name, background_)); }, fragment);
}

TEST_F(PictureFile, MissingFoldersAndDamagedFilesGiveTheirErrors) {
  ASSERT_TRUE(QDir(folder_.path()).mkpath("folder.jpg"));
  for (const QString& path : {folder_.filePath("images/bg.jpg"), folder_.filePath("folder.jpg")}) {
    try {
      LoadPictureFile(path);
      ADD_FAILURE() << "no error for " << path.toStdString();
    } catch (const TFileOpenError& error) {
      EXPECT_EQ(std::string(error.what()), "Impossible d'ouvrir le fichier " + path.toStdString());
    }
  }
  const QString cut = Write("bg.jpg", background_.left(background_.size() / 3));
  test::ExpectPictureError([&] { LoadPictureFile(cut); }, "tronqué");
  test::ExpectPictureError([&] { LoadPictureFile(Write("empty.jpg", {})); }, "vide");
}

}  // namespace
}  // namespace zerud
