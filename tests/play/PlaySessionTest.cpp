// The play layer on the headless host: the virtual clock (checked with the
// window's real timers and a recorder in place of the game), the random
// source, the key state, dialogs, the ranking window's boxes and the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "host/Form1Controls.h"
#include "play/Frontend.h"
#include "play/KeyState.h"
#include "play/Luck.h"
#include "play/TimerDispatch.h"
#include "posix/PosixFileOps.h"

namespace pellmora {

namespace {

struct Fired {
  int timerId;
  std::int64_t at;
  bool operator==(const Fired&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Fired& fired) {
  return out << "Timer" << fired.timerId << "@" << fired.at;
}

// Records every event and runs an optional action for it, as a handler would;
// an action may end the program.
class Recorder final : public TimerTarget {
 public:
  bool TimerFired(int timerId) override {
    events.push_back({timerId, clock->Now()});
    if (onFire) onFire(timerId);
    return !ended;
  }
  std::vector<Fired> events;
  std::function<void(int)> onFire;
  const TimerDispatch* clock = nullptr;
  bool ended = false;
};

// The virtual clock, as the headless host moves it.
class VirtualClock {
 public:
  explicit VirtualClock(Recorder& recorder) : dispatch_(recorder, nullptr), recorder_(recorder) {
    recorder.clock = &dispatch_;
  }
  void Attach(Form1Controls& window) { dispatch_.Attach(window); }
  void Wait(std::int64_t ms) {
    if (!recorder_.ended) dispatch_.FireDue(dispatch_.Now() + ms);
  }
  std::int64_t Clock() const { return dispatch_.Now(); }
  void End() { recorder_.ended = true; }
  bool Ended() const { return recorder_.ended; }

