// The game window on the headless host: its play session on the virtual
// clock, seeded with the host's seed. Load, clicks, key-downs and timer
// events reach Form1's handlers one at a time, and none once the program has
// ended.
#pragma once

#include "game/Form1.h"
#include "headless/SimHost.h"
#include "play/PlaySession.h"

namespace pellmora {

enum class SimButton { Command1, Command2, Command3, Form2Command1 };

class SimGame final {
 public:
  explicit SimGame(SimHost& host);
  SimGame(const SimGame&) = delete;
  SimGame& operator=(const SimGame&) = delete;
  ~SimGame() { host_.session_ = nullptr; }

  void Load() { session_.Load(); }
  // False when nothing happened: the button is hidden, or its window is not
  // loaded, or the program has ended.
  bool Click(SimButton button);
  // One key-down event; whether the key is held is the script's to say.
  void KeyDown(int keyCode) { session_.KeyDown(keyCode, false); }

  Form1& Window() noexcept { return session_.Game(); }
  PlaySession& Session() noexcept { return session_; }

 private:
  SimHost& host_;
  PlaySession session_;
};

}  // namespace pellmora
