#include "game/Form1.h"
#include "game/Int16.h"

namespace pellmora {

// The last step of every tick, the game-over tick included: an item is taken
// when the ball's top-left corner lies inside its rectangle, edges included.
void Form1::ItemStep() {
  for (int k = 0; k < 6; ++k) {
    if (itemActive[k] != VbTrue) continue;
    const ScreenObject& item = Image6[k];
    const float bottom = item.Top + item.Height;
    if (!(item.Top <= Image5.Top && Image5.Top <= bottom)) continue;
    const float right = item.Left + item.Width;
    if (!(item.Left <= Image5.Left && Image5.Left <= right)) continue;
    ApplyItem(k);
    itemActive[k] = VbFalse;
    Image6[k].Visible = false;
  }
}

namespace {

// One pixel per tick faster in the present direction; a step of 0 counts as
// negative. Saturates at the 16-bit limit.
int16_t Faster(int16_t step) {
  return step > 0 ? Add16(step, 1) : Add16(step, -1);
}

}  // namespace

void Form1::ApplyItem(int k) {
  switch (k) {
    case Reset:
      ballDX = ballDX > 0 ? baseSpeedX : Neg16(baseSpeedX);
      ballDY = ballDY > 0 ? baseSpeedY : Neg16(baseSpeedY);
      Image1.Height = kStartPaddleHeight;
      Image2.Height = Image1.Height;
      Image3.Width = kStartPaddleWidth;
      Image4.Width = Image3.Width;
      break;
    case SpeedUpBoth:
      ballDY = Faster(ballDY);
      ballDX = Faster(ballDX);
      break;
    case SpeedUpX:
      ballDX = Faster(ballDX);
      break;
    case SpeedUpY:
      ballDY = Faster(ballDY);
      break;
    case LongHorizontal:  // grows to the right, keeping Left
      Image3.Width = Image3.Width + 20;
      Image4.Width = Image3.Width;
      break;
    case LongVertical:  // grows downwards, keeping Top
      Image1.Height = Image1.Height + 20;
      Image2.Height = Image1.Height;
      break;
    default:
      break;
  }
}

}  // namespace pellmora
