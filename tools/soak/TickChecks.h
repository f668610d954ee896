// What must hold after every tick of the game window, whatever the player does.
#pragma once

#include "game/Form1.h"

namespace pellmora {

void CheckTick(const Form1& form, bool titleDone);

}  // namespace pellmora
