// The timers on a real clock, in milliseconds as the browser gives them: due
// times, order, lateness.
#include <gtest/gtest.h>

#include <vector>

#include "play/TimerTable.h"

namespace pellmora {
namespace {

// The real hosts' table: a wake-up more than 100 ms late is not caught up.
struct TimerSchedule : TimerTable<double> {
  static constexpr double kMaxLateMs = 100.0;
  TimerSchedule() : TimerTable<double>(kMaxLateMs) {}
};

// Fires everything due at `now`, as the host's loop does, and returns the
// timers in the order they fired (1-based).
std::vector<int> FireDue(TimerSchedule& schedule, double now) {
  std::vector<int> fired;
  for (int i = schedule.TakeDue(now); i >= 0; i = schedule.TakeDue(now)) fired.push_back(i + 1);
  return fired;
}

TEST(TimerSchedule, NothingIsDueWhileEveryTimerIsOff) {
  TimerSchedule schedule;
  EXPECT_EQ(schedule.NextDue(), TimerSchedule::kNever);
  EXPECT_EQ(schedule.TakeDue(1e9), -1);
}

TEST(TimerSchedule, ATimerSwitchedOnIsFirstDueAFullIntervalLater) {
  TimerSchedule schedule;
  schedule.Switched(1, true, 10, 1000.5);
  EXPECT_DOUBLE_EQ(schedule.NextDue(), 1010.5);
  EXPECT_EQ(schedule.TakeDue(1010.4), -1);
  EXPECT_EQ(schedule.TakeDue(1010.5), 1);
  EXPECT_DOUBLE_EQ(schedule.NextDue(), 1020.5);
}

TEST(TimerSchedule, EqualDueTimesFireInTimerOrder) {
  TimerSchedule schedule;
  schedule.Switched(3, true, 30, 0);
  schedule.Switched(2, true, 15, 0);
  schedule.Switched(0, true, 15, 0);
  schedule.Switched(1, true, 10, 0);
  // At 30: Timer2 at 10, 20, 30; Timer1 and Timer3 at 15, 30; Timer4 at 30.
  EXPECT_EQ(FireDue(schedule, 30), (std::vector<int>{2, 1, 3, 2, 1, 2, 3, 4}));
}

TEST(TimerSchedule, ATimerSwitchedOffNeverFiresAndOnAgainStartsAFreshInterval) {
  TimerSchedule schedule;
  schedule.Switched(1, true, 10, 0);
  schedule.Switched(1, false, 10, 5);
  EXPECT_EQ(schedule.TakeDue(100), -1);
  schedule.Switched(1, true, 10, 103);
  EXPECT_DOUBLE_EQ(schedule.NextDue(), 113);
}

TEST(TimerSchedule, AnIntervalOfZeroNeverFires) {
  TimerSchedule schedule;
  schedule.Switched(0, true, 0, 0);
  EXPECT_EQ(schedule.NextDue(), TimerSchedule::kNever);
}

// Wake-ups a few milliseconds late, as a browser's timers are, still give
// exactly 100 ticks per second over a long run: no drift.
TEST(TimerSchedule, SlightlyLateWakeUpsKeepTheLongRunRate) {
  TimerSchedule schedule;
  schedule.Switched(1, true, 10, 0);
  int ticks = 0;
  const double lateness[] = {0.3, 4.0, 1.2, 9.0, 0.0, 2.5, 7.7};
  double now = 0;
  for (int wake = 0; now < 60000; ++wake) {
    now = schedule.NextDue() + lateness[wake % 7];
    ticks += static_cast<int>(FireDue(schedule, now).size());
  }
  // Due at 10, 20, ..., and never more than 9 ms late: every due time up to
  // `now` has fired, no more.
  EXPECT_EQ(ticks, static_cast<int>(now / 10));
  EXPECT_GE(ticks, 6000);
}

// A page that was throttled or blocked does not catch up in a burst: one
// event, then the timer starts over from that moment.
TEST(TimerSchedule, ALongStallGivesOneEventAndStartsOver) {
  TimerSchedule schedule;
  schedule.Switched(1, true, 10, 0);
  EXPECT_EQ(FireDue(schedule, 10).size(), 1u);
  EXPECT_EQ(FireDue(schedule, 1510).size(), 1u);
  EXPECT_DOUBLE_EQ(schedule.NextDue(), 1520);
  // Just past the limit: due at 1520, woken at 1620.5.
  EXPECT_EQ(FireDue(schedule, 1620.5).size(), 1u);
  EXPECT_DOUBLE_EQ(schedule.NextDue(), 1630.5);
}

// Up to the limit the missed events are caught up.
TEST(TimerSchedule, LatenessUpToTheLimitIsCaughtUp) {
  TimerSchedule schedule;
  schedule.Switched(1, true, 10, 0);
  // Due at 10; at 110 it is exactly 100 ms late: 10, 20, ..., 110 all fire.
  EXPECT_EQ(FireDue(schedule, 110).size(), 11u);
  EXPECT_DOUBLE_EQ(schedule.NextDue(), 120);
}

}  // namespace
}  // namespace pellmora
