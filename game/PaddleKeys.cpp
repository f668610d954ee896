#include "game/Form1.h"

namespace pellmora {

// Polled once per tick. Image1 leads the upright pair and Image3 the flat
// pair; the follower copies the leader. A limit holds only on the side the
// key moves towards, so a pair an item lengthened past its lower or right
// limit stays there until down or right is pressed.
void Form1::PaddleKeys() {
  if (host_.GetAsyncKeyState(vbKeyUp) != 0) {
    Image1.Top = Image1.Top - 5;
    if (Image1.Top < 0) Image1.Top = 0;
    Image2.Top = Image1.Top;
  }
  if (host_.GetAsyncKeyState(vbKeyDown) != 0) {
    Image1.Top = Image1.Top + 5;
    const float lowerEnd = Image1.Top + Image1.Height;
    if (lowerEnd > 470) Image1.Top = 470 - Image1.Height;
    Image2.Top = Image1.Top;
  }
  if (host_.GetAsyncKeyState(vbKeyLeft) != 0) {
    Image3.Left = Image3.Left - 5;
    if (Image3.Left < 0) Image3.Left = 0;
    Image4.Left = Image3.Left;
  }
  if (host_.GetAsyncKeyState(vbKeyRight) != 0) {
    Image3.Left = Image3.Left + 5;
    const float rightEnd = Image3.Left + Image3.Width;
    if (rightEnd > 630) Image3.Left = 630 - Image3.Width;
    Image4.Left = Image3.Left;
  }
}

}  // namespace pellmora
