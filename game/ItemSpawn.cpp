#include <cmath>

#include "game/Form1.h"
#include "game/Int16.h"

namespace pellmora {

// Every ten seconds of play: draw a kind and a place, always four values in
// this order, and show the item there unless that kind is already on the field.
void Form1::Timer4_Timer() {
  const double r1 = host_.Rnd();
  const double r2 = host_.Rnd();
  const double r3 = host_.Rnd();
  const double r4 = host_.Rnd();
  const auto k = static_cast<int16_t>(std::floor(r1 * 6));
  const auto band = static_cast<int16_t>(std::floor(r2 * 2));
  const auto x = static_cast<int16_t>(std::floor(r3 * 325) + 75);
  const auto y =
      static_cast<int16_t>(band == 1 ? std::floor(r4 * 75) + 50 : std::floor(r4 * 100) + 250);
  if (itemActive[k] == VbFalse) {
    Image6[k].Top = y;
    Image6[k].Left = x;
    Image6[k].Visible = true;
    itemActive[k] = VbTrue;
  }
}

}  // namespace pellmora
