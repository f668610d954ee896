#include "scores/SharedHiScores.h"

#include <cerrno>
#include <optional>

#include "scores/ScoreFile.h"

namespace pellmora {

namespace {

constexpr const char* kBackupFileName = "HiScore.dat.bak";

std::string FolderPrefix(const std::string& target) {
  const std::size_t slash = target.rfind('/');
  return slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
}

}  // namespace

std::string FreeBackupName(FileOps& files, const std::string& target) {
  const std::string first = FolderPrefix(target) + kBackupFileName;
  for (int i = 0; i < kBackupNames; ++i) {
    std::string name = i == 0 ? first : first + "." + std::to_string(i);
    if (files.Inspect(name).kind == FileKind::Absent) return name;
  }
  return {};
}

ScoreFileLook SharedHiScores::Look(FileOps& files, HiScoreTable& table, bool atStartUp) {
  ScoreFileLook look;
  look.facts = files.Inspect(kHiScoreFileName);
  if (look.facts.kind == FileKind::Absent) return look;
  if (look.facts.kind != FileKind::Regular) {
    look.status = ScoreFileLook::NotRegular;
    return look;
  }
  std::string bytes;
  look.read = files.ReadAll(look.facts.target, bytes, kMaxScoreFileBytes);
  if (!look.read.Ok()) {
    look.status = ScoreFileLook::Unreadable;
    if (atStartUp) keepDamaged_ = true;  // kept aside once it can be read
    return look;
  }
  if (lastBytes_ && *lastBytes_ == bytes) {
    look.status = ScoreFileLook::Unchanged;
    return look;
  }
  lastBytes_ = std::move(bytes);
  ParsedScoreFile parsed;
  if (lastBytes_->size() <= kMaxScoreFileBytes) parsed = ParseScoreFile(*lastBytes_);
  if (!parsed.ok) {
    look.status =
        lastBytes_->size() > kMaxScoreFileBytes ? ScoreFileLook::TooLarge : ScoreFileLook::Damaged;
    look.failedLine = parsed.failedLine;
    look.backupName = FreeBackupName(files, look.facts.target);
    keepDamaged_ = true;
    return look;
  }
  keepDamaged_ = false;
  for (int i = 0; i < kHiScoreListed; ++i) {
    table.hiScores[i] = parsed.scores[i];
    table.hiNames[i] = std::move(parsed.names[i]);
  }
  for (const Entry& entry : unsaved_) table.PlaceHiScore(entry.score, entry.name);
  look.status = ScoreFileLook::Read;
  return look;
}

ScoreFileLook SharedHiScores::Load(FileOps& files, HiScoreTable& table) {
  return Look(files, table, true);
}

ScoreFileLook SharedHiScores::Refresh(FileOps& files, HiScoreTable& table) {
  return Look(files, table, false);
}

void SharedHiScores::Record(HiScoreTable& table, int16_t score, const std::string& name) {
  table.PlaceHiScore(score, name);
  // Every entry stays until a save has it, also one that fell out of the
  // list: ranked in again in the order played, they give whatever file the
  // next look finds the table the games played in turn there would (an
  // entry tied with the tenth still moves its equals, and a file made worse
  // meanwhile has room again). One entry a game is little to hold.
  unsaved_.push_back({score, name});
}

// Moved, never copied, so that a damaged file of any size is kept, in its
// own folder, and never over anything.
FileResult SharedHiScores::KeepAside(FileOps& files, const ScoreFileLook& look,
                                     std::string& keptAs) {
  keptAs = FreeBackupName(files, look.facts.target);
  if (keptAs.empty()) return {EEXIST, "no free name"};
  return files.MoveToFreeName(look.facts.target, keptAs);
}

ScoreFileSave SharedHiScores::Save(FileOps& files, HiScoreTable& table) {
  ScoreFileSave save;
  // The folder of the file that is replaced: copies that reach one file
  // through links from different folders take turns too. Held for the few
  // milliseconds of the save only, never across a dialog.
  std::optional<FolderLock> lock;
  for (int tries = 1;; ++tries) {
    const std::string folder = files.Inspect(kHiScoreFileName).folder;
    lock.emplace(files, folder);
    if (!lock->Result().Ok()) {
      save.status = ScoreFileSave::Busy;
      save.result = lock->Result();
      return save;
    }
    // A link turned elsewhere meanwhile: lock that folder instead.
    if (tries == 3 || files.Inspect(kHiScoreFileName).folder == folder) break;
    lock.reset();
  }
  save.look = Look(files, table, false);
  save.facts = save.look.facts;
  switch (save.look.status) {
    case ScoreFileLook::Absent:
      save.status = ScoreFileSave::FileGone;
      return save;
    case ScoreFileLook::NotRegular:
      save.status = ScoreFileSave::NotRegular;
      return save;
    case ScoreFileLook::Unreadable:
      save.status = ScoreFileSave::Unreadable;
      save.result = save.look.read;
      return save;
    default:
      break;
  }
  // Under the lock no other save writes here: what is there of ours is left
  // by a copy killed while saving.
  for (const std::string& name : files.Leftovers(save.facts.target + ".tmp.")) files.Remove(name);
  if (!save.facts.writable) {
    save.status = ScoreFileSave::ReadOnly;
    return save;
  }
  if (keepDamaged_) {
    save.result = KeepAside(files, save.look, save.keptAside);
    if (!save.result.Ok()) {
      save.status =
          save.keptAside.empty() ? ScoreFileSave::NoBackupName : ScoreFileSave::BackupFailed;
      return save;
    }
  }
  std::string bytes = FormatScoreFile(table.hiScores, table.hiNames);
  const SaveResult written = SaveAtomically(files, save.facts.target, bytes, save.facts.mode);
  if (written.replaced) {
    lastBytes_ = std::move(bytes);
    unsaved_.clear();
    keepDamaged_ = false;
  } else if (keepDamaged_) {
    // The damaged file goes back, so that the next game over finds a file
    // to save to; it is kept aside again then.
    files.MoveToFreeName(save.keptAside, save.facts.target);
    save.keptAside.clear();
  }
  if (!written.Ok()) {
    save.status =
        written.folderTakesNoFile ? ScoreFileSave::FolderTakesNoFile : ScoreFileSave::Failed;
    save.result = written;
  }
  return save;
}

}  // namespace pellmora
