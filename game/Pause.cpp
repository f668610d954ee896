#include "game/Form1.h"
#include "game/Int16.h"

namespace pellmora {

// Esc during play stops the tick and the item timer and slides the banner up
// from below; a second Esc, once the banner is above 300, sends it back down,
// and play resumes on the slide tick that brings it to 480.
void Form1::Form_KeyDown(int keyCode) {
  if (playing != VbTrue || keyCode != vbKeyEscape) return;
  if (Timer2.Enabled()) {
    Timer4.SetEnabled(false);
    Timer2.SetEnabled(false);
    Label2.Visible = true;
    Label2.Top = 480;
    pausing = VbTrue;
    Timer3.SetEnabled(true);
  } else if (Label2.Top < 300) {
    pausing = VbFalse;
    Timer3.SetEnabled(true);
  }
}

// The banner moves 15 pixels a tick, so it only takes the places 480 - 15k:
// going up it stops at 150, the first place at or below 152.
void Form1::Timer3_Timer() {
  if (pausing == VbTrue) {
    if (Label2.Top > 152) Label2.Top = Label2.Top - 15;
    if (Label2.Top <= 152) Timer3.SetEnabled(false);
  } else {
    if (Label2.Top < 480) Label2.Top = Label2.Top + 15;
    if (Label2.Top >= 480) {
      Timer2.SetEnabled(true);
      Timer4.SetEnabled(true);
      Label2.Visible = false;
      Timer3.SetEnabled(false);
    }
  }
}

}  // namespace pellmora
