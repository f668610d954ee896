#include "game/Form1.h"

namespace pellmora {

// At game over, with the score file present: the table other copies saved
// is taken in first; a score that beats tenth place then asks for a name and
// takes the first free slot (the spare slot 10 when the list is full), the
// table is sorted and its lowest entry dropped, and the file is written every
// time, also when nothing changed. The name is held as the file will give it
// back, so the ranking reads the same after a restart.
void Form1::RecordHiScore() {
  RefreshHiScores();
  if (hiScoreTable.hiScores[9] < score) {
    const std::string answer = host_.InputBox("名前を入力してください。", "スコア更新");
    const std::string name = answer.empty() ? std::string("名無し") : NameAsStored(answer);
    scoreFile.Record(hiScoreTable, score, name);
  }
  SaveHiScores();
}

}  // namespace pellmora
