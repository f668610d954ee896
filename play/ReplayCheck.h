// Re-runs a replay on the virtual clock, with no window, no boxes and no
// files, and compares the game with the checksums it carries.
#pragma once

#include <cstdint>
#include <string>

#include "play/Replay.h"

namespace pellmora {

struct ReplayVerdict {
  enum Status { Ok, Differs, Damaged } status = Damaged;
  int score = 0;            // Ok: the score the game re-ran to
  std::int64_t second = 0;  // Differs: the first second of play whose checksum differs
  std::string problem;      // Damaged: what is wrong with the events
};

ReplayVerdict CheckReplay(const Replay& replay);

}  // namespace pellmora
