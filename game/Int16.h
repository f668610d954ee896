// The game's numbers are 16-bit signed. Where a sum would leave that range
// the game saturates at the limit instead of stopping.
#pragma once

#include <cstdint>

namespace pellmora {

constexpr int16_t kInt16Min = -32768;
constexpr int16_t kInt16Max = 32767;

// 16-bit booleans of the game's flags.
constexpr int16_t VbTrue = -1;
constexpr int16_t VbFalse = 0;

constexpr int16_t Saturate16(int32_t value) noexcept {
  return value > kInt16Max ? kInt16Max
                           : (value < kInt16Min ? kInt16Min : static_cast<int16_t>(value));
}

constexpr int16_t Add16(int16_t a, int32_t b) noexcept {
  return Saturate16(static_cast<int32_t>(a) + b);
}

constexpr int16_t Neg16(int16_t a) noexcept {
  return Saturate16(-static_cast<int32_t>(a));
}

}  // namespace pellmora
