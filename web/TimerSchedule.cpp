#include "web/TimerSchedule.h"

namespace pellmora {

void TimerSchedule::Switched(int index, bool enabled, int intervalMs, double nowMs) noexcept {
  if (index < 0 || index >= kCount) return;
  interval_[index] = intervalMs;
  due_[index] = enabled && intervalMs > 0 ? nowMs + intervalMs : kNever;
}

double TimerSchedule::NextDue() const noexcept {
  double next = kNever;
  for (const double due : due_) {
    if (due < next) next = due;
  }
  return next;
}

int TimerSchedule::TakeDue(double nowMs) noexcept {
  int next = 0;
  for (int i = 1; i < kCount; ++i) {
    if (due_[i] < due_[next]) next = i;
  }
  if (!(due_[next] <= nowMs)) return -1;
  const double from = nowMs - due_[next] > kMaxLateMs ? nowMs : due_[next];
  due_[next] = from + interval_[next];
  return next;
}

}  // namespace pellmora
