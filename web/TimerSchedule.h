// The four timers on the browser's clock: when each one is due next, and
// which one fires at a given moment. Plain C++, so that the rules can be
// checked without a browser.
#pragma once

#include <limits>

namespace pellmora {

class TimerSchedule {
 public:
  static constexpr int kCount = 4;
  static constexpr double kNever = std::numeric_limits<double>::infinity();
  // An event later than this is not caught up: the timer starts over from the
  // moment it fires, so that a throttled or blocked page never gets a burst.
  static constexpr double kMaxLateMs = 100.0;

  // Timer `index` (0..3) was switched on or off at `nowMs`. Switched on, it
  // is first due a full interval later; an interval of 0 or less never fires.
  void Switched(int index, bool enabled, int intervalMs, double nowMs) noexcept;

  // The earliest due time, kNever when every timer is off.
  double NextDue() const noexcept;

  // The timer to fire at `nowMs`, or -1 when none is due yet: the earliest
  // due one, the lowest number first at equal times. Its next event is
  // scheduled before its handler runs, one interval after the due time (so
  // that the long-run rate stays exact), or one interval after `nowMs` when
  // it was more than kMaxLateMs late.
  int TakeDue(double nowMs) noexcept;

 private:
  double due_[kCount] = {kNever, kNever, kNever, kNever};
  int interval_[kCount] = {};
};

}  // namespace pellmora
