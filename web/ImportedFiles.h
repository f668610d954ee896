// A ranking brought into the browser: a HiScore.dat alone, or an archive of
// it with its replays. Every file is checked before anything is stored, so
// that a bad one leaves the stored ranking as it was.
#pragma once

#include <string>
#include <vector>

#include "host/FileOps.h"
#include "scores/ScoreFile.h"

namespace pellmora {

struct ImportedFile {
  std::string name;  // as in the score folder: HiScore.dat, HiScore.replays/rank01...
  std::string bytes;
};

// What is wrong with the files, as a message for the player; empty when
// they can be stored.
std::string ImportProblem(const std::vector<ImportedFile>& imported);

// Stores checked files under the folder's lock, each written beside its
// name and renamed over it. The ranks' replays are those of the import: a
// kept one the import lacks belonged to the table it replaces and goes.
SaveResult StoreImported(FileOps& files, const std::vector<ImportedFile>& imported);

}  // namespace pellmora
