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

}  // namespace pellmora
