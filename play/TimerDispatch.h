// The four timers on a clock: switched by the game through its Timer
// objects, fired in time order, the lowest number first at equal times, one
// handler at a time. The clock is the headless host's virtual one (whole
// milliseconds, moved only by FireDue, never late) or a real one that the
// host reads (microseconds, wake-ups late by more than 100 ms not caught up).
#pragma once

#include <cstdint>

#include "host/Form1Controls.h"
#include "host/Host.h"
#include "play/TimerTable.h"

namespace pellmora {

// Receives the timer events: the game window, or a test's recorder.
class TimerTarget {
 public:
  // One call per event, with the timer's id 1..4; false once the program
  // has ended, which stops the delivery.
  virtual bool TimerFired(int timerId) = 0;

 protected:
  ~TimerTarget() = default;
};

// A real clock: the time now, and where the host should wake next.
class RealClock {
 public:
  // Microseconds since any fixed moment.
  virtual std::int64_t Now() = 0;
  // The next event falls due at `due` (TimerTable's kNever: none).
  virtual void WakeAt(std::int64_t due) = 0;

 protected:
  ~RealClock() = default;
};

class TimerDispatch final : public TimerSink {
 public:
  using Table = TimerTable<std::int64_t>;
  static constexpr std::int64_t kNever = Table::kNever;
  static constexpr std::int64_t kMicrosecondsPerMs = 1000;
  // A page or window blocked longer than this gets one event, not a burst.
  static constexpr std::int64_t kMaxLateUs = 100 * kMicrosecondsPerMs;

  // On the virtual clock when `realClock` is null.
  TimerDispatch(TimerTarget& target, RealClock* realClock) noexcept;
  TimerDispatch(const TimerDispatch&) = delete;
  TimerDispatch& operator=(const TimerDispatch&) = delete;
  ~TimerDispatch() { Detach(); }

  // Puts the window's Timer1..Timer4 on the clock: an enabled one starts a
  // full interval now.
  void Attach(Form1Controls& window);
  // Lets go of the window's timers before it is destroyed.
  void Detach() noexcept;

  // Fires in time order every event due up to and including `until`. On the
  // virtual clock the clock stands at each event's due time while its
  // handler runs, and at `until` afterwards unless the program ended.
  void FireDue(std::int64_t until);

  std::int64_t Now() const noexcept;
  // Whole milliseconds on the clock: now, or while a timer's handler runs,
  // the time its event fell due.
  std::int64_t EventTimeMs() const noexcept;
  std::int64_t NextDue() const noexcept { return table_.NextDue(); }
  bool Running(int timerId) const noexcept { return DueOf(timerId) != kNever; }
  // When timer 1..4 fires next, kNever while it is off.
  std::int64_t DueOf(int timerId) const noexcept { return table_.DueOf(timerId - 1); }
  // How many events timer 1..4 has raised so far.
  std::int64_t Fired(int timerId) const noexcept { return fired_[timerId - 1]; }

  void TimerSwitched(Timer& timer) override;

 private:
  TimerTarget& target_;
  RealClock* realClock_;
  std::int64_t virtualNow_ = 0;
  bool firing_ = false;
  std::int64_t firingDue_ = 0;
  Table table_;
  Timer* timers_[Table::kCount] = {};
  std::int64_t fired_[Table::kCount] = {};
};

}  // namespace pellmora
