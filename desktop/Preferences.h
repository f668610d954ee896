// The player's choices of how the game window looks and behaves, kept from
// one start to the next in the per-user settings file.
#pragma once

#include <string>

namespace pellmora {

struct Preferences {
  int scale = 1;            // the window's whole zoom of the field
  bool fullscreen = false;  // on the whole screen
  bool focusPause = true;   // pause play when the window loses the focus
  // The world ranking's address (http or https), empty for none: nothing is
  // ever sent without one.
  std::string rankingServer;
};

namespace settings {

// What the settings file says; a missing or unreadable value keeps its
// default. Needs the application object.
Preferences Load();

// Writes every choice to the settings file.
void Save(const Preferences& preferences);

}  // namespace settings

}  // namespace pellmora
