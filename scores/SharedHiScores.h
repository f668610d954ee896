// The table as several copies of the game share it through one score file:
// each copy takes in what the others saved before it asks for a name and
// again, under the folder's lock, before it writes; so every recorded score
// ends up in the file, ranked as if the games had been played in turn.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/FileOps.h"
#include "scores/HiScoreTable.h"

namespace pellmora {

// What a look at the file found.
struct ScoreFileLook {
  enum Status {
    Absent,
    Unchanged,   // as this copy last read or wrote it
    Read,        // taken into the table
    NotRegular,  // a folder, a FIFO, a dangling link...: never read or written
    Unreadable,
    TooLarge,
    Damaged,
  };
  Status status = Absent;
  FileFacts facts;
  FileResult read;
  int failedLine = 0;
  std::string backupName;  // where a damaged file will be kept
};

struct ScoreFileSave {
  enum Status {
    Saved,
    FileGone,  // the file went away: nothing is created
    NotRegular,
    Busy,  // another copy holds the folder
    Unreadable,
    ReadOnly,
    BackupFailed,
    NoBackupName,  // every name a damaged file may be kept under is taken
    FolderTakesNoFile,
    Failed,
  };
  Status status = Saved;
  FileFacts facts;
  FileResult result;
  ScoreFileLook look;     // the look under the lock
  std::string keptAside;  // a damaged file kept under this name by this save
};

class SharedHiScores {
 public:
  // The first look, at start-up: the file's table into slots 0..9.
  ScoreFileLook Load(FileOps& files, HiScoreTable& table);
  // What other copies saved since the last look, into the table, with this
  // copy's own entries that are not saved yet ranked in again.
  ScoreFileLook Refresh(FileOps& files, HiScoreTable& table);
  // A new entry; kept apart too until a save has it in the file.
  void Record(HiScoreTable& table, int16_t score, const std::string& name);
  // Under the folder's lock: a refresh, a damaged file kept aside, the write.
  ScoreFileSave Save(FileOps& files, HiScoreTable& table);

 private:
  struct Entry {
    int16_t score;
    std::string name;
  };

  ScoreFileLook Look(FileOps& files, HiScoreTable& table, bool atStartUp);
  FileResult KeepAside(FileOps& files, const ScoreFileLook& look, std::string& keptAs);

  std::optional<std::string> lastBytes_;  // the file as this copy last read or wrote it
  bool keepDamaged_ = false;              // those bytes are damaged and not kept aside yet
  std::vector<Entry> unsaved_;
};

// How many names a damaged file may be kept under.
constexpr int kBackupNames = 1000;

// The first free name of HiScore.dat.bak, HiScore.dat.bak.1, ... up to
// HiScore.dat.bak.999, in the folder of the file it keeps; empty when
// every one is taken.
std::string FreeBackupName(FileOps& files, const std::string& target);

}  // namespace pellmora
