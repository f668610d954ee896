#include <cmath>

#include "game/Form1.h"
#include "game/Int16.h"

namespace pellmora {

namespace {

// Int(Rnd * n): the floor, a whole number 0..n-1.
int16_t RandomBelow(Host& host, int n) {
  return static_cast<int16_t>(std::floor(host.Rnd() * n));
}

}  // namespace

// The start button: fresh score and start lengths, menu away, field up,
// timers on, and the ball thrown in from a random corner.
void Form1::Command1_Click() {
  score = 0;
  Image1.Height = kStartPaddleHeight;
  Image2.Height = Image1.Height;
  Image3.Width = kStartPaddleWidth;
  Image4.Width = Image3.Width;
  Label1.Visible = false;
  Image1.Visible = true;
  Image2.Visible = true;
  Image3.Visible = true;
  Image4.Visible = true;
  Image5.Visible = true;
  Command1.Visible = false;
  Command2.Visible = false;
  Command3.Visible = false;
  Timer2.SetEnabled(true);
  Timer4.SetEnabled(true);

  const int16_t corner = RandomBelow(host_, 4);
  const int16_t offset = RandomBelow(host_, 64);
  // The offset moves the ball along its corner's diagonal towards the middle.
  switch (corner) {
    case 0:  // top left
      Image5.Left = static_cast<float>(64 + offset);
      Image5.Top = static_cast<float>(64 + offset);
      ballDX = 3;
      ballDY = 3;
      break;
    case 1:  // top right
      Image5.Left = static_cast<float>(560 - offset);
      Image5.Top = static_cast<float>(64 + offset);
      ballDX = -3;
      ballDY = 3;
      break;
    case 2:  // bottom right
      Image5.Left = static_cast<float>(560 - offset);
      Image5.Top = static_cast<float>(420 - offset);
      ballDX = -3;
      ballDY = -3;
      break;
    default:  // bottom left
      Image5.Left = static_cast<float>(64 + offset);
      Image5.Top = static_cast<float>(420 - offset);
      ballDX = 3;
      ballDY = -3;
      break;
  }
  playing = VbTrue;
}

}  // namespace pellmora
