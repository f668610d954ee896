// The desktop host's start-up, timers, keys, random source and ending.
#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QScreen>
#include <chrono>
#include <thread>
#include <vector>

#include "QtHostTestSupport.h"
#include "game/Int16.h"

namespace pellmora {

namespace {

using qthosttest::ColourAt;
using qthosttest::NonTilePixels;
using qthosttest::StartedHost;
using qthosttest::TileColour;

void SleepMs(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Runs the event loop for about `ms` milliseconds.
void ProcessEventsFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    SleepMs(1);
  }
}

void Press(QWidget* target, int key, bool autoRepeat = false) {
  QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
  QApplication::sendEvent(target, &event);
}

void Release(QWidget* target, int key, bool autoRepeat = false) {
  QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
  QApplication::sendEvent(target, &event);
}

using QtHostStart = StartedHost;

TEST_F(QtHostStart, ShowsTheTilesOnlyWithTheLabelsParkedOutside) {
  const QImage shot = Shot();
  ASSERT_EQ(shot.size(), QSize(640, 480));
  EXPECT_EQ(ColourAt(shot, 0, 0), 0x00EB00u);
  EXPECT_EQ(ColourAt(shot, 7, 7), 0x8CF78Cu);
  EXPECT_EQ(ColourAt(shot, 8, 8), 0x00EB00u);
  EXPECT_EQ(ColourAt(shot, 3, 0), 0x18EB18u);
  EXPECT_EQ(ColourAt(shot, 639, 479), 0x8CF78Cu);
  // The title sits above the field with its lettering's baseline above row 0
  // (its letters have no descenders), the banner below it; every object
  // else is hidden, so the whole field is tiles.
  const auto drawn = NonTilePixels(shot, shot.rect());
  EXPECT_EQ(drawn.count, 0) << "first at " << drawn.bounds.x() << "," << drawn.bounds.y();
}

TEST_F(QtHostStart, IsTheDesignWindowWithOnlyTheTitleTimerRunning) {
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("Pellmora"));
  EXPECT_EQ(Game().Caption, "Pellmora");
  EXPECT_EQ(Window().size(), QSize(640, 480));
  EXPECT_EQ(Window().minimumSize(), QSize(640, 480));
  EXPECT_EQ(Window().maximumSize(), QSize(640, 480));
  EXPECT_FALSE(Window().windowIcon().isNull());
  EXPECT_TRUE(Window().isVisible());

  EXPECT_TRUE(Timers().Running(1));
  EXPECT_LE(UntilDue(1), 15);
  EXPECT_FALSE(host->Session().Timers().Running((Game().Timer2).Id()));
  EXPECT_FALSE(host->Session().Timers().Running((Game().Timer3).Id()));
  EXPECT_FALSE(host->Session().Timers().Running((Game().Timer4).Id()));

  for (int n = 0; n < 3; ++n) EXPECT_FALSE(Window().Command(n).isVisibleTo(&Window())) << n;
  EXPECT_EQ(host->Session().Form2(), nullptr);
  EXPECT_EQ(host->RankingWindow(), nullptr);
  // Form_Load ran: the base speeds are set.
  EXPECT_EQ(Game().baseSpeedX, 3);
  EXPECT_EQ(Game().baseSpeedY, 3);
}

TEST_F(QtHostStart, CentresTheWindowOnTheScreen) {
  const QRect screen = Window().screen()->availableGeometry();
  const QPoint offset = Window().geometry().center() - screen.center();
  EXPECT_LE(std::abs(offset.x()), 1);
  EXPECT_LE(std::abs(offset.y()), 1);
}

using QtHostTimers = StartedHost;

TEST_F(QtHostTimers, EnablingStartsAndDisablingStopsTheTimer) {
  Game().Timer2.SetEnabled(true);
  EXPECT_TRUE(Timers().Running(2));
  EXPECT_GT(UntilDue(2), 10 - 5);
  EXPECT_LE(UntilDue(2), 10);
  Game().Timer2.SetEnabled(false);
  EXPECT_FALSE(Timers().Running(2));

  Game().Timer4.SetEnabled(true);
  EXPECT_TRUE(Timers().Running(4));
  EXPECT_GT(UntilDue(4), 10000 - 50);
}

TEST_F(QtHostTimers, ARunningTimerKeepsItsSchedule) {
  Game().Timer4.SetEnabled(true);
  SleepMs(60);
  // Told again that it is on, as a second switch-on would: no new interval.
  Timers().TimerSwitched(Game().Timer4);
  Game().Timer4.SetEnabled(true);
  EXPECT_TRUE(Timers().Running(4));
  EXPECT_LE(UntilDue(4), 10000 - 50);
}

TEST_F(QtHostTimers, SwitchingOffAndOnStartsAFullInterval) {
  Game().Timer4.SetEnabled(true);
  SleepMs(60);
  Game().Timer4.SetEnabled(false);
  Game().Timer4.SetEnabled(true);
  EXPECT_GT(UntilDue(4), 10000 - 50);
}

