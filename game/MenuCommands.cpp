#include <string>

#include "game/Form1.h"

namespace pellmora {

// The ranking window: one window only, filled from the table each time; all
// ten names before the first score. An open window is not refreshed by a
// game over, only by this button.
void Form1::Command2_Click() {
  Form2Controls& form2 = host_.ShowForm2();
  for (int i = 0; i < kHiScoreListed; ++i) form2.Text1[i].Text = hiScoreTable.hiNames[i];
  for (int i = 0; i < kHiScoreListed; ++i) form2.Text2[i].Text = std::to_string(hiScoreTable.hiScores[i]);
  host_.Form2Changed();
}

// Quit at once: no question, no save (the table was saved at the last game over).
void Form1::Command3_Click() {
  host_.End();
}

void Form2_Command1_Click(Host& host) {
  host.UnloadForm2();
}

}  // namespace pellmora
