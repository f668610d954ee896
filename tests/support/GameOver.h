// Ends a game on the simulated host at once with a chosen score: the ball
// is put just past the right paddle's line, moving right.
#pragma once

#include <cstdint>

#include "headless/SimGame.h"
#include "headless/SimHost.h"

namespace pellmora {

// False when the game did not start or did not end.
inline bool EndGameWith(SimHost& host, SimGame& game, int16_t score) {
  host.QueueRnd(0);
  host.QueueRnd(0);
  if (!game.Click(SimButton::Command1)) return false;
  Form1& form = game.Window();
  form.score = score;
  form.Image2.Top = 300;
  form.ballDX = 3;
  form.ballDY = 0;
  form.Image5.Left = 617;
  form.Image5.Top = 100;
  host.Wait(10);
  return form.playing == 0;
}

}  // namespace pellmora
