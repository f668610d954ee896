// The game's command line. It is read before any window system is asked
// for, so that --help and --version answer without a display.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "desktop/Preferences.h"

namespace pellmora {

namespace commandline {

// What the player asked for on the command line, where they asked at all.
struct Choices {
  std::optional<int> scale;
  std::optional<bool> fullscreen;
  std::optional<bool> focusPause;
  std::optional<std::string> rankingServer;  // a checked address
};

struct Outcome {
  bool startGame = true;
  int exitCode = 0;    // when the game is not started
  std::string output;  // for the standard output: the help or the version
  std::string error;   // one line for the standard error
  Choices choices;
  // A replay to play at start-up (--watch FILE, or FILE alone); empty for
  // none.
  std::string watch;
};

// Reads the arguments after the program's name.
Outcome Parse(const std::vector<std::string>& arguments);

// Where the replay `file` is: a relative name is taken from `startDir`, the
// folder the pellmora command was started in (its launcher moves into the
// score folder before the game starts), when that is given.
std::string ReplayFileFrom(const std::string& file, const char* startDir);

// The stored choices with the command line's put over them for this run.
Preferences ForThisRun(Preferences stored, const Choices& choices);

// What of the command line the settings file keeps: the focus pause and the
// world ranking's address, which no key in the game changes. Zoom and whole screen stay for this
// run only; the keys that change them while playing are what is kept.
Preferences ToRemember(Preferences stored, const Choices& choices);

}  // namespace commandline

}  // namespace pellmora
