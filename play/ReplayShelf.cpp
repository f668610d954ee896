#include "play/ReplayShelf.h"

#include <utility>
#include <vector>

#include "scores/ScoreFile.h"

namespace pellmora {

namespace {

const std::string kFolder = kReplayFolder;

std::optional<Replay> ReadKept(FileOps& files, const std::string& name, std::string* bytesOut) {
  if (!files.Exists(name)) return std::nullopt;
  std::string bytes;
  if (!files.ReadAll(name, bytes, kMaxReplayBytes).Ok() || bytes.size() > kMaxReplayBytes) {
    return std::nullopt;
  }
  ReplayRead read = ReadReplay(bytes);
  if (!read.ok) return std::nullopt;
  if (bytesOut != nullptr) *bytesOut = std::move(bytes);
  return std::move(read.replay);
}

// A replay belongs to an entry of its name and score. A free slot has no
// name; a named entry may score 0 or less when the table holds such scores.
bool Belongs(const Replay& replay, int score, const std::string& name) {
  return !name.empty() && replay.score == score && replay.name == name;
}

struct Kept {
  Replay replay;
  std::string bytes;  // as written
  bool taken = false;
};

}  // namespace

std::string RankReplayName(int rank) {
  const std::string number = std::to_string(rank);
  return kFolder + "/rank" + (rank < 10 ? "0" : "") + number + ".pellmora-replay";
}

std::string LastReplayName() {
  return kFolder + "/last.pellmora-replay";
}

ShelfResult KeepReplay(FileOps& files, const Replay& game) {
  ShelfResult result;
  auto fail = [&result](const std::string& what, const FileResult& why) {
    result.ok = false;
    result.problem = what + (why.reason.empty() ? "" : ": " + why.reason);
    return result;
  };
  // The lock the score file's saves take, so that a keep never runs beside
  // another copy's save or keep.
  FolderLock lock(files, files.Inspect(kHiScoreFileName).folder);
  if (!lock.Result().Ok()) return fail("the score folder is busy", lock.Result());
  if (const FileResult made = files.MakeFolder(kFolder); !made.Ok()) {
    return fail("no replay folder beside the score file", made);
  }
  // What copies killed while keeping left behind.
  for (int rank = 0; rank <= kHiScoreListed; ++rank) {
    const std::string target = rank == 0 ? LastReplayName() : RankReplayName(rank);
    for (const std::string& name : files.Leftovers(target + ".tmp.")) files.Remove(name);
  }

  const std::string gameBytes = WriteReplay(game);
  if (const SaveResult saved = SaveAtomically(files, LastReplayName(), gameBytes);
      !saved.replaced) {
    return fail("the last game could not be kept", saved);
  }

  // The entries as the score file ranks them now, this game's among them
  // when it reached the ten.
  std::string tableBytes;
  if (!files.Exists(kHiScoreFileName) ||
      !files.ReadAll(kHiScoreFileName, tableBytes, kMaxScoreFileBytes).Ok()) {
    return result;
  }
  const ParsedScoreFile table = ParseScoreFile(tableBytes);
  if (!table.ok) return result;

  std::vector<Kept> pool;
  std::string current[kHiScoreListed];
  for (int rank = 1; rank <= kHiScoreListed; ++rank) {
    std::string bytes;
    if (auto kept = ReadKept(files, RankReplayName(rank), &bytes)) {
      current[rank - 1] = bytes;
      pool.push_back(Kept{std::move(*kept), std::move(bytes)});
    }
  }
  if (!game.name.empty()) pool.push_back(Kept{game, gameBytes});

  // Each entry takes the replay that was its own, at its rank or moved
  // down with it; this game's only when no older one of the same name and
  // score is left.
  std::string wanted[kHiScoreListed];
  for (int rank = 1; rank <= kHiScoreListed; ++rank) {
    const int score = table.scores[rank - 1];
    const std::string& name = table.names[rank - 1];
    for (Kept& kept : pool) {
      if (!kept.taken && Belongs(kept.replay, score, name)) {
        kept.taken = true;
        wanted[rank - 1] = kept.bytes;
        break;
      }
    }
  }
  // From the tenth up: an entry that moved down is written at its new rank
  // before its old file is replaced, so that no interruption loses it.
  for (int rank = kHiScoreListed; rank >= 1; --rank) {
    const std::string& want = wanted[rank - 1];
    if (want.empty()) {
      // Gone from the ten, or damaged: nothing is shown for it anyway.
      if (!files.Exists(RankReplayName(rank))) continue;
      if (const FileResult removed = files.Remove(RankReplayName(rank)); !removed.Ok()) {
        return fail("a replay that left the ranking could not be removed", removed);
      }
      continue;
    }
    if (want == current[rank - 1]) continue;
    if (const SaveResult saved = SaveAtomically(files, RankReplayName(rank), want);
        !saved.replaced) {
      return fail("a ranked game's replay could not be kept", saved);
    }
  }
  return result;
}

std::optional<Replay> ReplayOfRank(FileOps& files, const HiScoreTable& table, int rank) {
  if (rank < 1 || rank > kHiScoreListed) return std::nullopt;
  const int score = table.hiScores[rank - 1];
  const std::string& name = table.hiNames[rank - 1];
  if (name.empty()) return std::nullopt;
  // Its own rank's file first; another copy may have moved the entry since.
  for (int offset = 0; offset < kHiScoreListed; ++offset) {
    const int other = (rank - 1 + offset) % kHiScoreListed + 1;
    auto kept = ReadKept(files, RankReplayName(other), nullptr);
    if (kept && Belongs(*kept, score, name)) return kept;
  }
  return std::nullopt;
}

std::optional<Replay> LastReplay(FileOps& files) {
  return ReadKept(files, LastReplayName(), nullptr);
}

}  // namespace pellmora
