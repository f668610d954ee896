#include "game/Form1.h"
#include "scores/ShiftJis.h"

namespace pellmora {

// At game over, with the score file present: a score that beats tenth place
// asks for a name and takes the first free slot (the spare slot 10 when the
// list is full), the table is sorted and its lowest entry dropped, and the
// file is written every time, also when nothing changed.
void Form1::RecordHiScore() {
  if (hiScores[9] < score) {
    const std::string answer = host_.InputBox("名前を入力してください。", "スコア更新");
    const std::string name = answer.empty() ? std::string("名無し") : CleanTypedName(answer);
    for (int i = 0; i < kHiScoreSlots; ++i) {
      if (hiScores[i] == 0) {
        hiScores[i] = score;
        hiNames[i] = name;
        break;
      }
    }
    SortHiScores();
    hiScores[10] = 0;
  }
  SaveHiScores();
}

}  // namespace pellmora
