#include "game/Form1.h"

namespace pellmora {

// The title drops in, hops twice and settles at Top 80. Each phase reads Top
// again after its move. Phase 2 leaves the label at 83 on purpose: the second
// hop starts from there, while phases 0 and 4 put it back to 80.
void Form1::Timer1_Timer() {
  switch (titlePhase) {
    case 0:
      Label1.Top = Label1.Top + 5;
      if (Label1.Top > 80) {
        Label1.Top = 80;
        titlePhase = 1;
      }
      break;
    case 1:
      Label1.Top = Label1.Top - 3;
      if (Label1.Top < 40) titlePhase = 2;
      break;
    case 2:
      Label1.Top = Label1.Top + 3;
      if (Label1.Top > 80) titlePhase = 3;
      break;
    case 3:
      Label1.Top = Label1.Top - 2;
      if (Label1.Top < 60) titlePhase = 4;
      break;
    case 4:
      Label1.Top = Label1.Top + 2;
      if (Label1.Top > 80) {
        Label1.Top = 80;
        titlePhase = 5;
      }
      break;
    case 5:
      Timer1.SetEnabled(false);
      Command1.Visible = true;
      Command2.Visible = true;
      Command3.Visible = true;
      break;
    default:
      break;
  }
}

}  // namespace pellmora
