// The game window as drawn from the screen objects' plain members, compared
// at chosen pixels.
#include <QImage>
#include <QPushButton>

#include "QtHostTestSupport.h"
#include "assets/Pictures.h"
#include "desktop/QtPictures.h"

namespace pellmora {

namespace {

namespace pictures = pellmora::pictures;
using pellmora::QtImage;

using qthosttest::ColourAt;
using qthosttest::NextTabStop;
using qthosttest::NonTilePixels;
using qthosttest::StartedHost;
using qthosttest::TileColour;

using QtHostDrawing = StartedHost;

// Ramp pixel i of the upright (24 wide, over 25) and flat (over 27) paddles.
QRgb Ramp(int i, int over) {
  const int grey = 255 * i / over;
  return qRgb(grey, grey, 128 + 127 * i / over) & 0xFFFFFFu;
}
constexpr QRgb kBall = 0xFCFE04;

TEST_F(QtHostDrawing, TheTitleAtRestShowsItsLetteringInsideItsRectOnly) {
  Game().Label1.Top = 80;
  const QImage shot = Shot();
  EXPECT_EQ(NonTilePixels(shot, QRect(0, 0, 640, 80)).count, 0);
  EXPECT_EQ(NonTilePixels(shot, QRect(0, 177, 640, 303)).count, 0);
  const auto lettering = NonTilePixels(shot, QRect(0, 80, 640, 97));
  ASSERT_GT(lettering.count, 1000);
  // Centred across the window.
  const int left = lettering.bounds.left();
  const int right = 639 - lettering.bounds.right();
  EXPECT_LE(std::abs(left - right), 4) << left << " " << right;
  EXPECT_GT(left, 100);
  // Black lettering, drawn over the tiles without a box.
  int black = 0;
  for (int y = 80; y < 177; ++y) {
    for (int x = 0; x < 640; ++x) black += ColourAt(shot, x, y) == 0u ? 1 : 0;
  }
  EXPECT_GT(black, 500);

  Game().Label1.Visible = false;
  EXPECT_EQ(NonTilePixels(Shot(), QRect(0, 0, 640, 480)).count, 0);
}

TEST_F(QtHostDrawing, TheBannerShowsWhereverItIsWhileVisible) {
  Game().Label2.Top = 150;
  QImage shot = Shot();
  EXPECT_EQ(NonTilePixels(shot, QRect(0, 0, 640, 150)).count, 0);
  EXPECT_EQ(NonTilePixels(shot, QRect(0, 255, 640, 225)).count, 0);
  EXPECT_GT(NonTilePixels(shot, QRect(0, 150, 640, 105)).count, 1000);
  Game().Label2.Visible = false;
  EXPECT_EQ(NonTilePixels(Shot(), QRect(0, 0, 640, 480)).count, 0);
}

TEST_F(QtHostDrawing, UprightPaddlesStretchTheRampAcrossTheirThickness) {
  Game().Image1.Visible = true;  // 16, 152, 24 x 153
  Game().Image2.Visible = true;  // 600, 152
  QImage shot = Shot();
  for (int y : {152, 200, 304}) {
    for (int i = 0; i < 24; ++i) {
      ASSERT_EQ(ColourAt(shot, 16 + i, y), Ramp(i, 25)) << i << "," << y;
      ASSERT_EQ(ColourAt(shot, 600 + i, y), Ramp(i, 25)) << i << "," << y;
    }
  }
  EXPECT_EQ(ColourAt(shot, 16, 151), TileColour(16, 151));
  EXPECT_EQ(ColourAt(shot, 16, 305), TileColour(16, 305));
  EXPECT_EQ(ColourAt(shot, 15, 200), TileColour(15, 200));
  EXPECT_EQ(ColourAt(shot, 40, 200), TileColour(40, 200));

  // Another length: the same ramp, no tiling, nothing past its end.
  Game().Image1.Height = 120;
  shot = Shot();
  EXPECT_EQ(ColourAt(shot, 16, 271), Ramp(0, 25));
  EXPECT_EQ(ColourAt(shot, 39, 271), Ramp(23, 25));
  EXPECT_EQ(ColourAt(shot, 16, 272), TileColour(16, 272));
}

TEST_F(QtHostDrawing, FlatPaddlesStretchTheRampDownTheirThickness) {
  Game().Image3.Visible = true;  // 56, 16, 152 x 25
  Game().Image4.Visible = true;  // 56, 432
  const QImage shot = Shot();
  for (int x : {56, 100, 207}) {
    EXPECT_EQ(ColourAt(shot, x, 16), Ramp(0, 27)) << x;
    EXPECT_EQ(ColourAt(shot, x, 40), Ramp(23, 27)) << x;
    EXPECT_EQ(ColourAt(shot, x, 432), Ramp(0, 27)) << x;
    EXPECT_EQ(ColourAt(shot, x, 456), Ramp(23, 27)) << x;
  }
  EXPECT_EQ(ColourAt(shot, 100, 41), TileColour(100, 41));
  EXPECT_EQ(ColourAt(shot, 208, 20), TileColour(208, 20));
  EXPECT_EQ(NonTilePixels(shot, QRect(0, 41, 640, 391)).count, 0);
}

TEST_F(QtHostDrawing, TheBallIsADiscOverThePaddles) {
  Game().Image5.Visible = true;  // 480, 192, 16 x 16
  QImage shot = Shot();
  EXPECT_EQ(ColourAt(shot, 488, 192), kBall);
  EXPECT_EQ(ColourAt(shot, 480, 200), kBall);
  EXPECT_EQ(ColourAt(shot, 487, 199), kBall);
  // Transparent corners show the field.
  EXPECT_EQ(ColourAt(shot, 480, 192), TileColour(480, 192));
  EXPECT_EQ(ColourAt(shot, 495, 207), TileColour(495, 207));
  // 195 opaque pixels in the disc.
  EXPECT_EQ(NonTilePixels(shot, QRect(480, 192, 16, 16)).count, 195);

  // Over a paddle the ball is in front, and the paddle shows at its corners.
  Game().Image1.Visible = true;
  Game().Image5.Left = 16;
  Game().Image5.Top = 200;
  shot = Shot();
  EXPECT_EQ(ColourAt(shot, 24, 208), kBall);
  EXPECT_EQ(ColourAt(shot, 16, 200), Ramp(0, 25));
}

TEST_F(QtHostDrawing, ItemPanelsAreDrawnUnscaledInFrontOfEverything) {
  for (int k = 0; k < 6; ++k) {
    ScreenObject& item = Game().Image6[k];
    item.Visible = true;
    item.Left = 20 + 100 * k;
    item.Top = 300;
  }
  // The ball under the first panel.
  Game().Image5.Visible = true;
  Game().Image5.Left = 40;
  Game().Image5.Top = 310;
  const QImage shot = Shot();
  for (int k = 0; k < 6; ++k) {
    const QImage panel = QtImage(pictures::ItemPanel(k)).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(panel.size(), QSize(100, 50));
    int differing = 0;
    for (int y = 0; y < 50; ++y) {
      for (int x = 0; x < 100; ++x) {
        const int sx = 20 + 100 * k + x;
        if (sx < 640 && ColourAt(shot, sx, 300 + y) != ColourAt(panel, x, y)) ++differing;
      }
    }
    EXPECT_EQ(differing, 0) << "item " << k;
  }
}

TEST_F(QtHostDrawing, MenuButtonsShowTheirPicturesCentredInFocusOrder) {
  Game().Command1.Visible = true;
  Game().Command2.Visible = true;
  Game().Command3.Visible = true;
  Window().SyncButtons();
  const QRect places[3] = {{208, 304, 201, 41}, {208, 360, 201, 41}, {208, 416, 201, 41}};
  for (int n = 0; n < 3; ++n) {
    QPushButton& button = Window().Command(n);
    EXPECT_TRUE(button.isVisibleTo(&Window()));
    EXPECT_EQ(button.geometry(), places[n]);
    EXPECT_TRUE(button.text().isEmpty());
    EXPECT_EQ(button.iconSize(), QSize(196, 36));
    EXPECT_EQ(button.focusPolicy(), Qt::StrongFocus);
  }
  EXPECT_EQ(NextTabStop(&Window().Command(0)), &Window().Command(1));
  EXPECT_EQ(NextTabStop(&Window().Command(1)), &Window().Command(2));

  // The picture, unscaled, somewhere near the middle of each button face.
  const QImage shot = Shot();
  for (int n = 0; n < 3; ++n) {
    const QImage picture =
        QtImage(pictures::ButtonPicture(n)).convertToFormat(QImage::Format_RGB32);
    bool found = false;
    for (int dy = 0; dy <= 5 && !found; ++dy) {
      for (int dx = 0; dx <= 5 && !found; ++dx) {
        bool same = true;
        for (int y = 0; y < 36 && same; ++y) {
          for (int x = 0; x < 196 && same; ++x) {
            same = ColourAt(shot, places[n].x() + dx + x, places[n].y() + dy + y) ==
                   ColourAt(picture, x, y);
          }
        }
        found = same;
      }
    }
    EXPECT_TRUE(found) << "button " << n;
  }

  // Hidden again, they leave the field to the tiles.
  Game().Command1.Visible = false;
  Game().Command2.Visible = false;
  Game().Command3.Visible = false;
  Window().SyncButtons();
  EXPECT_EQ(NonTilePixels(Shot(), QRect(0, 200, 640, 280)).count, 0);
}

}  // namespace

}  // namespace pellmora
