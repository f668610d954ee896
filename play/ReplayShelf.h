// The replays kept with the ranking, in a folder beside the score file: one
// file for each rank whose game was recorded, and the last game played. A
// rank's file counts only while its header names that rank's player and
// score, so that a file left by an interrupted keep, or by an entry that
// moved, is never shown for another game. Every file is written beside its
// name and renamed over it under the score folder's lock, never in place.
#pragma once

#include <optional>
#include <string>

#include "host/FileOps.h"
#include "play/Replay.h"
#include "scores/HiScoreTable.h"

namespace pellmora {

constexpr const char* kReplayFolder = "HiScore.replays";

// "HiScore.replays/rank01.pellmora-replay" for rank 1 ... rank10.
std::string RankReplayName(int rank);
std::string LastReplayName();

struct ShelfResult {
  bool ok = true;
  std::string problem;  // what could not be kept, in a sentence
};

// After a game over: keeps `game` as the last game and, while the score
// file ranks an entry of its name and score without a replay, as that
// entry's; removes the files whose entries left the ten.
ShelfResult KeepReplay(FileOps& files, const Replay& game);

// The replay of the entry at `rank` (1..10) of `table`, when one is kept.
std::optional<Replay> ReplayOfRank(FileOps& files, const HiScoreTable& table, int rank);
// The last game played, when one is kept.
std::optional<Replay> LastReplay(FileOps& files);

}  // namespace pellmora
