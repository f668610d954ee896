#include <string>

#include "game/Form1.h"
#include "game/Int16.h"

namespace pellmora {

// The ball is lost: stop play, offer the score to the ranking when the score
// file is there, tell the player the score and bring the menu back. The field
// stays as it was until the next start.
void Form1::EndGame() {
  // A ball past two miss lines in one corner reaches here twice in a tick;
  // the game ends once (one name prompt, one message box).
  if (playing == VbFalse) return;
  playing = VbFalse;
  Timer2.SetEnabled(false);
  Timer4.SetEnabled(false);
  if (host_.Files().Exists(kHiScoreFileName)) RecordHiScore();
  host_.MsgBox("あなたの得点は" + std::to_string(score) + "点でした。", "ゲームオーバー");
  Command1.Visible = true;
  Command2.Visible = true;
  Command3.Visible = true;
}

}  // namespace pellmora
