// The four timers' due times on a clock, and which one fires next. One table
// serves every host: the headless host's virtual clock in whole milliseconds
// (never late), the desktop's and the browser's real clocks (which may wake
// late, and then must not fire in a burst).
#pragma once

#include <cstdint>
#include <limits>

namespace pellmora {

template <typename Time>
class TimerTable {
 public:
  static constexpr int kCount = 4;
  static constexpr Time kNever = std::numeric_limits<Time>::has_infinity
                                     ? std::numeric_limits<Time>::infinity()
                                     : std::numeric_limits<Time>::max();

  // An event later than `maxLate` is not caught up: the timer starts over
  // from the moment it fires. kNever: every due event fires, in order.
  explicit TimerTable(Time maxLate = kNever) noexcept : maxLate_(maxLate) {}

  // Timer `index` (0..3) was switched on or off at `now`. Switched on, it is
  // first due a full interval later; an interval of 0 or less never fires:
  // it would hold the clock still.
  void Switched(int index, bool enabled, Time interval, Time now) noexcept {
    if (index < 0 || index >= kCount) return;
    interval_[index] = interval;
    due_[index] = enabled && interval > 0 ? now + interval : kNever;
  }

  // The earliest due time, kNever when every timer is off.
  Time NextDue() const noexcept {
    Time next = kNever;
    for (const Time due : due_) {
      if (due < next) next = due;
    }
    return next;
  }

  Time DueOf(int index) const noexcept { return due_[index]; }

  // The timer to fire at `now`, or -1 when none is due yet: the earliest due
  // one, the lowest number first at equal times. Its next event is scheduled
  // before its handler runs (so that a handler switching its own timer off
  // and on again starts a full interval anew), one interval after the due
  // time, so that the long-run rate stays exact. `dueAt` is the due time
  // taken.
  int TakeDue(Time now, Time* dueAt = nullptr) noexcept {
    int next = 0;
    for (int i = 1; i < kCount; ++i) {
      if (due_[i] < due_[next]) next = i;
    }
    if (!(due_[next] <= now)) return -1;
    if (dueAt != nullptr) *dueAt = due_[next];
    const Time from = maxLate_ != kNever && now - due_[next] > maxLate_ ? now : due_[next];
    due_[next] = from + interval_[next];
    return next;
  }

 private:
  Time maxLate_;
  Time due_[kCount] = {kNever, kNever, kNever, kNever};
  Time interval_[kCount] = {};
};

}  // namespace pellmora
