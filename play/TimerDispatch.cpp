#include "play/TimerDispatch.h"

namespace pellmora {

TimerDispatch::TimerDispatch(TimerTarget& target, RealClock* realClock) noexcept
    : target_(target), realClock_(realClock), table_(realClock != nullptr ? kMaxLateUs : kNever) {}

std::int64_t TimerDispatch::Now() const noexcept {
  return realClock_ != nullptr ? realClock_->Now() : virtualNow_;
}

std::int64_t TimerDispatch::EventTimeMs() const noexcept {
  if (realClock_ == nullptr) return virtualNow_;
  return (firing_ ? firingDue_ : realClock_->Now()) / kMicrosecondsPerMs;
}

void TimerDispatch::Attach(Form1Controls& window) {
  Timer* timers[Table::kCount] = {&window.Timer1, &window.Timer2, &window.Timer3, &window.Timer4};
  for (int i = 0; i < Table::kCount; ++i) {
    timers_[i] = timers[i];
    timers_[i]->AttachSink(this);
    TimerSwitched(*timers_[i]);
  }
}

void TimerDispatch::Detach() noexcept {
  for (int i = 0; i < Table::kCount; ++i) {
    if (timers_[i] != nullptr) timers_[i]->AttachSink(nullptr);
    timers_[i] = nullptr;
    table_.Switched(i, false, 0, 0);
  }
}

void TimerDispatch::TimerSwitched(Timer& timer) {
  const int index = timer.Id() - 1;
  if (index < 0 || index >= Table::kCount || timers_[index] != &timer) return;
  // Told again that a running timer is on: it keeps its schedule.
  if (timer.Enabled() && table_.DueOf(index) != kNever) return;
  const std::int64_t unit = realClock_ != nullptr ? kMicrosecondsPerMs : 1;
  table_.Switched(index, timer.Enabled(), std::int64_t{timer.Interval} * unit, Now());
  // Stopped or started at once, so that a box opened later in the same
  // handler sees no event from a timer it stopped.
  if (realClock_ != nullptr) realClock_->WakeAt(table_.NextDue());
}

void TimerDispatch::FireDue(std::int64_t until) {
  bool goOn = true;
  std::int64_t due = 0;
  for (int index = table_.TakeDue(until, &due); index >= 0; index = table_.TakeDue(until, &due)) {
    if (realClock_ == nullptr) virtualNow_ = due;
    ++fired_[index];
    firing_ = true;
    firingDue_ = due;
    goOn = target_.TimerFired(index + 1);
    firing_ = false;
    if (!goOn) break;
    // Each event is taken anew against the clock: a real one moves on while
    // a handler runs.
    if (realClock_ != nullptr) until = realClock_->Now();
  }
  if (realClock_ == nullptr) {
    if (goOn) virtualNow_ = until;
  } else {
    realClock_->WakeAt(table_.NextDue());
  }
}

}  // namespace pellmora
