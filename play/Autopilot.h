// A player who keeps both paddle pairs centred on the ball: the scripts' and
// the benchmarks' autopilot (pellmora-sim's "autopilot on", the page's ?autopilot),
// on the game window's places.
#pragma once

#include "host/Form1Controls.h"

namespace pellmora {

// True when the player would hold the key now: with b the ball's centre and
// c the leading paddle's centre on that axis, down or right when c < b - 2,
// up or left when c > b + 2. Every other key is not held.
bool AutopilotHolds(const Form1Controls& window, int virtualKey);

}  // namespace pellmora
