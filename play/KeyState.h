// What the game reads when it polls a key: the keys the player holds, a game
// pad's arrows, or the autopilot in their place.
#pragma once

#include <cstdint>

#include "host/Form1Controls.h"

namespace pellmora {

// Another source of held keys besides the keyboard (a game pad).
class HeldKeySource {
 public:
  virtual bool Held(int virtualKey) const noexcept = 0;

 protected:
  ~HeldKeySource() = default;
};

class KeyState {
 public:
  static constexpr int kCodes = 256;
  // What a held key reports: the top bit, as Windows does.
  static constexpr int16_t kHeld = INT16_MIN;

  void SetHeld(int virtualKey, bool held) noexcept;
  void ReleaseAll() noexcept;
  void AddSource(const HeldKeySource* source) noexcept { source_ = source; }
  // While on, the autopilot answers for every key; the held keys are kept
  // and count again once it is off.
  void SetAutopilot(const Form1Controls* window) noexcept { autopilot_ = window; }

  int16_t Read(int virtualKey) const noexcept;

  // A replay answers every read from the recording, in order: bit i of
  // `reads` for the i-th read of the event; past `count`, nothing is held.
  void ReplayReads(std::uint32_t reads, int count) noexcept {
    replaying_ = true;
    replayReads_ = reads;
    replayCount_ = count;
    replayNext_ = 0;
  }
  int16_t ReadReplayed() noexcept;
  bool Replaying() const noexcept { return replaying_; }

 private:
  bool held_[kCodes] = {};
  const HeldKeySource* source_ = nullptr;
  const Form1Controls* autopilot_ = nullptr;
  bool replaying_ = false;
  std::uint32_t replayReads_ = 0;
  int replayCount_ = 0;
  int replayNext_ = 0;
};

}  // namespace pellmora
