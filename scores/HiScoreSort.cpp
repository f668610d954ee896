#include <utility>

#include "scores/HiScoreTable.h"

namespace pellmora {

void HiScoreTable::SortHiScores() {
  for (int i = 0; i <= 9; ++i) {
    for (int j = i + 1; j <= 10; ++j) {
      if (hiScores[i] < hiScores[j]) {
        std::swap(hiScores[i], hiScores[j]);
        std::swap(hiNames[i], hiNames[j]);
      }
    }
  }
}

void HiScoreTable::PlaceHiScore(int16_t score, const std::string& name) {
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

}  // namespace pellmora
