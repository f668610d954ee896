// Paints the game window's client area from its objects' plain members, in
// the desktop window's order, onto any Canvas; and finds the menu button
// under a point, since the buttons are painted too.
#pragma once

#include "host/Form1Controls.h"
#include "web/Canvas.h"

namespace pellmora {

// Back to front: background, title, paddles, ball, banner, items, then the
// visible menu buttons on top. `pressedButton` is 0..2, or -1.
void PaintForm1(const Form1Controls& controls, Canvas& canvas, int pressedButton);

// The visible menu button (0..2) whose rectangle holds the client point, or -1.
int MenuButtonAt(const Form1Controls& controls, float x, float y);

}  // namespace pellmora
