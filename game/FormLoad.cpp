#include "game/Form1.h"

namespace pellmora {

void Form1::Form_Load() {
  // Every caption of a game fits this; the tick then never allocates.
  Caption.reserve(64);
  baseSpeedX = 3;
  baseSpeedY = 3;
  host_.Randomize();
  for (auto& name : hiScoreTable.hiNames) name.clear();
  // Also where the name holds something other than a file, to tell the player.
  LoadHiScores();
}

}  // namespace pellmora
