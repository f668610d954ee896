// Paints the game window's client area from its objects' plain members onto
// any Canvas, in one order for every host; and finds the menu button under a
// point, where the buttons are painted too.
#pragma once

#include "host/Form1Controls.h"
#include "play/Canvas.h"

namespace pellmora {

// Back to front: background, title, paddles, ball, banner, items, then the
// visible menu buttons on top. `pressedButton` is 0..2, or -1.
void PaintForm1(const Form1Controls& controls, Canvas& canvas, int pressedButton);

// An item panel keeps its picture's size, 100 x 50, wherever it is placed.
Rect ItemPanelPlace(const ScreenObject& item);

// The visible menu button (0..2) whose rectangle holds the client point, or -1.
int MenuButtonAt(const Form1Controls& controls, float x, float y);

}  // namespace pellmora
