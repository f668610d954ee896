#include "play/KeyState.h"

#include "play/Autopilot.h"

namespace pellmora {

void KeyState::SetHeld(int virtualKey, bool held) noexcept {
  if (virtualKey >= 0 && virtualKey < kCodes) held_[virtualKey] = held;
}

void KeyState::ReleaseAll() noexcept {
  for (bool& held : held_) held = false;
}

int16_t KeyState::ReadReplayed() noexcept {
  const int i = replayNext_++;
  const bool held = i < replayCount_ && i < 32 && ((replayReads_ >> i) & 1u) != 0;
  return held ? kHeld : int16_t{0};
}

int16_t KeyState::Read(int virtualKey) const noexcept {
  if (autopilot_ != nullptr) return AutopilotHolds(*autopilot_, virtualKey) ? kHeld : int16_t{0};
  if (virtualKey < 0 || virtualKey >= kCodes) return 0;
  const bool held = held_[virtualKey] || (source_ != nullptr && source_->Held(virtualKey));
  return held ? kHeld : int16_t{0};
}

}  // namespace pellmora