 private:
  TimerDispatch dispatch_;
  Recorder& recorder_;
};

class SimClock : public ::testing::Test {
 protected:
  SimClock() : host(recorder) {
    // Timer1 (15 ms) runs from the start, as the window is designed.
    host.Attach(window);
  }
  Form1Controls window;
  Recorder recorder;
  VirtualClock host;
};

TEST_F(SimClock, DesignTimerFiresAfterAFullIntervalAndEveryIntervalAfter) {
  host.Wait(14);
  EXPECT_TRUE(recorder.events.empty());
  EXPECT_EQ(host.Clock(), 14);
  host.Wait(1);  // due exactly at the new time: delivered
  host.Wait(30);
  EXPECT_EQ(recorder.events, (std::vector<Fired>{{1, 15}, {1, 30}, {1, 45}}));
  EXPECT_EQ(host.Clock(), 45);
}

TEST_F(SimClock, EventsAtTheSameInstantGoInTimerOrder) {
  window.Timer4.Interval = 15;
  window.Timer3.Interval = 10;
  window.Timer2.SetEnabled(true);  // 10 ms
  window.Timer3.SetEnabled(true);  // 10 ms
  window.Timer4.SetEnabled(true);  // 15 ms
  host.Wait(30);
  EXPECT_EQ(recorder.events, (std::vector<Fired>{{2, 10},
                                                 {3, 10},
                                                 {1, 15},
                                                 {4, 15},
                                                 {2, 20},
                                                 {3, 20},
                                                 {1, 30},
                                                 {2, 30},
                                                 {3, 30},
                                                 {4, 30}}));
}

TEST_F(SimClock, EnablingAgainStartsAFullInterval) {
  window.Timer1.SetEnabled(false);
  window.Timer2.SetEnabled(true);  // due at 10
  host.Wait(7);
  window.Timer2.SetEnabled(false);
  window.Timer2.SetEnabled(true);  // due at 17 now
  host.Wait(9);
  EXPECT_TRUE(recorder.events.empty());
  host.Wait(1);
  host.Wait(10);
  EXPECT_EQ(recorder.events, (std::vector<Fired>{{2, 17}, {2, 27}}));
}

TEST_F(SimClock, EnablingARunningTimerKeepsItsSchedule) {
  window.Timer2.SetEnabled(true);
  host.Wait(7);
  window.Timer2.SetEnabled(true);
  host.Wait(3);
  EXPECT_EQ(recorder.events, (std::vector<Fired>{{2, 10}}));
}

TEST_F(SimClock, HandlerSwitchingItsOwnTimerOffAndOnStartsAFullInterval) {
  window.Timer2.SetEnabled(true);
  bool restarted = false;
  recorder.onFire = [&](int id) {
    if (id == 2 && !restarted) {
      restarted = true;
      window.Timer2.Interval = 25;
      window.Timer2.SetEnabled(false);
      window.Timer2.SetEnabled(true);
    }
  };
  window.Timer1.SetEnabled(false);
  host.Wait(60);
  EXPECT_EQ(recorder.events, (std::vector<Fired>{{2, 10}, {2, 35}, {2, 60}}));
}

TEST_F(SimClock, HandlerSwitchingItsOwnTimerOffStopsIt) {
  recorder.onFire = [&](int id) {
    if (id == 1 && host.Clock() == 30) window.Timer1.SetEnabled(false);
  };
  host.Wait(100);
  EXPECT_EQ(recorder.events, (std::vector<Fired>{{1, 15}, {1, 30}}));
  EXPECT_FALSE(window.Timer1.Enabled());
}

TEST_F(SimClock, TimerDisabledByAHandlerDoesNotFireAtTheSameInstant) {
  window.Timer3.Interval = 15;
  window.Timer3.SetEnabled(true);  // due with Timer1 at 15
  recorder.onFire = [&](int id) {
    if (id == 1) window.Timer3.SetEnabled(false);
  };
  host.Wait(100);
  for (const Fired& fired : recorder.events) EXPECT_NE(fired.timerId, 3) << fired;
  EXPECT_FALSE(recorder.events.empty());
}

TEST_F(SimClock, TimerRestartedByAnotherHandlerAtItsDueInstantWaitsAFullInterval) {
  window.Timer3.Interval = 15;
  window.Timer3.SetEnabled(true);
  recorder.onFire = [&](int id) {
    if (id == 1 && host.Clock() == 15) {
      window.Timer3.SetEnabled(false);
      window.Timer3.SetEnabled(true);
    }
  };
  host.Wait(30);
  EXPECT_EQ(recorder.events, (std::vector<Fired>{{1, 15}, {1, 30}, {3, 30}}));
}

TEST_F(SimClock, NothingIsDeliveredAfterTheProgramEnds) {
  window.Timer2.SetEnabled(true);
  recorder.onFire = [&](int id) {
    if (id == 2) host.End();
  };
  host.Wait(1000);
  EXPECT_EQ(recorder.events, (std::vector<Fired>{{2, 10}}));
  EXPECT_TRUE(host.Ended());
  host.End();
  host.Wait(1000);
  EXPECT_EQ(recorder.events.size(), 1u);
}

TEST(SimRandom, QueuedValuesComeFirstThenTheSeededGenerator) {
  std::ostringstream out;
  SimHost host(out, 7);
  SimGame game(host);
  PlaySession& scripted = game.Session();
  host.QueueRnd(0.25);
  host.QueueRnd(0.5);
  EXPECT_EQ(scripted.Rnd(), 0.25);
  EXPECT_EQ(scripted.Rnd(), 0.5);

  Luck plain(7);
  std::mt19937_64 reference(7);
  for (int i = 0; i < 1000; ++i) {
    const double value = scripted.Rnd();
    EXPECT_EQ(value, plain.Next());
    EXPECT_EQ(value, static_cast<double>(reference() >> 11) * 0x1.0p-53);
    EXPECT_GE(value, 0.0);
    EXPECT_LT(value, 1.0);
  }
  // A queue filled again later is used again before the generator.
  host.QueueRnd(0.75);
  EXPECT_EQ(scripted.Rnd(), 0.75);
}

TEST(SimRandom, TheSeedDecidesAndRandomizeDoesNotChangeIt) {
  std::ostringstream out;
  SimHost hostA(out, 1);
  SimHost hostB(out, 2);
  SimHost hostC(out, 1);
  SimGame gameA(hostA);
  SimGame gameB(hostB);
  SimGame gameC(hostC);
  PlaySession& a = gameA.Session();
  PlaySession& b = gameB.Session();
  PlaySession& c = gameC.Session();
  c.Randomize();
  int differing = 0;
  for (int i = 0; i < 10; ++i) {
    const double value = a.Rnd();
    if (value != b.Rnd()) ++differing;
    EXPECT_EQ(value, c.Rnd());
  }
  EXPECT_GT(differing, 0);
}

// The desktop and the browser seed from entropy when the game loads: two
// starts throw in two different games.
TEST(SimRandom, LoadingSeedsFromEntropyWhereTheHostAsksForIt) {
  std::ostringstream out;
  SimHost host(out);
  PlaySession first(host, nullptr, PlaySession::Seeding::Entropy, 1);
  PlaySession second(host, nullptr, PlaySession::Seeding::Entropy, 1);
  first.Load();
  second.Load();
  int differing = 0;
  for (int i = 0; i < 4; ++i) differing += first.Rnd() != second.Rnd() ? 1 : 0;
  EXPECT_GT(differing, 0);
}

TEST(SimDialogs, InputBoxTakesAnswersInOrderAndCancelsWhenNoneIsLeft) {
  std::ostringstream out;
  SimHost host(out);
  host.QueueAnswer("Aoi \"A\"");
  host.QueueCancel();
  host.QueueAnswer("");
  EXPECT_EQ(host.InputBox("prompt", "title"), "Aoi \"A\"");
  EXPECT_EQ(host.InputBox("p2", "t2"), "");
  EXPECT_EQ(host.InputBox("p3", "t3"), "");
  EXPECT_EQ(host.InputBox("p4", "t4"), "");
  EXPECT_EQ(out.str(),
            "inputbox title=\"title\" prompt=\"prompt\" result=\"Aoi \\\"A\\\"\"\n"
            "inputbox title=\"t2\" prompt=\"p2\" result=\"\"\n"
            "inputbox title=\"t3\" prompt=\"p3\" result=\"\"\n"
            "inputbox title=\"t4\" prompt=\"p4\" result=\"\"\n");
}

TEST(SimDialogs, MessageBoxIsOneLineWithTitleFirst) {
  std::ostringstream out;
  SimHost host(out);
  host.MsgBox("line1\nline2", "ゲームオーバー");
  EXPECT_EQ(out.str(), "msgbox title=\"ゲームオーバー\" text=\"line1\\nline2\"\n");
}

TEST(SimDialogs, NoBoxOpensAfterTheEnd) {
  std::ostringstream out;
  SimHost host(out);
  SimGame game(host);
  host.QueueAnswer("kept");
  game.Session().End();
  game.Session().MsgBox("text", "title");
  EXPECT_EQ(game.Session().InputBox("prompt", "title"), "");
  EXPECT_EQ(out.str(), "end\n");
}

// The key state with the headless host's hooks: press, release, autopilot.
class KeyHooks {
 public:
  explicit KeyHooks(const Form1Controls& window) : window_(window) {}
  void SetKeyHeld(int key, bool held) { keys.SetHeld(key, held); }
  void SetAutopilot(bool on) { keys.SetAutopilot(on ? &window_ : nullptr); }
  KeyState keys;

