// A copy of the game on the simulated host in the working directory, its
// title over, that ends games at once with chosen scores.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <sstream>
#include <string>

#include "headless/SimGame.h"
#include "headless/SimHost.h"

namespace pellmora {

// Ends a game with the score: the ball is put just past the right paddle's
// line, moving right. False when the game did not start or did not end.
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

struct RunningGame {
  std::ostringstream out;  // what the last game (or the start-up) printed
  SimHost host;
  SimGame game;

  explicit RunningGame(std::uint64_t seed = 1) : host(out, seed), game(host) {
    game.Load();
    host.Wait(1305);
  }
  // Ends a game, answering the name box (if it comes) with the name; true
  // when it came. An answer left unused is the next box's, whatever name
  // the next call passes.
  bool Play(int16_t score, const std::string& name) {
    out.str("");
    if (!answerQueued_) host.QueueAnswer(name);
    answerQueued_ = true;
    EXPECT_TRUE(EndGameWith(host, game, score));
    const bool asked = out.str().find("inputbox ") != std::string::npos;
    if (asked) answerQueued_ = false;
    return asked;
  }
  // The name the ranking window shows at the slot.
  std::string Shown(int slot) {
    game.Click(SimButton::Command2);
    return host.Form2() != nullptr ? host.Form2()->Text1[slot].Text : "<no window>";
  }

 private:
  bool answerQueued_ = false;
};

}  // namespace pellmora
