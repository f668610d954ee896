// The game's pictures as the desktop host gets them, checked pixel by pixel
// where they are geometry and by size, frame and lettering where they carry
// text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <cmath>
#include <set>

#include "assets/Pictures.h"
#include "desktop/QtPictures.h"

namespace pellmora {

namespace {

namespace pictures = pellmora::pictures;
using pellmora::QtImage;

// Lettering needs fonts, and fonts need an application. The other desktop
// tests may have made one already; otherwise one is made here and kept for
// the life of the process.
class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "pellmora_desktop_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
  }
};

[[maybe_unused]] const auto* const qtApplicationEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

QRgb ColourAt(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFFu;
}
int AlphaAt(const QImage& image, int x, int y) {
  return qAlpha(image.pixel(x, y));
}

// Bounds of the pixels darker than mid-grey inside `area`; empty when none.
QRect DarkPixels(const QImage& image, const QRect& area) {
  QRect bounds;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 64) bounds |= QRect(x, y, 1, 1);
    }
  }
  return bounds;
}

TEST(PicturesTest, TileColourFollowsDiagonalSum) {
  const QRgb bySum[15] = {0x00EB00, 0x00EB00, 0x08EB08, 0x18EB18, 0x18EB18,
                          0x29EF29, 0x39EF39, 0x39EF39, 0x4AEE4A, 0x5AF35A,
                          0x6BF36B, 0x6BF36B, 0x7BF77B, 0x8CF78C, 0x8CF78C};
  const QImage tile = QtImage(pictures::BackgroundTile());
  ASSERT_EQ(tile.size(), QSize(8, 8));
  EXPECT_EQ(ColourAt(tile, 0, 0), 0x00EB00u);
  EXPECT_EQ(ColourAt(tile, 7, 7), 0x8CF78Cu);
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      EXPECT_EQ(ColourAt(tile, x, y), bySum[x + y]) << "at " << x << "," << y;
      EXPECT_EQ(AlphaAt(tile, x, y), 255);
    }
  }
}

TEST(PicturesTest, BackgroundRepeatsTileEverywhere) {
  const QImage tile = QtImage(pictures::BackgroundTile());
  const QImage background = QtImage(pictures::Background());
  ASSERT_EQ(background.size(), QSize(640, 480));
  // The last tile, bottom right: its corners and a pixel with x + y = 9.
  EXPECT_EQ(ColourAt(background, 632, 472), 0x00EB00u);
  EXPECT_EQ(ColourAt(background, 639, 479), 0x8CF78Cu);
  EXPECT_EQ(ColourAt(background, 635, 478), 0x5AF35Au);
  int mismatches = 0;
  for (int y = 0; y < 480; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (background.pixel(x, y) != tile.pixel(x % 8, y % 8)) ++mismatches;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(PicturesTest, UprightPaddleRampRunsAcrossTwentyFiveSteps) {
  const QImage strip = QtImage(pictures::PaddleUpright());
  ASSERT_EQ(strip.size(), QSize(24, 1));
  EXPECT_EQ(ColourAt(strip, 0, 0), qRgb(0, 0, 128) & 0xFFFFFFu);
  EXPECT_EQ(ColourAt(strip, 23, 0), qRgb(234, 234, 244) & 0xFFFFFFu);
  for (int i = 0; i < 24; ++i) {
    const int grey = (255 * i) / 25;
    EXPECT_EQ(ColourAt(strip, i, 0), qRgb(grey, grey, 128 + (127 * i) / 25) & 0xFFFFFFu)
        << "pixel " << i;
  }
}

TEST(PicturesTest, FlatPaddleRampRunsAcrossTwentySevenSteps) {
  const QImage strip = QtImage(pictures::PaddleFlat());
  ASSERT_EQ(strip.size(), QSize(1, 24));
  EXPECT_EQ(ColourAt(strip, 0, 0), qRgb(0, 0, 128) & 0xFFFFFFu);
  EXPECT_EQ(ColourAt(strip, 0, 23), qRgb(217, 217, 236) & 0xFFFFFFu);
  for (int i = 0; i < 24; ++i) {
    const int grey = (255 * i) / 27;
    EXPECT_EQ(ColourAt(strip, 0, i), qRgb(grey, grey, 128 + (127 * i) / 27) & 0xFFFFFFu)
        << "pixel " << i;
  }
}

TEST(PicturesTest, BallIsExactlyTheListedDisc) {
  // First and last opaque column of each row.
  const int rows[16][2] = {{8, 8},  {5, 11}, {3, 13}, {2, 14}, {2, 14}, {1, 15}, {1, 15}, {1, 15},
                           {0, 15}, {1, 15}, {1, 15}, {1, 15}, {2, 14}, {2, 14}, {3, 13}, {5, 11}};
  const QImage ball = QtImage(pictures::Ball());
  ASSERT_EQ(ball.size(), QSize(16, 16));
  ASSERT_TRUE(ball.hasAlphaChannel());
  int opaque = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) {
      const bool inside = x >= rows[y][0] && x <= rows[y][1];
      if (inside) {
        ++opaque;
        EXPECT_EQ(AlphaAt(ball, x, y), 255) << "at " << x << "," << y;
        EXPECT_EQ(ColourAt(ball, x, y), 0xFCFE04u) << "at " << x << "," << y;
      } else {
        EXPECT_EQ(AlphaAt(ball, x, y), 0) << "at " << x << "," << y;
      }
    }
  }
  EXPECT_EQ(opaque, 195);
}

