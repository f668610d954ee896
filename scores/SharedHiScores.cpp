#include "scores/SharedHiScores.h"

#include <cerrno>
#include <optional>

#include "scores/ScoreFile.h"

namespace pellmora {

namespace {

constexpr const char* kBackupFileName = "HiScore.dat.bak";
// Enough for any score file a player could have; a larger one is not copied.
constexpr std::size_t kMaxBackupBytes = 64u << 20;
constexpr int kBackupNames = 100000;

}  // namespace

std::string FreeBackupName(FileOps& files) {
  std::string name = kBackupFileName;
  for (int i = 1; i < kBackupNames && files.Inspect(name).kind != FileKind::Absent; ++i) {
    name = std::string(kBackupFileName) + "." + std::to_string(i);
  }
  return name;
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
    look.backupName = FreeBackupName(files);
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
  unsaved_.push_back({score, name});
  // An entry below the tenth place can no longer be in any table: ten better
  // ones are in the file or here.
  std::erase_if(unsaved_, [&](const Entry& entry) { return entry.score < table.hiScores[9]; });
  if (unsaved_.size() > static_cast<std::size_t>(kHiScoreListed)) unsaved_.erase(unsaved_.begin());
}

FileResult SharedHiScores::KeepAside(FileOps& files, const ScoreFileLook& look,
                                     std::string& keptAs) {
  std::string old = lastBytes_.value_or(std::string());
  if (old.size() > kMaxScoreFileBytes) {
    FileResult read = files.ReadAll(look.facts.target, old, kMaxBackupBytes);
    if (read.Ok() && old.size() > kMaxBackupBytes) read = FileResult{EFBIG, "file too large"};
    if (!read.Ok()) return read;
  }
  keptAs = FreeBackupName(files);
  return SaveAtomically(files, keptAs, old, look.facts.mode);
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
  if (!save.facts.writable) {
    save.status = ScoreFileSave::ReadOnly;
    return save;
  }
  if (keepDamaged_) {
    save.result = KeepAside(files, save.look, save.keptAside);
    if (!save.result.Ok()) {
      save.status = ScoreFileSave::BackupFailed;
      save.keptAside = FreeBackupName(files);
      return save;
    }
    keepDamaged_ = false;
  }
  std::string bytes = FormatScoreFile(table.hiScores, table.hiNames);
  const SaveResult written = SaveAtomically(files, save.facts.target, bytes, save.facts.mode);
  if (written.replaced) {
    lastBytes_ = std::move(bytes);
    unsaved_.clear();
  }
  if (!written.Ok()) {
    save.status =
        written.folderTakesNoFile ? ScoreFileSave::FolderTakesNoFile : ScoreFileSave::Failed;
    save.result = written;
  }
  return save;
}

}  // namespace pellmora
