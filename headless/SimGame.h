// The game window on the simulated host: delivers load, clicks, key-downs
// and timer events to Form1's handlers, one at a time, and none once the
// program has ended.
#pragma once

#include "game/Form1.h"
#include "headless/SimHost.h"

namespace pellmora {

enum class SimButton { Command1, Command2, Command3, Form2Command1 };

class SimGame final : public SimTimerTarget {
 public:
  // Creates Form1 with its design values and puts its timers on the clock.
  explicit SimGame(SimHost& host);
  SimGame(const SimGame&) = delete;
  SimGame& operator=(const SimGame&) = delete;
  ~SimGame() { host_.Detach(); }

  void Load();
  // False when nothing happened: the button is hidden, or its window is not
  // loaded, or the program has ended.
  bool Click(SimButton button);
  void KeyDown(int keyCode);

  Form1& Window() noexcept { return window_; }

  void TimerFired(int timerId) override;

 private:
  SimHost& host_;
  Form1 window_;
};

}  // namespace pellmora
