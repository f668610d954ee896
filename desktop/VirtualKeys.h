// The keys the game can be told about, as the game's virtual-key codes.
#pragma once

namespace pellmora {

namespace virtualkeys {

// The virtual-key code of a Qt key (Qt::Key), or 0 for a key the game is
// never told about: arrows 37..40, Esc 27, A-Z 65..90, 0-9 48..57, Space 32,
// Return 13.
int VirtualKeyOf(int qtKey) noexcept;

// Codes run 0..kCount - 1.
constexpr int kCount = 256;

}  // namespace virtualkeys

}  // namespace pellmora
