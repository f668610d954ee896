// The game window's own variables: the title and play fields, the score, the
// item flags, and the high-score table. Numbers are 16-bit signed; flags are
// 16-bit booleans (True = -1).
#pragma once

#include <cstdint>

#include "scores/HiScoreTable.h"

namespace pellmora {

struct GameState {
  int16_t titlePhase = 0;  // phase 0..5 of the title bounce
  int16_t pausing = 0;     // True while the banner goes up or rests
  int16_t playing = 0;     // True from a game start until the ball is lost
  int16_t ballDX = 0;      // ball step per tick, positive = right
  int16_t ballDY = 0;      // ball step per tick, positive = down
  int16_t baseSpeedX = 0;  // speeds the RESET item restores
  int16_t baseSpeedY = 0;
  int16_t ballCenterX = 0;  // refreshed by the guards before their cover test
  int16_t ballCenterY = 0;
  int16_t score = 0;
  int16_t itemActive[6] = {};  // True while item k is on the field
  HiScoreTable hiScoreTable;   // hiScores, hiNames: the ten best and a spare slot
};

}  // namespace pellmora
