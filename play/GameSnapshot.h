// The game's state as a replay keeps it: everything the handlers read that a
// game start does not set afresh (items left on the field, the banner's
// place, the base speeds, the timers), and a checksum of it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "game/Form1.h"

namespace pellmora {

struct GameSnapshot {
  // The window's numbers, its objects' places and the timers, in one order.
  static constexpr std::size_t kBytes = 16 * 2 + 16 * 17 + 4;
  std::uint8_t bytes[kBytes] = {};

  static GameSnapshot Of(const Form1& game) noexcept;
  // Puts the state into a window; its timers are switched as a handler
  // would switch them.
  void RestoreInto(Form1& game) const;
  std::uint32_t Checksum() const noexcept;
};

}  // namespace pellmora
