// Items in the real window: the spawn timer puts a panel on the field after
// ten seconds of play, drawn in front of the ball and the pause banner; the
// ball's corner takes it, and it leaves the screen.
#include <QElapsedTimer>

#include "PlayTestSupport.h"
#include "assets/Pictures.h"
#include "desktop/QtPictures.h"

namespace pellmora {

namespace {

namespace pictures = pellmora::pictures;
using pellmora::QtImage;

using playtest::CountColour;
using playtest::kBallYellow;
using playtest::MenuHost;
using playtest::PaddleRamp;
using playtest::PressKey;
using playtest::ReleaseKey;
using playtest::WaitUntil;
using qthosttest::ColourAt;
using qthosttest::TileColour;

constexpr QRgb kBlack = 0x000000;

// The LONG panel with upright bars, at (200, 124): kind Int(r1 * 6) = 5,
// band Int(r2 * 2) = 1, x = Int(r3 * 325) + 75, y = Int(r4 * 75) + 50.
constexpr int kKind = LongVertical;
constexpr int kItemLeft = 200;
constexpr int kItemTop = 124;
constexpr double kSpawnRnd[4] = {5.5 / 6, 0.75, 125.5 / 325, 74.5 / 75};

using ItemsWindow = MenuHost;

// Pixels of the panel's rectangle that differ from the panel's picture.
int DifferFromPanel(const QImage& shot, const QImage& panel, int left, int top) {
  int differing = 0;
  for (int y = 0; y < panel.height(); ++y) {
    for (int x = 0; x < panel.width(); ++x) {
      if (ColourAt(shot, left + x, top + y) != ColourAt(panel, x, y)) ++differing;
    }
  }
  return differing;
}

TEST_F(ItemsWindow, TheSpawnTimerShowsAPanelThatTheBallTakes) {
  const QImage panel = QtImage(pictures::ItemPanel(kKind)).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(panel.size(), QSize(100, 50));
  const QRgb frame = ColourAt(panel, 0, 0);

  host->Session().Random().Queue(0.0);  // top-left corner
  host->Session().Random().Queue(0.0);  // no offset: the ball at (64, 64)
  for (double r : kSpawnRnd) host->Session().Random().Queue(r);
  QElapsedTimer played;
  played.start();
  Window().Command(0).click();
  ASSERT_EQ(Game().playing, VbTrue);
  // The ball goes straight up and down right of every place an item can
  // take (columns 75..499), between paddles that cannot miss it.
  Game().Image5.Left = 520;
  Game().ballDX = 0;
  MakePaddlesSafe();

  // Ten seconds of play bring the first spawn attempt, and only then.
  ASSERT_TRUE(WaitUntil([&] { return Game().itemActive[kKind] == VbTrue; }, 30000))
      << "no item after " << played.elapsed() << " ms of play";
  EXPECT_GE(played.elapsed(), 9900);
  ASSERT_EQ(Game().playing, VbTrue) << "the ball was lost while waiting";
  EXPECT_EQ(Game().Image6[kKind].Left, kItemLeft);
  EXPECT_EQ(Game().Image6[kKind].Top, kItemTop);
  EXPECT_TRUE(Game().Image6[kKind].Visible);
  for (int k = 0; k < 6; ++k) {
    if (k != kKind) {
      EXPECT_EQ(Game().itemActive[k], VbFalse) << k;
    }
  }
  EXPECT_EQ(DifferFromPanel(Shot(), panel, kItemLeft, kItemTop), 0) << "drawn at its place";

  // Paused, with the banner at rest over the panel's lower rows and the ball
  // tucked under its top-left corner (the ball's own corner outside it).
  PressKey(Window(), Qt::Key_Escape);
  ReleaseKey(Window(), Qt::Key_Escape);
  ASSERT_TRUE(WaitUntil([&] { return !Running(Game().Timer3); }, 10000));
  ASSERT_EQ(Game().Label2.Top, 150);
  Game().Image5.Left = kItemLeft - 8;
  Game().Image5.Top = kItemTop - 8;

  // What lies under the panel: the ball's disc and the banner's lettering.
  Game().Image6[kKind].Visible = false;
  const QImage under = Shot();
  Game().Image6[kKind].Visible = true;
  ASSERT_EQ(ColourAt(under, kItemLeft, kItemTop), kBallYellow);
  const QRect panelRect(kItemLeft, kItemTop, 100, 50);
  ASSERT_GT(CountColour(under, panelRect, kBallYellow), 20);
  ASSERT_GT(CountColour(under, panelRect.intersected(QRect(0, 150, 640, 105)), kBlack), 20)
      << "the banner's lettering should run under the panel";

  const QImage shot = Shot();
  EXPECT_EQ(ColourAt(shot, kItemLeft, kItemTop), frame) << "the panel's corner over the ball";
  EXPECT_EQ(ColourAt(shot, kItemLeft - 1, kItemTop), kBallYellow) << "the ball beside it";
  EXPECT_EQ(DifferFromPanel(shot, panel, kItemLeft, kItemTop), 0)
      << "the panel in front of the ball and the banner";
  EXPECT_GT(CountColour(shot, QRect(0, 174, 640, 81), kBlack), 500) << "the banner below it";
  EXPECT_EQ(Game().itemActive[kKind], VbTrue) << "the ball's corner is outside the panel";

  // Play again, then the ball's corner into the panel: the next tick takes it.
  PressKey(Window(), Qt::Key_Escape);
  ReleaseKey(Window(), Qt::Key_Escape);
  ASSERT_TRUE(WaitUntil([&] { return Running(Game().Timer2); }, 10000));
  ASSERT_EQ(Game().itemActive[kKind], VbTrue);
  const float height = Game().Image1.Height;
  // A row below the pair, inside the window.
  const int bottomRow = static_cast<int>(Game().Image1.Top + height) + 10;
  ASSERT_LT(bottomRow, 480);
  EXPECT_EQ(ColourAt(Shot(), 16, bottomRow), TileColour(16, bottomRow));
  Game().Image5.Left = kItemLeft + 50;
  Game().Image5.Top = kItemTop + 24;
  const std::string caption = Game().Caption;
  ASSERT_TRUE(WaitUntil([&] { return Game().itemActive[kKind] == VbFalse; }, 10000));

  EXPECT_FALSE(Game().Image6[kKind].Visible);
  EXPECT_EQ(Game().Image1.Height, height + 20);
  EXPECT_EQ(Game().Image2.Height, Game().Image1.Height);
  EXPECT_EQ(Game().ballDX, 0) << "LONG leaves the ball's speed";
  const QImage after = Shot();
  // Where the panel was, the field shows again, around the ball.
  const QRect ball = playtest::RectOf(Game().Image5);
  int leftOver = 0;
  for (int y = kItemTop; y < kItemTop + 50; ++y) {
    for (int x = kItemLeft; x < kItemLeft + 100; ++x) {
      if (!ball.contains(x, y) && ColourAt(after, x, y) != TileColour(x, y)) ++leftOver;
    }
  }
  EXPECT_EQ(leftOver, 0) << "the panel is still drawn";
  EXPECT_NE(ColourAt(after, kItemLeft, kItemTop), frame);
  // The taller pair reaches further down on screen.
  EXPECT_EQ(ColourAt(after, 16, bottomRow), PaddleRamp(0, 25));
  EXPECT_EQ(ColourAt(after, 624 - 1, bottomRow), PaddleRamp(23, 25));
}

}  // namespace

}  // namespace pellmora
