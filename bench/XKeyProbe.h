// The X server's side of the key-to-screen benchmark, apart from Qt, whose
// headers and Xlib's do not mix.
#pragma once

#include <atomic>
#include <vector>

namespace pellmora {

struct LatencyResults {
  std::vector<double> latencies;  // milliseconds, one per press seen on screen
  int missed = 0;                 // presses the screen never showed
};

// Focuses `window` (an X window id) and presses an arrow `presses` times
// through XTEST, each time until the left paddle's top, read down pixel
// column `column` of the window's `height` rows, shows it moved. Runs in its
// own thread with its own connection; sets `done` at the end.
void PressAndWatch(const char* displayName, unsigned long window, int column, int height,
                   int presses, LatencyResults& results, std::atomic<bool>& done);

}  // namespace pellmora