TEST(PicturesTest, IconIsBevelledFieldInFewColours) {
  const QImage icon = QtImage(pictures::Icon());
  ASSERT_EQ(icon.size(), QSize(32, 32));
  ASSERT_TRUE(icon.hasAlphaChannel());
  for (const QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31)}) {
    EXPECT_EQ(AlphaAt(icon, corner.x(), corner.y()), 0) << corner.x() << "," << corner.y();
  }
  EXPECT_EQ(ColourAt(icon, 24, 8), 0xA6CAF0u);
  EXPECT_EQ(AlphaAt(icon, 24, 8), 255);
  EXPECT_EQ(ColourAt(icon, 15, 15), 0x000000u);  // centre of the cross

  // A paddle on each edge, green inside a dark-green outline.
  EXPECT_EQ(ColourAt(icon, 2, 15), 0x3FBF3Fu);
  EXPECT_EQ(ColourAt(icon, 1, 15), 0x008000u);
  EXPECT_EQ(ColourAt(icon, 29, 15), 0x3FBF3Fu);
  EXPECT_EQ(ColourAt(icon, 15, 2), 0x3FBF3Fu);
  EXPECT_EQ(ColourAt(icon, 15, 29), 0x3FBF3Fu);
  // The ball, up and to the left of the centre.
  EXPECT_EQ(ColourAt(icon, 9, 9), 0xFFFF3Fu);

  std::set<QRgb> colours;
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      const int alpha = AlphaAt(icon, x, y);
      EXPECT_TRUE(alpha == 0 || alpha == 255) << "half-transparent at " << x << "," << y;
      colours.insert(alpha == 0 ? 0u : icon.pixel(x, y));
    }
  }
  EXPECT_LE(colours.size(), 16u);
}

TEST(PicturesTest, ItemPanelsAreOpaqueFramedAndLettered) {
  const QRgb outermost[6] = {0x313000, 0xFF797B, 0xFF797B, 0xFF797B, 0x3165FF, 0x3165FF};
  const QRgb sixth[6] = {0xCEFFCE, 0xFFE7E7, 0xFFE7E7, 0xFFE7E7, 0xCEFFFF, 0xCEFFFF};
  for (int k = 0; k < 6; ++k) {
    SCOPED_TRACE(k);
    const QImage panel = QtImage(pictures::ItemPanel(k));
    ASSERT_EQ(panel.size(), QSize(100, 50));
    int seeThrough = 0;
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 100; ++x) seeThrough += AlphaAt(panel, x, y) != 255;
    }
    EXPECT_EQ(seeThrough, 0);
    for (const QPoint p : {QPoint(0, 0), QPoint(99, 49), QPoint(50, 0), QPoint(0, 25)}) {
      EXPECT_EQ(ColourAt(panel, p.x(), p.y()), outermost[k]) << p.x() << "," << p.y();
    }
    EXPECT_EQ(ColourAt(panel, 5, 25), sixth[k]);
    EXPECT_EQ(ColourAt(panel, 94, 44), sixth[k]);
    EXPECT_EQ(ColourAt(panel, 6, 25), 0xFFFFFFu);
    EXPECT_EQ(ColourAt(panel, 8, 8), 0xC6C3C6u);
    EXPECT_EQ(ColourAt(panel, 91, 41), 0xC6C3C6u);
    const QRect letters = DarkPixels(panel, QRect(7, 7, 86, 36));
    EXPECT_GE(letters.width(), 50) << "lettering missing or too small";
    EXPECT_GE(letters.height(), 15) << "lettering missing or too small";
  }
}