TEST_F(QtHostTimers, ADisabledTimerDeliversNoOverdueTick) {
  // Each game tick writes the score into the caption, so a tick shows there.
  Game().Timer2.SetEnabled(true);
  SleepMs(40);  // overdue, but not yet delivered
  Game().Timer2.SetEnabled(false);
  ProcessEventsFor(60);
  EXPECT_EQ(Game().Caption, "Pellmora");
  EXPECT_EQ(Window().windowTitle(), QStringLiteral("Pellmora"));

  // The same with the timer left on: the tick runs and the title bar follows.
  Game().Timer2.SetEnabled(true);
  ProcessEventsFor(60);
  Game().Timer2.SetEnabled(false);
  EXPECT_EQ(Game().Caption, "Pellmora　　　0点");
  EXPECT_EQ(Window().windowTitle(), QString::fromUtf8("Pellmora　　　0点"));
}

TEST_F(QtHostTimers, TheTitleTimerBringsTheMenuButtonsUp) {
  // The title settles within about 1.3 s; then the buttons appear.
  QElapsedTimer clock;
  clock.start();
  while (!Window().Command(2).isVisibleTo(&Window()) && clock.elapsed() < 5000) {
    ProcessEventsFor(20);
  }
  EXPECT_FALSE(host->Session().Timers().Running((Game().Timer1).Id()));
  EXPECT_EQ(Game().Label1.Top, 80);
  for (int n = 0; n < 3; ++n) EXPECT_TRUE(Window().Command(n).isVisibleTo(&Window())) << n;
  EXPECT_EQ(Window().Command(0).geometry(), QRect(208, 304, 201, 41));
  EXPECT_EQ(Window().Command(1).geometry(), QRect(208, 360, 201, 41));
  EXPECT_EQ(Window().Command(2).geometry(), QRect(208, 416, 201, 41));
}

using QtHostKeys = StartedHost;

TEST_F(QtHostKeys, AHeldKeyReadsAsDownUntilReleased) {
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyUp), 0);
  Press(&Window(), Qt::Key_Up);
  EXPECT_NE(host->Session().GetAsyncKeyState(vbKeyUp), 0);
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyUp), -32768);
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyDown), 0);
  // The repeats of a held key come as release-press pairs; it stays down.
  Release(&Window(), Qt::Key_Up, true);
  Press(&Window(), Qt::Key_Up, true);
  EXPECT_NE(host->Session().GetAsyncKeyState(vbKeyUp), 0);
  Release(&Window(), Qt::Key_Up);
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyUp), 0);
}

TEST_F(QtHostKeys, MapsTheKeysToVirtualKeyCodes) {
  const std::pair<int, int> keys[] = {{Qt::Key_Left, 37},
                                      {Qt::Key_Up, 38},
                                      {Qt::Key_Right, 39},
                                      {Qt::Key_Down, 40},
                                      {Qt::Key_Escape, 27}};
  for (const auto& [qtKey, code] : keys) {
    Press(&Window(), qtKey);
    EXPECT_NE(host->Session().GetAsyncKeyState(code), 0) << code;
    Release(&Window(), qtKey);
    EXPECT_EQ(host->Session().GetAsyncKeyState(code), 0) << code;
  }
  // Keys the game never reads are not handed to it.
  const int before = host->Session().KeyDownsDelivered();
  for (int qtKey : {Qt::Key_F1, Qt::Key_Shift, Qt::Key_A, Qt::Key_9}) {
    Press(&Window(), qtKey);
    Release(&Window(), qtKey);
  }
  EXPECT_EQ(host->Session().KeyDownsDelivered(), before);
  EXPECT_EQ(host->Session().GetAsyncKeyState(65), 0);
}

TEST_F(QtHostKeys, SwitchingAwayReleasesEveryHeldKey) {
  Press(&Window(), Qt::Key_Up);
  Press(&Window(), Qt::Key_Left);
  ASSERT_NE(host->Session().GetAsyncKeyState(vbKeyUp), 0);
  // Alt+Tab: the release goes to another window and is never seen here.
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&Window(), &deactivate);
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyUp), 0);
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyLeft), 0);

  Press(&Window(), Qt::Key_Down);
  ASSERT_NE(host->Session().GetAsyncKeyState(vbKeyDown), 0);
  QApplicationStateChangeEvent inactive(Qt::ApplicationInactive);
  QApplication::sendEvent(qApp, &inactive);
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyDown), 0);
}

