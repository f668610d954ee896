// The keys the game can be told about, as the game's virtual-key codes.
#pragma once

namespace pellmora {

namespace virtualkeys {

// The virtual-key code of a Qt key (Qt::Key), or 0 for a key the game is
// never told about: only the keys the game reads have one, the arrows 37..40
// and Esc 27. Every other key would reach Form_KeyDown only to be ignored.
int VirtualKeyOf(int qtKey) noexcept;

// Codes run 0..kCount - 1.
constexpr int kCount = 256;

}  // namespace virtualkeys

}  // namespace pellmora
