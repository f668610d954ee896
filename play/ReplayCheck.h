// Re-runs a replay on the virtual clock, with no window, no boxes and no
// files, and compares the game with the checksums it carries.
#pragma once

#include <cstdint>
#include <functional>
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

// As above, asking inTime() once a second of play: when it says no, the
// check stops as Damaged with `problem` "took too long". A server bounds
// the work a stranger's file can cost it this way.
ReplayVerdict CheckReplay(const Replay& replay, const std::function<bool()>& inTime);

}  // namespace pellmora
