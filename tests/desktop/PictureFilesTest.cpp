// Every host gets the same pixels: the plain decoder's reading of each
// built-in PNG file against Qt's own PNG reader on the committed file, and
// the desktop host's QImage of each picture against the same.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "assets/DecodePng.h"
#include "assets/EmbeddedPngs.h"
#include "assets/PictureFiles.h"
#include "assets/Pictures.h"
#include "desktop/QtPictures.h"

namespace pellmora {

namespace {

namespace pictures = pellmora::pictures;
using pellmora::Picture;
using pellmora::QtImage;

QString AssetPath(std::string_view name) {
  return QStringLiteral(PELLMORA_SOURCE_DIR "/assets/") +
         QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
}

// The committed file as Qt reads it, as 0xAARRGGBB pixels.
QImage QtRead(std::string_view name) {
  return QImage(AssetPath(name), "PNG").convertToFormat(QImage::Format_ARGB32);
}

// Pixels, alpha and the colour of clear pixels included, that differ.
int Differing(const Picture& picture, const QImage& image) {
  if (picture.width != image.width() || picture.height != image.height()) return -1;
  int differing = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) differing += picture.At(x, y) != image.pixel(x, y);
  }
  return differing;
}

TEST(PictureFiles, ThePlainDecoderReadsEveryFileAsQtDoes) {
  int files = 0;
  for (const pictures::EmbeddedFile& file : pictures::EmbeddedPngs()) {
    SCOPED_TRACE(std::string(file.name));
    ++files;
    const QImage byQt = QtRead(file.name);
    ASSERT_FALSE(byQt.isNull());
    const Picture plain = pellmora::DecodePng(file.bytes);
    ASSERT_FALSE(plain.IsNull());
    EXPECT_EQ(Differing(plain, byQt), 0);

    // Qt reads the built-in bytes as it reads the file.
    const QImage fromBytes =
        QImage::fromData(file.bytes.data(), static_cast<int>(file.bytes.size()), "PNG")
            .convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(fromBytes, byQt);
  }
  EXPECT_EQ(files, 12);
}

TEST(PictureFiles, TransparencySurvivesTheFilesExactly) {
  // The ball's corner is clear and its top pixel opaque yellow, in both
  // readings; the icon's corner is clear.
  const QImage ball = QtRead(pictures::kBallFile);
  ASSERT_EQ(ball.size(), QSize(16, 16));
  EXPECT_EQ(ball.pixel(0, 0), 0x00000000u);
  EXPECT_EQ(ball.pixel(8, 0), 0xFFFCFE04u);
  EXPECT_EQ(pictures::Ball().At(0, 0), 0x00000000u);
  EXPECT_EQ(pictures::Ball().At(8, 0), 0xFFFCFE04u);
  EXPECT_EQ(QtRead(pictures::kIconFile).pixel(0, 0), 0x00000000u);
  EXPECT_EQ(pictures::Icon().At(0, 0), 0x00000000u);
}

struct Named {
  const char* what;
  std::function<Picture()> picture;
  std::string_view file;
  bool seeThrough;
};

TEST(PictureFiles, TheDesktopShowsThePixelsOfTheFiles) {
  std::vector<Named> all = {
      {"tile", pictures::BackgroundTile, pictures::kBackgroundTileFile, false},
      {"icon", pictures::Icon, pictures::kIconFile, true},
      {"upright paddle", pictures::PaddleUpright, pictures::kPaddleUprightFile, false},
      {"flat paddle", pictures::PaddleFlat, pictures::kPaddleFlatFile, false},
      {"ball", pictures::Ball, pictures::kBallFile, true},
  };
  for (int k = 0; k < 6; ++k) {
    all.push_back(
        {"item", [k] { return pictures::ItemPanel(k); }, pictures::kItemPanelFiles[k], false});
  }
  for (int n = 0; n < 3; ++n) {
    all.push_back(
        {"button", [n] { return pictures::ButtonPicture(n); }, pictures::kButtonFiles[n], false});
  }
  for (const Named& named : all) {
    SCOPED_TRACE(std::string(named.what) + " " + std::string(named.file));
    const QImage byQt = QtRead(named.file);
    ASSERT_FALSE(byQt.isNull());
    const Picture plain = named.picture();
    EXPECT_EQ(Differing(plain, byQt), 0);

    const QImage shown = QtImage(plain);
    EXPECT_EQ(shown.format(), named.seeThrough ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32), byQt);
  }
}

TEST(PictureFiles, TheBackgroundIsTheFilesTileTiledByQt) {
  const QImage tile = QtRead(pictures::kBackgroundTileFile);
  QImage tiled(640, 480, QImage::Format_RGB32);
  tiled.fill(Qt::magenta);
  {
    QPainter painter(&tiled);
    painter.drawTiledPixmap(tiled.rect(), QPixmap::fromImage(tile));
  }
  const QImage background = QtImage(pictures::Background());
  EXPECT_EQ(background.format(), QImage::Format_RGB32);
  EXPECT_EQ(background, tiled);
}

TEST(PictureFiles, ANullPictureIsANullImage) {
  EXPECT_TRUE(QtImage(Picture{}).isNull());
  EXPECT_TRUE(pellmora::QtPixmap(Picture{}).isNull());
  EXPECT_FALSE(pellmora::QtPixmap(pictures::Ball()).isNull());
}

}  // namespace

}  // namespace pellmora