 private:
  const Form1Controls& window_;
};

class SimKeys : public ::testing::Test {
 protected:
  SimKeys() : host(window) {}
  bool Held(int key) { return host.keys.Read(key) != 0; }
  Form1Controls window;
  KeyHooks host;
};

TEST_F(SimKeys, PressAndReleaseRecordHeldKeys) {
  EXPECT_FALSE(Held(vbKeyUp));
  host.SetKeyHeld(vbKeyUp, true);
  host.SetKeyHeld(vbKeyEscape, true);
  EXPECT_TRUE(Held(vbKeyUp));
  EXPECT_TRUE(Held(vbKeyEscape));
  EXPECT_FALSE(Held(vbKeyDown));
  host.SetKeyHeld(vbKeyUp, false);
  EXPECT_FALSE(Held(vbKeyUp));
  EXPECT_FALSE(Held(-1));
  EXPECT_FALSE(Held(256));
}

TEST_F(SimKeys, AutopilotFollowsTheBallWithinTwoPixels) {
  // Ball centre y = 100 + 16 / 2 = 108; left paddle centre = Top + 60.
  window.Image5.Top = 100;
  window.Image5.Height = 16;
  window.Image1.Height = 120;
  host.SetKeyHeld(vbKeyUp, true);
  host.SetKeyHeld(vbKeyEscape, true);
  host.SetAutopilot(true);

  window.Image1.Top = 50;  // c = 110 = b + 2: close enough
  EXPECT_FALSE(Held(vbKeyUp));
  EXPECT_FALSE(Held(vbKeyDown));
  window.Image1.Top = 50.5f;  // c = 110.5 > b + 2
  EXPECT_TRUE(Held(vbKeyUp));
  EXPECT_FALSE(Held(vbKeyDown));
  window.Image1.Top = 46;  // c = 106 = b - 2
  EXPECT_FALSE(Held(vbKeyUp));
  EXPECT_FALSE(Held(vbKeyDown));
  window.Image1.Top = 45.5f;  // c = 105.5 < b - 2
  EXPECT_TRUE(Held(vbKeyDown));
  EXPECT_FALSE(Held(vbKeyUp));

  // Ball centre x = 300 + 16 / 2 = 308; top paddle centre = Left + 78.
  window.Image5.Left = 300;
  window.Image5.Width = 16;
  window.Image3.Width = 156;
  window.Image3.Left = 227;  // c = 305 < 306
  EXPECT_TRUE(Held(vbKeyRight));
  EXPECT_FALSE(Held(vbKeyLeft));
  window.Image3.Left = 233;  // c = 311 > 310
  EXPECT_TRUE(Held(vbKeyLeft));
  EXPECT_FALSE(Held(vbKeyRight));
  window.Image3.Left = 232;  // c = 310
  EXPECT_FALSE(Held(vbKeyLeft));

  // Every other key is not held, pressed or not.
  EXPECT_FALSE(Held(vbKeyEscape));

  // Off again: the recorded keys count again.
  host.SetAutopilot(false);
  EXPECT_TRUE(Held(vbKeyUp));
  EXPECT_TRUE(Held(vbKeyEscape));
  EXPECT_FALSE(Held(vbKeyRight));
}

// The host sees the ranking window's boxes once the button has filled them.
struct BoxesSeen final : Frontend {
  PosixFileOps files;
  int changes = 0;
  std::string firstScore;
  void MsgBox(const std::string&, const std::string&) override {}
  std::string InputBox(const std::string&, const std::string&) override { return {}; }
  FileOps& Files() override { return files; }
  void Form2Opened(Form2Controls&) override {}
  void Form2Raised() override {}
  void Form2Changed(const Form2Controls& boxes) override {
    ++changes;
    firstScore = boxes.Text2[0].Text;
  }
  void Form2Closed() override {}
  void ProgramEnded() override {}
  void ProgramFailed(const char*) override {}
  void EventDone() override {}
};

TEST(SimForm2, RankingButtonHandsTheFilledBoxesToTheHost) {
  BoxesSeen frontend;
  PlaySession session(frontend, nullptr, PlaySession::Seeding::Fixed);
  session.Load();
  session.Game().Command2.Visible = true;
  ASSERT_TRUE(session.Click(MenuButton::Command2));
  EXPECT_EQ(frontend.changes, 1);
  EXPECT_EQ(frontend.firstScore, "0");
}

TEST(SimForm2, ShownOnceUntilUnloaded) {
  std::ostringstream out;
  SimHost simHost(out);
  SimGame game(simHost);
  PlaySession& host = game.Session();
  EXPECT_EQ(host.Form2(), nullptr);
  Form2Controls& first = host.ShowForm2();
  first.Text1[0].Text = "typed";
  EXPECT_EQ(&host.ShowForm2(), &first);
  EXPECT_EQ(host.Form2(), &first);
  EXPECT_EQ(host.Form2()->Text1[0].Text, "typed");
  host.UnloadForm2();
  EXPECT_EQ(host.Form2(), nullptr);
  EXPECT_EQ(host.ShowForm2().Text1[0].Text, "");  // built afresh from the design
}

class CountingFiles : public PosixFileOps {
 public:
  bool Exists(const std::string& name) override {
    ++asked;
    return name == "there";
  }
  int asked = 0;
};

TEST(SimFiles, AnotherFileLayerCanBeUsed) {
  std::ostringstream out;
  SimHost host(out);
  CountingFiles files;
  host.UseFiles(files);
  EXPECT_TRUE(host.Files().Exists("there"));
  EXPECT_FALSE(host.Files().Exists("elsewhere"));
  EXPECT_EQ(files.asked, 2);
}

}  // namespace

}  // namespace pellmora
