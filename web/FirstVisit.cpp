#include "web/FirstVisit.h"

#include <cstdint>
#include <string>

#include "scores/ScoreFile.h"

namespace pellmora {

FileResult PutEmptyTableIfMissing(FileOps& files) {
  if (files.Exists(kHiScoreFileName)) return {};
  const int16_t scores[10] = {};
  const std::string names[10];
  return SaveAtomically(files, kHiScoreFileName, FormatScoreFile(scores, names));
}

}  // namespace pellmora