TEST(PicturesTest, SpeedUpPanelsAreOnePictureAndOthersDiffer) {
  const QImage panels[6] = {QtImage(pictures::ItemPanel(0)), QtImage(pictures::ItemPanel(1)),
                            QtImage(pictures::ItemPanel(2)), QtImage(pictures::ItemPanel(3)),
                            QtImage(pictures::ItemPanel(4)), QtImage(pictures::ItemPanel(5))};
  EXPECT_EQ(panels[1], panels[2]);
  EXPECT_EQ(panels[1], panels[3]);
  const int distinct[4] = {0, 1, 4, 5};
  for (int a = 0; a < 4; ++a) {
    for (int b = a + 1; b < 4; ++b) {
      EXPECT_NE(panels[distinct[a]], panels[distinct[b]]) << distinct[a] << " vs " << distinct[b];
    }
  }
  EXPECT_TRUE(QtImage(pictures::ItemPanel(-1)).isNull());
  EXPECT_TRUE(QtImage(pictures::ItemPanel(6)).isNull());
}

TEST(PicturesTest, ButtonsFadeFromBlueAndCentreTheirText) {
  const QImage buttons[3] = {QtImage(pictures::ButtonPicture(0)),
                             QtImage(pictures::ButtonPicture(1)),
                             QtImage(pictures::ButtonPicture(2))};
  for (int n = 0; n < 3; ++n) {
    SCOPED_TRACE(n);
    const QImage& button = buttons[n];
    ASSERT_EQ(button.size(), QSize(196, 36));
    EXPECT_EQ(ColourAt(button, 0, 0), 0x347EFCu);
    EXPECT_EQ(ColourAt(button, 195, 35), 0x347EFCu);
    EXPECT_EQ(ColourAt(button, 4, 4), 0xFCE2D4u);
    EXPECT_EQ(ColourAt(button, 191, 31), 0xFCE2D4u);
    // Each band of the frame lies between the previous one and the face.
    for (int j = 1; j < 4; ++j) {
      const QRgb before = button.pixel(j - 1, 18);
      const QRgb band = button.pixel(j, 18);
      EXPECT_GT(qRed(band), qRed(before)) << "band " << j;
      EXPECT_GT(qGreen(band), qGreen(before)) << "band " << j;
      EXPECT_LT(qBlue(band), qBlue(before)) << "band " << j;
      EXPECT_LT(qRed(band), 0xFC) << "band " << j;
    }
    const QRect letters = DarkPixels(button, QRect(4, 4, 188, 28));
    ASSERT_FALSE(letters.isEmpty()) << "no lettering";
    EXPECT_GE(letters.width(), 80);
    EXPECT_GE(letters.height(), 12);
    const QPointF offCentre = QRectF(letters).center() - QPointF(98, 18);
    EXPECT_LE(std::abs(offCentre.x()), 2.0);
    EXPECT_LE(std::abs(offCentre.y()), 2.0);
  }
  EXPECT_NE(buttons[0], buttons[1]);
  EXPECT_NE(buttons[1], buttons[2]);
  EXPECT_NE(buttons[0], buttons[2]);
  EXPECT_TRUE(QtImage(pictures::ButtonPicture(3)).isNull());
}

}  // namespace

}  // namespace pellmora
