#include "web/ImportedFiles.h"

#include "game/ScoreFileMessages.h"
#include "play/Replay.h"
#include "play/ReplayShelf.h"

namespace pellmora {

namespace {

constexpr const char* kRefused = "このファイルは取り込みませんでした。";

bool IsReplayName(const std::string& name) {
  if (name == LastReplayName()) return true;
  for (int rank = 1; rank <= kHiScoreListed; ++rank) {
    if (name == RankReplayName(rank)) return true;
  }
  return false;
}

std::string Quoted(const std::string& name) {
  return "「" + name + "」";
}

}  // namespace

std::string ImportProblem(const std::vector<ImportedFile>& imported) {
  int scoreFiles = 0;
  for (const ImportedFile& file : imported) {
    if (file.name == kHiScoreFileName) {
      ++scoreFiles;
      const ParsedScoreFile parsed = ParseScoreFile(file.bytes);
      if (file.bytes.size() > kMaxScoreFileBytes)
        return QuotedScoreFile() + TooLargeProblem() + kRefused;
      if (!parsed.ok)
        return QuotedScoreFile() + UnreadableLineProblem(parsed.failedLine) + kRefused;
    } else if (!IsReplayName(file.name)) {
      return Quoted(file.name) + "はこのゲームのランキングのファイルではありません。" + kRefused;
    } else {
      const ReplayRead read = ReadReplay(file.bytes);
      if (!read.ok) {
        return Quoted(file.name) + "はリプレイとして読めません（" + read.error + "）。" + kRefused;
      }
    }
  }
  if (scoreFiles != 1) {
    return std::string("ファイルに") + QuotedScoreFile() +
           (scoreFiles == 0 ? "がありません。" : "が二つ以上あります。") + kRefused;
  }
  return {};
}

SaveResult StoreImported(FileOps& files, const std::vector<ImportedFile>& imported) {
  const FolderLock lock(files, ".");
  SaveResult saved;
  const FileResult folder = files.MakeFolder(kReplayFolder);
  if (!folder.Ok()) {
    saved.error = folder.error;
    saved.reason = folder.reason;
    return saved;
  }
  // The table last: should a replay not be stored, the old table stays.
  for (int rank = 1; rank <= kHiScoreListed; ++rank) files.Remove(RankReplayName(rank));
  for (const ImportedFile& file : imported) {
    if (file.name == kHiScoreFileName) continue;
    saved = SaveAtomically(files, file.name, file.bytes);
    if (!saved.Ok()) return saved;
  }
  for (const ImportedFile& file : imported) {
    if (file.name == kHiScoreFileName) return SaveAtomically(files, file.name, file.bytes);
  }
  return saved;
}

}  // namespace pellmora
