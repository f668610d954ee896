// A save killed at any instant (the killed process, the closed laptop lid)
// leaves the score file holding one whole table: the old one or the new one,
// never a mix and never an empty file. A child process saves two tables in
// turn until the test kills it with SIGKILL after a random delay, many times.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "posix/PosixFileOps.h"
#include "scores/ScoreFile.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

constexpr int kRounds = 200;
constexpr auto kTimeLimit = std::chrono::seconds(8);

// Two full tables that differ on every line, with long names so that a write
// takes a while and a kill often lands inside one.
struct Table {
  int16_t scores[kHiScoreSlots] = {};
  std::string names[kHiScoreSlots];
  std::string bytes;
};

Table MakeTable(char letter, int16_t best, std::size_t nameLength) {
  Table table;
  for (int i = 0; i < kHiScoreListed; ++i) {
    table.scores[i] = static_cast<int16_t>(best - 10 * i);
    table.names[i] = std::string(nameLength, letter) + "山田" + std::to_string(i);
  }
  table.bytes = FormatScoreFile(table.scores, table.names);
  return table;
}

const Table kOld = MakeTable('o', 900, 3000);
const Table kNew = MakeTable('n', 800, 2000);

// One way of saving a table; the child inherits it ready to use.
class Saver {
 public:
  virtual ~Saver() = default;
  virtual void Save(const Table& table) = 0;
};

class SafeSaveSaver final : public Saver {
 public:
  void Save(const Table& table) override { SaveAtomically(files_, kHiScoreFileName, table.bytes); }

 private:
  PosixFileOps files_;
};

// The game's own save at game over, on the simulated host.
class GameOverSaver final : public Saver {
 public:
  GameOverSaver() : host_(out_), game_(host_) { game_.Load(); }
  void Save(const Table& table) override {
    Form1& form = game_.Window();
    for (int k = 0; k < kHiScoreSlots; ++k) {
      form.hiScoreTable.hiScores[k] = table.scores[k];
      form.hiScoreTable.hiNames[k] = table.names[k];
    }
    form.SaveHiScores();
  }

 private:
  std::ostringstream out_;
  SimHost host_;
  SimGame game_;
};

// The temporary files in the working directory: each save makes its own.
int TemporaryFiles() {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    count += entry.path().filename().string().starts_with("HiScore.dat.tmp") ? 1 : 0;
  }
  return count;
}

struct KillRounds {
  int rounds = 0;
  int oldSeen = 0;
  int newSeen = 0;
  int leftoverTemp = 0;
};

// How long one save takes here, so that the kills spread over a few whole
// saves whatever the disk and the build.
double MicrosecondsPerSave(Saver& saver) {
  constexpr int kSaves = 6;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < kSaves; ++i) saver.Save(i % 2 == 0 ? kNew : kOld);
  const auto took = std::chrono::steady_clock::now() - start;
  return std::chrono::duration<double, std::micro>(took).count() / kSaves;
}

[[noreturn]] void SaveForever(Saver& saver, unsigned round, int readyFd) {
  const char go = 1;
  if (::write(readyFd, &go, 1) != 1) _exit(1);
  for (unsigned i = round;; ++i) saver.Save(i % 2 == 0 ? kNew : kOld);
}

// Forks a child that saves the two tables in turn, kills it after a random
// delay from a microsecond up to about four saves, counted from the moment
// the child starts saving, and checks the file after each kill.
KillRounds KillSavesRepeatedly(Saver& saver) {
  KillRounds seen;
  const double longest = std::max(1000.0, 4.0 * MicrosecondsPerSave(saver));
  WriteBytes(kHiScoreFileName, kOld.bytes);
  std::mt19937 random(20240607);
  std::uniform_real_distribution<double> logDelay(0.0, std::log(longest));
  const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
  int temporaryBefore = TemporaryFiles();
  // Past kRounds only while a kind of kill has not been seen yet, so that a
  // loaded machine does not make the test miss what it is looking for.
  const auto enough = [&](unsigned round) {
    return round >= kRounds && seen.oldSeen > 0 && seen.newSeen > 0 && seen.leftoverTemp > 0;
  };
  for (unsigned round = 0; !enough(round) && std::chrono::steady_clock::now() < deadline; ++round) {
    const auto delay = std::chrono::microseconds(static_cast<long>(std::exp(logDelay(random))));
    int ready[2];
    if (::pipe(ready) != 0) {
      ADD_FAILURE() << "pipe failed";
      break;
    }
    const pid_t child = fork();
    if (child < 0) {
      ADD_FAILURE() << "fork failed";
      break;
    }
    if (child == 0) {
      ::close(ready[0]);
      SaveForever(saver, round, ready[1]);
    }
    ::close(ready[1]);
    char go = 0;
    const bool started = ::read(ready[0], &go, 1) == 1;
    ::close(ready[0]);
    if (started) std::this_thread::sleep_for(delay);
    ::kill(child, SIGKILL);
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(started && WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
        << "round " << round << ": the saving child stopped by itself, status " << status;
    ++seen.rounds;

    const std::string now = ReadBytes(kHiScoreFileName);
    if (now == kOld.bytes) {
      ++seen.oldSeen;
    } else if (now == kNew.bytes) {
      ++seen.newSeen;
    } else {
      ADD_FAILURE() << "round " << round << " (killed after " << delay.count()
                    << " us): the file holds " << now.size() << " bytes of neither table";
      break;
    }
    const int temporary = TemporaryFiles();
    if (temporary > temporaryBefore) ++seen.leftoverTemp;
    temporaryBefore = temporary;
  }
  std::cout << "[          ] " << seen.rounds << " kills within " << longest
            << " us of the start: old table " << seen.oldSeen << ", new table " << seen.newSeen
            << ", temporary file left " << seen.leftoverTemp << "\n";
  return seen;
}

void ExpectKillsLandedEverywhere(const KillRounds& seen) {
  EXPECT_GE(seen.rounds, 50) << "too few rounds in the time given";
  // Both tables were on disk at some kill, and some kills cut a save short.
  EXPECT_GT(seen.oldSeen, 0);
  EXPECT_GT(seen.newSeen, 0);
  EXPECT_GT(seen.leftoverTemp, 0);
}

TEST(SaveKill, KilledSafeSaveLeavesOneWholeTable) {
  TempWorkingDir dir;
  SafeSaveSaver saver;
  ExpectKillsLandedEverywhere(KillSavesRepeatedly(saver));

  // Leftover temporary files do not stand in the way of the next save, and
  // a save that runs to its end leaves nothing of its own.
  const int leftovers = TemporaryFiles();
  PosixFileOps files;
  ASSERT_TRUE(SaveAtomically(files, kHiScoreFileName, kNew.bytes).Ok());
  EXPECT_EQ(ReadBytes(kHiScoreFileName), kNew.bytes);
  EXPECT_EQ(TemporaryFiles(), leftovers);
}

TEST(SaveKill, KilledGameOverSaveLeavesOneWholeTable) {
  TempWorkingDir dir;
  WriteBytes(kHiScoreFileName, kOld.bytes);
  GameOverSaver saver;
  ExpectKillsLandedEverywhere(KillSavesRepeatedly(saver));

  // The next game over, under the folder's lock, removes what killed saves
  // left: the table alone is there.
  saver.Save(kNew);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(names, std::vector<std::string>{kHiScoreFileName});
  EXPECT_EQ(ReadBytes(kHiScoreFileName), kNew.bytes);
}

}  // namespace

}  // namespace pellmora