TEST_F(QtHostKeys, EveryKeyDownReachesTheGameOnceWhicheverButtonHasTheFocus) {
  Game().Command1.Visible = Game().Command2.Visible = Game().Command3.Visible = true;
  Window().SyncButtons();
  Window().Command(1).setFocus();
  ASSERT_EQ(Window().focusWidget(), &Window().Command(1));

  // The button ignores Esc, which then travels on to the window: still one
  // key-down.
  const int before = host->Session().KeyDownsDelivered();
  Press(&Window().Command(1), Qt::Key_Escape);
  EXPECT_EQ(host->Session().KeyDownsDelivered(), before + 1);
  Release(&Window().Command(1), Qt::Key_Escape);
  // An arrow reaches the game and is held, and then moves the focus to the
  // button before.
  Press(&Window().Command(1), Qt::Key_Left);
  EXPECT_EQ(host->Session().KeyDownsDelivered(), before + 2);
  EXPECT_NE(host->Session().GetAsyncKeyState(vbKeyLeft), 0);
  EXPECT_EQ(Window().focusWidget(), &Window().Command(0));
  // A held key's repeats are key-downs too.
  Press(&Window().Command(0), Qt::Key_Left, true);
  EXPECT_EQ(host->Session().KeyDownsDelivered(), before + 3);
  Release(&Window().Command(0), Qt::Key_Left);
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyLeft), 0);

  // The game acts on it: Esc during play starts the pause.
  Game().playing = VbTrue;
  Game().Timer2.SetEnabled(true);
  Game().Timer4.SetEnabled(true);
  Window().Command(1).setFocus();
  Press(&Window().Command(1), Qt::Key_Escape);
  EXPECT_FALSE(host->Session().Timers().Running((Game().Timer2).Id()));
  EXPECT_FALSE(host->Session().Timers().Running((Game().Timer4).Id()));
  EXPECT_TRUE(host->Session().Timers().Running((Game().Timer3).Id()));
  EXPECT_EQ(Game().Label2.Top, 480);
  EXPECT_EQ(Game().pausing, VbTrue);
}

// The paddles read the arrows held in the ranking window too; its key-downs,
// Esc among them, are not the game window's.
TEST_F(QtHostKeys, KeysOfTheRankingWindowReachOnlyThePaddles) {
  host->Session().ShowForm2();
  ASSERT_NE(host->RankingWindow(), nullptr);
  const int before = host->Session().KeyDownsDelivered();
  Press(&host->RankingWindow()->Text2(0), Qt::Key_Escape);
  Press(&host->RankingWindow()->Text2(0), Qt::Key_Up);
  EXPECT_EQ(host->Session().KeyDownsDelivered(), before);
  EXPECT_NE(host->Session().GetAsyncKeyState(vbKeyUp), 0);
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyEscape), 0);
  Release(&host->RankingWindow()->Text2(0), Qt::Key_Up);
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyUp), 0);
}

using QtHostRandom = StartedHost;

TEST_F(QtHostRandom, QueuedValuesComeFirstThenTheGeneratorsInRange) {
  host->Session().Random().Queue(0.25);
  host->Session().Random().Queue(0.75);
  EXPECT_EQ(host->Session().Rnd(), 0.25);
  EXPECT_EQ(host->Session().Rnd(), 0.75);
  bool varied = false;
  double first = host->Session().Rnd();
  for (int i = 0; i < 1000; ++i) {
    const double value = host->Session().Rnd();
    ASSERT_GE(value, 0.0);
    ASSERT_LT(value, 1.0);
    if (value != first) varied = true;
  }
  EXPECT_TRUE(varied);
}

TEST_F(QtHostRandom, EachRandomizeStartsAnotherSequence) {
  std::vector<double> runs[2];
  for (auto& run : runs) {
    host->Session().Randomize();
    for (int i = 0; i < 4; ++i) run.push_back(host->Session().Rnd());
  }
  EXPECT_NE(runs[0], runs[1]);
}

using QtHostEnd = StartedHost;

TEST_F(QtHostEnd, EndClosesEveryWindowAndStopsEveryTimer) {
  host->Session().ShowForm2();
  Game().Timer2.SetEnabled(true);
  Game().Timer4.SetEnabled(true);
  const QPointer<Form2Widget> ranking = host->RankingWindow();
  host->Session().End();
  EXPECT_TRUE(host->Ended());
  EXPECT_EQ(host->ExitCode(), 0);
  EXPECT_FALSE(Window().isVisible());
  EXPECT_EQ(host->Session().Form2(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(ranking.isNull());
  for (const Timer* timer : {&Game().Timer1, &Game().Timer2, &Game().Timer3, &Game().Timer4}) {
    EXPECT_FALSE(host->Session().Timers().Running((*timer).Id())) << timer->Id();
  }
  // No further events are handled.
  const int before = host->Session().KeyDownsDelivered();
  Press(&Window(), Qt::Key_Escape);
  EXPECT_EQ(host->Session().KeyDownsDelivered(), before);
}

TEST_F(QtHostEnd, TheQuitButtonEndsTheGame) {
  Game().Command3.Visible = true;
  Window().SyncButtons();
  Window().Command(2).click();
  EXPECT_TRUE(host->Ended());
  EXPECT_EQ(host->ExitCode(), 0);
  EXPECT_FALSE(Window().isVisible());
}

TEST_F(QtHostEnd, ClosingTheGameWindowEndsTheGame) {
  host->Session().ShowForm2();
  Window().close();
  EXPECT_TRUE(host->Ended());
  EXPECT_EQ(host->Session().Form2(), nullptr);
}

}  // namespace

}  // namespace pellmora
