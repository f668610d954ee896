// Plays the game on the simulated host for a given number of 10 ms ticks:
// autopilot games one after another with names typed at each new high score,
// pauses now and then, the ranking window between games, and now and then a
// fresh start of the program on the file the last one wrote (or on a fresh or
// damaged file). Checks the game's invariants after every tick and the table,
// the file and the memory in use after every game.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "tools/soak/PlayerAnswers.h"
#include "tools/soak/TableChecks.h"

namespace pellmora {

struct SoakTotals {
  std::int64_t ticks = 0;
  std::int64_t games = 0;
  std::int64_t starts = 0;  // program starts, the first included
  std::int64_t nameEntries = 0;
  std::int64_t pauses = 0;
  std::int64_t rankingViews = 0;
  long residentGrowthKiB = 0;     // largest rise after the warm-up
  long long heapGrowthBytes = 0;  // likewise
};

class SoakRun {
 public:
  SoakRun(std::int64_t ticks, std::uint64_t seed);
  ~SoakRun();
  SoakRun(const SoakRun&) = delete;
  SoakRun& operator=(const SoakRun&) = delete;

  // Throws SoakFailure at the first broken invariant.
  SoakTotals Run();

  // Where the run stands, for a failure message.
  std::string Where() const;

 private:
  enum class Opening { Reload, FreshTable, DamagedFile };
  struct Session;

  void Start(Opening opening);
  void Tick();
  void PlayOneGame();
  void PauseAndResume();
  void OpenRanking();
  void CloseRanking();
  void CheckGameOver(const std::vector<TableEntry>& before, int tenth);
  void SampleMemory();
  Form1& Window();

  const std::int64_t targetTicks_;
  const std::uint64_t seed_;
  std::mt19937_64 random_;
  std::string workDir_;
  std::unique_ptr<Session> session_;
  SoakTotals totals_;

  PlayerAnswer queuedAnswer_;
  bool answerQueued_ = false;
  bool rankingOpenDuringGame_ = false;
  std::string damagedFile_;  // kept aside at the first save after a damaged start
  std::int64_t gamesInSession_ = 0;

  bool memoryBaselineTaken_ = false;
  long baselineResidentKiB_ = 0;
  long long baselineHeapBytes_ = 0;
};

}  // namespace pellmora
