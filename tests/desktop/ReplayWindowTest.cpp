// A game played in the real window, on the real clock with keys pressed and
// let go, a pause and the autopilot, re-runs from its recording on the
// virtual clock to the score the window showed; one byte changed does not.
#include <gtest/gtest.h>

#include "PlayTestSupport.h"
#include "game/Int16.h"
#include "play/ReplayCheck.h"

namespace pellmora {
namespace {

using ReplayWindow = playtest::MenuHost;

TEST_F(ReplayWindow, AGamePlayedInTheWindowReRunsToItsScore) {
  playtest::ModalWatcher boxes([](QWidget&) {});
  Window().Command(0).click();
  ASSERT_EQ(Game().playing, VbTrue);
  host->Session().SetAutopilot(true);
  playtest::RunFor(1500);
  host->Session().SetAutopilot(false);
  playtest::PressKey(Window(), Qt::Key_Up);
  playtest::PressKey(Window(), Qt::Key_Left);
  playtest::RunFor(300);
  playtest::ReleaseKey(Window(), Qt::Key_Left);
  playtest::PressKey(Window(), Qt::Key_Escape);  // the banner comes up
  playtest::RunFor(400);
  playtest::PressKey(Window(), Qt::Key_Escape);  // and goes again
  playtest::ReleaseKey(Window(), Qt::Key_Up);
  ASSERT_TRUE(playtest::WaitUntil([this] { return Game().playing == VbFalse; }, 30000))
      << "the ball was never lost";

  const Recorder& recorded = host->Session().Recordings();
  ASSERT_TRUE(recorded.HasLastGame());
  const Replay replay = recorded.LastGame("desktop");
  const ReplayRead read = ReadReplay(WriteReplay(replay));
  ASSERT_TRUE(read.ok) << read.error;
  const ReplayVerdict verdict = CheckReplay(read.replay);
  EXPECT_EQ(verdict.status, ReplayVerdict::Ok)
      << "differs at second " << verdict.second << " " << verdict.problem;
  EXPECT_EQ(verdict.score, Game().score);
  EXPECT_EQ(read.replay.host, "desktop");

  // A score that is not the game's, or a start with the left paddle moved
  // (the top bits of Image1.Left), never re-runs.
  Replay claimed = read.replay;
  claimed.score += 1;
  EXPECT_EQ(CheckReplay(claimed).status, ReplayVerdict::Differs);
  Replay moved = read.replay;
  moved.start.bytes[32 + 5 * 17 + 2] ^= 0x40;
  EXPECT_EQ(CheckReplay(moved).status, ReplayVerdict::Differs);
}

}  // namespace
}  // namespace pellmora
