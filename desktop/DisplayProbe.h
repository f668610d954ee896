// Whether a display answers, asked before Qt is: Qt aborts the program when
// the window system it picks cannot be reached.
#pragma once

#include <string>

namespace pellmora {

namespace displayprobe {

// Empty when a window system Qt will try answers; else one line for the
// player that says what to do.
std::string Problem();

}  // namespace displayprobe

}  // namespace pellmora
