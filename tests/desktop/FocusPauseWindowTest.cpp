// The game losing the keyboard focus in play, to another window of the
// desktop or another program: the game pauses as the player's Esc pauses it,
// banner and all, and only the player's Esc resumes it; a pause under way is
// left alone; with the pause on focus loss switched off, play goes on. The
// ranking window beside play is the game's own: its focus pauses nothing,
// and the arrows held there move the paddles.
#include <QGuiApplication>
#include <QWidget>
#include <memory>

#include "PlayTestSupport.h"

namespace pellmora {

namespace playtest {
std::shared_ptr<void> FocusAnotherXClient();  // OtherXClient.cpp
}  // namespace playtest

namespace {

using playtest::MenuHost;
using playtest::PressKey;
using playtest::ReleaseKey;
using playtest::RunFor;
using playtest::WaitUntil;

class FocusPauseWindow : public MenuHost {
 protected:
  void SetUp() override {
    MenuHost::SetUp();
    if (HasFatalFailure()) return;
    other_.setWindowTitle(QStringLiteral("another program"));
    other_.resize(200, 100);
    Window().activateWindow();
    if (!WaitUntil([this] { return Window().isActiveWindow(); }, 3000) &&
        QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
      // Weston's headless seat has no keyboard: no window ever has the focus.
      GTEST_SKIP() << "no keyboard focus on this Wayland compositor";
    }
    GiveTheFocusToTheGame();
  }

  // The window manager's part, as when the player clicks a window.
  void GiveTheFocusToTheGame() {
    Window().activateWindow();
    ASSERT_TRUE(WaitUntil([this] { return Window().isActiveWindow(); }, 3000))
        << "the game window never got the focus";
  }
  void GiveTheFocusAway() {
    other_.show();
    other_.activateWindow();
    ASSERT_TRUE(WaitUntil([this] { return !Window().isActiveWindow(); }, 3000))
        << "the game window kept the focus";
  }

  void StartPlaying() {
    Window().Command(0).click();
    ASSERT_EQ(Game().playing, VbTrue);
    // The ball rests in the middle, so that the game goes on for as long as
    // the test needs.
    Game().ballDX = 0;
    Game().ballDY = 0;
    Game().Image5.Left = 312;
    Game().Image5.Top = 232;
    ASSERT_TRUE(Running(Game().Timer2));
  }

  void Esc() {
    PressKey(Window(), Qt::Key_Escape);
    ReleaseKey(Window(), Qt::Key_Escape);
  }

  QWidget other_;
};

TEST_F(FocusPauseWindow, LosingTheFocusInPlayPausesUntilThePlayersEsc) {
  StartPlaying();
  GiveTheFocusAway();
  EXPECT_EQ(Game().pausing, VbTrue);
  EXPECT_FALSE(Running(Game().Timer2));
  EXPECT_FALSE(Running(Game().Timer4));
  EXPECT_TRUE(Game().Label2.Visible);
  ASSERT_TRUE(WaitUntil([&] { return Game().Label2.Top == 150; }, 3000))
      << "the banner did not rise (at " << Game().Label2.Top << ")";

  // Coming back does not resume: the player's Esc does.
  GiveTheFocusToTheGame();
  RunFor(100);
  EXPECT_EQ(Game().pausing, VbTrue);
  EXPECT_FALSE(Running(Game().Timer2));
  Esc();
  ASSERT_TRUE(WaitUntil([&] { return Running(Game().Timer2); }, 3000));
  EXPECT_EQ(Game().pausing, VbFalse);
  EXPECT_FALSE(Game().Label2.Visible);
}

TEST_F(FocusPauseWindow, AnotherProgramTakingTheFocusPauses) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) {
    GTEST_SKIP() << "another program's window needs an X server";
  }
  StartPlaying();
  const auto other = playtest::FocusAnotherXClient();
  ASSERT_NE(other, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return Game().pausing == VbTrue; }, 3000))
      << "play went on with another program's window focused";
  EXPECT_FALSE(Running(Game().Timer2));
}

TEST_F(FocusPauseWindow, TheRankingWindowBesidePlayKeepsPlayGoingAndTakesTheArrows) {
  Window().Command(1).click();
  Form2Widget* ranking = host->RankingWindow();
  ASSERT_NE(ranking, nullptr);
  GiveTheFocusToTheGame();
  StartPlaying();
  ranking->activateWindow();
  ASSERT_TRUE(WaitUntil([&] { return ranking->isActiveWindow(); }, 3000));

  // Up held in the ranking window (its first score box has the focus).
  const float top = Game().Image1.Top;
  PressKey(*ranking, Qt::Key_Up);
  EXPECT_TRUE(WaitUntil([&] { return Game().Image1.Top <= top - 20; }, 3000))
      << "the left paddle stayed at " << Game().Image1.Top;
  ReleaseKey(*ranking, Qt::Key_Up);
  // Esc there is not the game window's key.
  PressKey(*ranking, Qt::Key_Escape);
  ReleaseKey(*ranking, Qt::Key_Escape);
  RunFor(100);
  EXPECT_EQ(Game().pausing, VbFalse);
  EXPECT_TRUE(Running(Game().Timer2));

  // Closed with the focus in it, the focus goes back to the game window.
  ranking->close();
  EXPECT_TRUE(WaitUntil([&] { return Window().isActiveWindow(); }, 3000));
  RunFor(100);
  EXPECT_EQ(Game().pausing, VbFalse);
  EXPECT_TRUE(Running(Game().Timer2));
}

TEST_F(FocusPauseWindow, APauseUnderWayIsLeftAlone) {
  StartPlaying();
  Esc();
  ASSERT_TRUE(WaitUntil([&] { return Game().Label2.Top == 150; }, 3000));
  // A second Esc now would resume; losing the focus must not.
  GiveTheFocusAway();
  RunFor(100);
  EXPECT_EQ(Game().pausing, VbTrue);
  EXPECT_FALSE(Running(Game().Timer3));
  EXPECT_EQ(Game().Label2.Top, 150);
}

TEST_F(FocusPauseWindow, FocusLostWhileTheBannerGoesDownPausesWhenPlayResumes) {
  StartPlaying();
  Esc();
  ASSERT_TRUE(WaitUntil([&] { return Game().Label2.Top == 150; }, 3000));
  Esc();  // the banner slides down; play resumes when it is out
  ASSERT_TRUE(Running(Game().Timer3));
  GiveTheFocusAway();
  ASSERT_TRUE(WaitUntil([&] { return !Running(Game().Timer3) || Game().pausing == VbTrue; }, 3000));
  ASSERT_TRUE(WaitUntil([&] { return Game().pausing == VbTrue; }, 3000))
      << "play resumed in a window without the focus";
  EXPECT_FALSE(Running(Game().Timer2));
}

TEST_F(FocusPauseWindow, SwitchedOffPlayGoesOn) {
  host->SetPreferences(Preferences{1, false, false, {}});
  StartPlaying();
  GiveTheFocusAway();
  RunFor(100);
  EXPECT_EQ(Game().pausing, VbFalse);
  EXPECT_TRUE(Running(Game().Timer2));
}

TEST_F(FocusPauseWindow, OutsidePlayNothingHappens) {
  GiveTheFocusAway();
  RunFor(100);
  EXPECT_EQ(Game().playing, VbFalse);
  EXPECT_FALSE(Running(Game().Timer2));
  EXPECT_FALSE(Running(Game().Timer3));
  EXPECT_FALSE(Game().Label2.Top < 472);
}

}  // namespace

}  // namespace pellmora
