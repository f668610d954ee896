// Where a game pad's buttons go: Start and Back as Esc and A as Enter to the
// window in front, the D-pad walking the buttons outside play. The arrows
// themselves are read as held keys by the play session.
#pragma once

#include <functional>

class QWidget;

namespace pellmora {

class Gamepad;

// `gameWindow` takes what no other window of the game does; `inPlay` says
// whether a game is under way (the D-pad then only moves the paddles);
// `ended` whether the program has ended.
void RouteGamepad(Gamepad& pad, QWidget& gameWindow, std::function<bool()> inPlay,
                  std::function<bool()> ended);

}  // namespace pellmora
