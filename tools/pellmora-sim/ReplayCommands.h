// pellmora-sim's replay commands: writing the last game a script played as a
// replay (--record), and re-running replays to prove their scores (--verify).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "play/PlaySession.h"

namespace pellmora {

// Writes the session's last whole game to `path`; false with `why` when the
// script played none or the file cannot be written.
bool WriteLastGame(const PlaySession& session, const std::string& path, std::string& why);

// One line for each file on `out`: "ok SCORE", or "differs at second N";
// a file that is no readable replay gets one line on `err`. The exit status:
// 0 when all are ok, 2 when any cannot be read, else 1.
int VerifyReplays(const std::vector<std::string>& paths, std::ostream& out, std::ostream& err);

}  // namespace pellmora
