// A game played in the real window: the start button, the field drawn where
// the game holds its objects, the arrow keys, the pause banner and the
// game-over box.
#include <QMessageBox>
#include <QScreen>

#include "PlayTestSupport.h"

namespace pellmora {

namespace {

using playtest::CountColour;
using playtest::kBallYellow;
using playtest::MenuHost;
using playtest::ModalWatcher;
using playtest::PaddleRamp;
using playtest::PressKey;
using playtest::ReleaseKey;
using playtest::RunFor;
using playtest::Visible;
using playtest::WaitUntil;
using qthosttest::ColourAt;
using qthosttest::TileColour;

constexpr QRgb kBlack = 0x000000;
constexpr QRgb kMenuFace = 0xFCE2D4;

// Where the ball and the paddles are, to see that nothing moved.
struct Field {
  float ball[2];
  float paddles[4][4];
  int16_t score;
  int16_t ballDX;
  int16_t ballDY;
  bool operator==(const Field&) const = default;
};

Field FieldOf(const Form1& game) {
  Field field{};
  field.ball[0] = game.Image5.Left;
  field.ball[1] = game.Image5.Top;
  const ScreenObject* paddles[4] = {&game.Image1, &game.Image2, &game.Image3, &game.Image4};
  for (int p = 0; p < 4; ++p) {
    field.paddles[p][0] = paddles[p]->Left;
    field.paddles[p][1] = paddles[p]->Top;
    field.paddles[p][2] = paddles[p]->Width;
    field.paddles[p][3] = paddles[p]->Height;
  }
  field.score = game.score;
  field.ballDX = game.ballDX;
  field.ballDY = game.ballDY;
  return field;
}

class PlayWindow : public MenuHost {
 protected:
  // Starts a game by the start button with the ball thrown from the top-left
  // corner, 32 pixels along its diagonal: at (96, 96), going right and down.
  void StartFromTopLeft() {
    host->Session().Random().Queue(0.1);        // corner Int(0.4) = 0
    host->Session().Random().Queue(32.5 / 64);  // offset 32
    ASSERT_TRUE(Window().Command(0).isVisible());
    Window().Command(0).click();
    ASSERT_EQ(Game().playing, VbTrue);
  }

  // The ball's disc and a paddle's ramp where the game holds them.
  void ExpectBallAt(const QImage& shot, int left, int top) {
    EXPECT_EQ(ColourAt(shot, left + 8, top), kBallYellow) << left << "," << top;
    EXPECT_EQ(ColourAt(shot, left, top + 8), kBallYellow) << left << "," << top;
    EXPECT_EQ(ColourAt(shot, left + 8, top + 8), kBallYellow) << left << "," << top;
    if (Free(left + 15, top + 15, &Game().Image5)) {
      EXPECT_EQ(ColourAt(shot, left + 15, top + 15), TileColour(left + 15, top + 15))
          << "the ball's corner is transparent";
    }
  }
  // True when nothing else drawn in the window covers (x, y).
  bool Free(int x, int y, const ScreenObject* except) {
    const ScreenObject* objects[] = {&Game().Image1, &Game().Image2, &Game().Image3, &Game().Image4,
                                     &Game().Image5};
    for (const ScreenObject* object : objects) {
      if (object != except && object->Visible && playtest::RectOf(*object).contains(x, y)) {
        return false;
      }
    }
    // The menu buttons are widgets in front of the field.
    for (int n = 0; n < 3; ++n) {
      QPushButton& button = Window().Command(n);
      if (Visible(button, Window()) && button.geometry().contains(x, y)) return false;
    }
    return true;
  }
  // Checks a pixel of `self` that nothing else covers; 1 when checked.
  int ExpectPixel(const QImage& shot, int x, int y, QRgb colour, const ScreenObject& self) {
    if (!Free(x, y, &self)) return 0;
    EXPECT_EQ(ColourAt(shot, x, y), colour) << "at " << x << "," << y;
    return 1;
  }
  void ExpectTile(const QImage& shot, int x, int y, const ScreenObject& self) {
    if (x < 0 || y < 0 || x > 639 || y > 479 || !Free(x, y, &self)) return;
    EXPECT_EQ(ColourAt(shot, x, y), TileColour(x, y))
        << "just past the paddle at " << x << "," << y;
  }
  void ExpectUprightPaddle(const QImage& shot, const ScreenObject& paddle) {
    const int left = qRound(paddle.Left);
    const int top = qRound(paddle.Top);
    const int bottom = top + qRound(paddle.Height) - 1;
    int seen = 0;
    for (int y : {top, top + 1, (top + bottom) / 2, bottom - 1, bottom}) {
      seen += ExpectPixel(shot, left, y, PaddleRamp(0, 25), paddle);
      seen += ExpectPixel(shot, left + 23, y, PaddleRamp(23, 25), paddle);
    }
    EXPECT_GE(seen, 4) << "the paddle at " << left << "," << top << " is hidden";
    ExpectTile(shot, left + 5, top - 1, paddle);
    ExpectTile(shot, left + 5, bottom + 1, paddle);
  }
  void ExpectFlatPaddle(const QImage& shot, const ScreenObject& paddle) {
    const int left = qRound(paddle.Left);
    const int top = qRound(paddle.Top);
    const int right = left + qRound(paddle.Width) - 1;
    int seen = 0;
    for (int x : {left, left + 1, (left + right) / 2, right - 1, right}) {
      seen += ExpectPixel(shot, x, top, PaddleRamp(0, 27), paddle);
      seen += ExpectPixel(shot, x, top + 24, PaddleRamp(23, 27), paddle);
    }
    EXPECT_GE(seen, 4) << "the paddle at " << left << "," << top << " is hidden";
    ExpectTile(shot, left - 1, top + 5, paddle);
    ExpectTile(shot, right + 1, top + 5, paddle);
  }
};

TEST_F(PlayWindow, TheStartButtonShowsTheFieldWhereTheGameHoldsIt) {
  StartFromTopLeft();
  // Nothing has ticked yet: the objects are at their start places.
  EXPECT_EQ(Game().Image5.Left, 96);
  EXPECT_EQ(Game().Image5.Top, 96);
  EXPECT_EQ(Game().Image1.Height, 120);
  EXPECT_EQ(Game().Image3.Width, 156);
  for (int n = 0; n < 3; ++n) EXPECT_FALSE(Visible(Window().Command(n), Window())) << n;
  EXPECT_TRUE(Running(Game().Timer2));
  EXPECT_TRUE(Running(Game().Timer4));

  QImage shot = Shot();
  ExpectBallAt(shot, 96, 96);
  ExpectUprightPaddle(shot, Game().Image1);
  ExpectUprightPaddle(shot, Game().Image2);
  ExpectFlatPaddle(shot, Game().Image3);
  ExpectFlatPaddle(shot, Game().Image4);
  // The title's black lettering is gone, and so are the button faces.
  EXPECT_EQ(CountColour(shot, QRect(0, 80, 640, 97), kBlack), 0);
  EXPECT_EQ(CountColour(shot, QRect(208, 304, 201, 153), kMenuFace), 0);

  // A few ticks later the ball is drawn wherever the game has moved it.
  ASSERT_TRUE(WaitUntil([&] { return Game().Image5.Left >= 96 + 3 * 5; }, 10000));
  shot = Shot();
  const int left = qRound(Game().Image5.Left);
  const int top = qRound(Game().Image5.Top);
  EXPECT_EQ(left - 96, top - 96) << "the ball flies at 45 degrees";
  ExpectBallAt(shot, left, top);
  EXPECT_EQ(ColourAt(shot, 96 + 8, 96), TileColour(96 + 8, 96)) << "the old place is clear";
  EXPECT_EQ(Window().windowTitle(), QString::fromUtf8("Pellmora　　　") +
                                        QString::number(Game().score) + QString::fromUtf8("点"));
}

TEST_F(PlayWindow, AHeldArrowMovesItsPairOnScreen) {
  StartFromTopLeft();
  MakePaddlesSafe();
  ASSERT_EQ(Game().Image1.Top, 20);

  // Up moves the upright pair; the top is stopped at 0.
  PressKey(Window(), Qt::Key_Up);
  ASSERT_TRUE(WaitUntil([&] { return Game().Image1.Top == 0; }, 10000));
  ReleaseKey(Window(), Qt::Key_Up);
  EXPECT_EQ(Game().Image2.Top, 0);
  // Let go, the pair stays.
  RunFor(100);
  EXPECT_EQ(Game().Image1.Top, 0);

  // Down in steps of 5, as long as it is held.
  PressKey(Window(), Qt::Key_Down);
  ASSERT_TRUE(WaitUntil([&] { return Game().Image1.Top >= 15; }, 10000));
  ReleaseKey(Window(), Qt::Key_Down);
  const float upright = Game().Image1.Top;
  EXPECT_EQ(static_cast<int>(upright) % 5, 0);
  EXPECT_LE(upright, 30) << "stopped at 470 - 440";
  EXPECT_EQ(Game().Image2.Top, upright);

  // Left moves the flat pair.
  PressKey(Window(), Qt::Key_Left);
  ASSERT_TRUE(WaitUntil([&] { return Game().Image3.Left <= 5; }, 10000));
  ReleaseKey(Window(), Qt::Key_Left);
  EXPECT_EQ(Game().Image4.Left, Game().Image3.Left);
  RunFor(100);
  EXPECT_EQ(Game().Image1.Top, upright) << "no key is held any more";

  const QImage shot = Shot();
  ExpectUprightPaddle(shot, Game().Image1);
  ExpectUprightPaddle(shot, Game().Image2);
  ExpectFlatPaddle(shot, Game().Image3);
  ExpectFlatPaddle(shot, Game().Image4);
  EXPECT_EQ(Game().playing, VbTrue);
}

TEST_F(PlayWindow, EscShowsTheBannerAndHoldsTheGameUntilEscAgain) {
  StartFromTopLeft();
  MakePaddlesSafe();
  RunFor(50);

  PressKey(Window(), Qt::Key_Escape);
  ReleaseKey(Window(), Qt::Key_Escape);
  EXPECT_FALSE(Running(Game().Timer2));
  EXPECT_FALSE(Running(Game().Timer4));
  EXPECT_TRUE(Running(Game().Timer3));
  const Field paused = FieldOf(Game());
  const std::string caption = Game().Caption;

  // The banner slides up and comes to rest.
  ASSERT_TRUE(WaitUntil([&] { return !Running(Game().Timer3); }, 10000));
  EXPECT_EQ(Game().Label2.Top, 150);
  EXPECT_EQ(Game().pausing, VbTrue);
  const QImage shot = Shot();
  EXPECT_GT(CountColour(shot, QRect(0, 150, 640, 105), kBlack), 500)
      << "\"P A U S E\" in black lettering";
  EXPECT_EQ(CountColour(shot, QRect(0, 0, 640, 150), kBlack), 0);
  EXPECT_EQ(CountColour(shot, QRect(0, 255, 640, 225), kBlack), 0);
  // The lettering is spread across the window, centred.
  int leftmost = 640;
  int rightmost = -1;
  for (int y = 150; y < 255; ++y) {
    for (int x = 0; x < 640; ++x) {
      if (ColourAt(shot, x, y) == kBlack) {
        leftmost = std::min(leftmost, x);
        rightmost = std::max(rightmost, x);
      }
    }
  }
  EXPECT_LE(std::abs(leftmost - (639 - rightmost)), 6) << leftmost << " " << rightmost;
  EXPECT_GT(rightmost - leftmost, 300);

  // Held still: no tick, no spawn, no key moves anything.
  PressKey(Window(), Qt::Key_Up);
  RunFor(300);
  ReleaseKey(Window(), Qt::Key_Up);
  EXPECT_TRUE(FieldOf(Game()) == paused) << "the field moved during the pause";
  EXPECT_EQ(Game().Caption, caption);
  EXPECT_EQ(Game().playing, VbTrue);
  EXPECT_FALSE(Running(Game().Timer2));
  EXPECT_FALSE(Running(Game().Timer4));

  // Esc again: the banner goes down and play goes on from where it stopped.
  PressKey(Window(), Qt::Key_Escape);
  ReleaseKey(Window(), Qt::Key_Escape);
  EXPECT_EQ(Game().pausing, VbFalse);
  EXPECT_TRUE(Running(Game().Timer3));
  ASSERT_TRUE(WaitUntil([&] { return Running(Game().Timer2); }, 10000));
  EXPECT_TRUE(Running(Game().Timer4));
  EXPECT_FALSE(Running(Game().Timer3));
  EXPECT_FALSE(Game().Label2.Visible);
  EXPECT_EQ(CountColour(Shot(), QRect(0, 0, 640, 480), kBlack), 0) << "the banner is gone";
  ASSERT_TRUE(WaitUntil([&] { return Game().Image5.Left != paused.ball[0]; }, 10000));
}

TEST_F(PlayWindow, TheGameOverBoxTellsTheScoreAndTheMenuComesBack) {
  StartFromTopLeft();
  MakePaddlesSafe();
  RunFor(50);

  QString title;
  QString text;
  QString expected;
  Field atGameOver{};
  QImage behindTheBox;
  bool timersStopped = false;
  bool menuStillHidden = false;
  ModalWatcher watcher([&](QWidget& widget) {
    auto* box = qobject_cast<QMessageBox*>(&widget);
    ASSERT_NE(box, nullptr) << "only the score box is expected, not "
                            << widget.metaObject()->className();
    title = box->windowTitle();
    text = box->text();
    expected = QString::fromUtf8("あなたの得点は%1点でした。").arg(Game().score);
    atGameOver = FieldOf(Game());
    // What the window shows on screen while the box is up, not drawn afresh.
    behindTheBox = Window()
                       .screen()
                       ->grabWindow(Window().winId())
                       .toImage()
                       .convertToFormat(QImage::Format_RGB32);
    timersStopped = !Running(Game().Timer2) && !Running(Game().Timer4) && Game().playing == VbFalse;
    menuStillHidden = !Visible(Window().Command(0), Window());
    ASSERT_EQ(box->buttons().size(), 1);
    box->buttons().front()->click();
  });
  LoseTheBallOnTheRight();
  Game().score = 1234;
  ASSERT_TRUE(WaitUntil([&] { return Visible(Window().Command(0), Window()); }, 10000));

  EXPECT_EQ(watcher.Seen(), 1);
  EXPECT_EQ(title, QString::fromUtf8("ゲームオーバー"));
  EXPECT_EQ(text, QString::fromUtf8("あなたの得点は1234点でした。"));
  EXPECT_EQ(text, expected);
  EXPECT_TRUE(timersStopped);
  EXPECT_TRUE(menuStillHidden);

  // Behind the box, the tick that lost the ball: the ball at 620, past the
  // miss line, not 3 pixels short of it. Its row 0 is column 8 alone and its
  // row 8 runs across all 16 columns.
  EXPECT_EQ(atGameOver.ball[0], 620);
  EXPECT_EQ(atGameOver.ball[1], 300);
  if (behindTheBox.isNull() && playtest::OnWayland())
    GTEST_SKIP() << "no client may read a Wayland screen";
  ASSERT_EQ(behindTheBox.size(), QSize(640, 480));
  EXPECT_EQ(ColourAt(behindTheBox, 628, 300), kBallYellow);
  EXPECT_EQ(ColourAt(behindTheBox, 635, 308), kBallYellow);
  EXPECT_EQ(ColourAt(behindTheBox, 619, 308), TileColour(619, 308));

  // The menu is back, the field as the last tick left it.
  for (int n = 0; n < 3; ++n) EXPECT_TRUE(Visible(Window().Command(n), Window())) << n;
  EXPECT_TRUE(FieldOf(Game()) == atGameOver);
  RunFor(100);
  EXPECT_TRUE(FieldOf(Game()) == atGameOver) << "nothing moves after the game";
  EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
  const QImage shot = Shot();
  ExpectBallAt(shot, qRound(Game().Image5.Left), qRound(Game().Image5.Top));
  ExpectUprightPaddle(shot, Game().Image1);
  ExpectFlatPaddle(shot, Game().Image4);
  for (int y : {312, 368, 424}) EXPECT_EQ(ColourAt(shot, 216, y), kMenuFace) << y;
  EXPECT_FALSE(Game().Label1.Visible);
  EXPECT_EQ(CountColour(shot, QRect(0, 80, 640, 97), kBlack), 0) << "the title stays away";
  EXPECT_FALSE(QFile::exists(kHiScoreFileName)) << "no score file is made";
}

}  // namespace

}  // namespace pellmora
