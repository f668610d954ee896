// The shared table's own rules: where a damaged file is kept, the size that
// is still read, and entries a failed save keeps for later.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "posix/PosixFileOps.h"
#include "scores/ScoreFile.h"
#include "scores/SharedHiScores.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

std::string TableOf(int score) {
  std::string out;
  for (int i = 0; i < 10; ++i) out += (i ? "," : "") + std::to_string(score);
  out += "\r\n";
  for (int i = 0; i < 10; ++i) out += "x\r\n";
  return out;
}

TEST(SharedHiScores, DamagedFileIsKeptInItsOwnFolder) {
  TempWorkingDir dir;
  PosixFileOps files;
  std::filesystem::create_directory("sub");
  EXPECT_EQ(FreeBackupName(files, "table.dat"), "HiScore.dat.bak");
  EXPECT_EQ(FreeBackupName(files, "sub/table.dat"), "sub/HiScore.dat.bak");
  WriteBytes("sub/HiScore.dat.bak", "old");
  EXPECT_EQ(FreeBackupName(files, "sub/table.dat"), "sub/HiScore.dat.bak.1");
}

// 1 MiB is still read: a name too long on line 2 is told by its line.
TEST(SharedHiScores, FileOfExactlyTheLimitIsReadAndToldByItsLine) {
  TempWorkingDir dir;
  PosixFileOps files;
  const std::string head = "0,0,0,0,0,0,0,0,0,0\r\n";
  WriteBytes(kHiScoreFileName, head + std::string(kMaxScoreFileBytes - head.size(), 'x'));
  SharedHiScores shared;
  HiScoreTable table;
  const ScoreFileLook look = shared.Load(files, table);
  EXPECT_EQ(look.status, ScoreFileLook::Damaged);
  EXPECT_EQ(look.failedLine, 2);
}

// Entries no save has written yet are ranked again into what another copy
// saved: the best one too, however many followed it.
TEST(SharedHiScores, UnsavedEntriesSurviveAnotherCopysSave) {
  TempWorkingDir dir;
  PosixFileOps files;
  WriteBytes(kHiScoreFileName, TableOf(10));
  SharedHiScores shared;
  HiScoreTable table;
  shared.Load(files, table);
  shared.Record(table, 1000, "best");
  for (int score = 101; score <= 110; ++score) shared.Record(table, static_cast<int16_t>(score), "n");
  WriteBytes(kHiScoreFileName, TableOf(20));
  EXPECT_EQ(shared.Refresh(files, table).status, ScoreFileLook::Read);
  const int16_t expected[10] = {1000, 110, 109, 108, 107, 106, 105, 104, 103, 102};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(table.hiScores[i], expected[i]) << i;
  EXPECT_EQ(table.hiNames[0], "best");
}

// Entries no save has written yet, ranked into whatever file the next look
// finds, stand as the games played in turn there: ten tied and one above
// them (the first of the ten fell out of this copy's list, yet it still moves
// its equals), then, under better games saved by another copy, one more, and
// the file emptied: the games that fell below all come back.
TEST(SharedHiScores, UnsavedEntriesRankAsPlayedInTurn) {
  TempWorkingDir dir;
  PosixFileOps files;
  WriteBytes(kHiScoreFileName, TableOf(1));
  SharedHiScores shared;
  HiScoreTable table;
  shared.Load(files, table);
  std::vector<std::pair<int16_t, std::string>> played;
  auto play = [&](int16_t score, const std::string& name) {
    ASSERT_LT(table.hiScores[9], score) << name;
    shared.Record(table, score, name);
    played.emplace_back(score, name);
  };
  auto expectInTurnOn = [&](int base) {
    WriteBytes(kHiScoreFileName, TableOf(base));
    ASSERT_EQ(shared.Refresh(files, table).status, ScoreFileLook::Read);
    HiScoreTable inTurn;
    for (int i = 0; i < 10; ++i) {
      inTurn.hiScores[i] = static_cast<int16_t>(base);
      inTurn.hiNames[i] = "x";
    }
    for (const auto& [score, name] : played) inTurn.PlaceHiScore(score, name);
    for (int i = 0; i < 10; ++i) {
      EXPECT_EQ(table.hiScores[i], inTurn.hiScores[i]) << base << " " << i;
      EXPECT_EQ(table.hiNames[i], inTurn.hiNames[i]) << base << " " << i;
    }
  };
  for (char name = 'A'; name <= 'J'; ++name) play(5, std::string(1, name));
  play(6, "K");
  expectInTurnOn(2);
  expectInTurnOn(100);
  play(101, "L");
  expectInTurnOn(0);
}

// A damaged file is kept aside once: the next save replaces the good file.
TEST(SharedHiScores, RepairedFileIsNotKeptAsideAgain) {
  TempWorkingDir dir;
  PosixFileOps files;
  WriteBytes(kHiScoreFileName, "damaged");
  SharedHiScores shared;
  HiScoreTable table;
  shared.Load(files, table);
  EXPECT_EQ(shared.Save(files, table).keptAside, "HiScore.dat.bak");
  shared.Record(table, 5, "Aoi");
  EXPECT_EQ(shared.Save(files, table).keptAside, "");
  EXPECT_FALSE(std::filesystem::exists("HiScore.dat.bak.1"));
  EXPECT_EQ(ReadBytes("HiScore.dat.bak"), "damaged");
}

// The score file's folder as a link turned elsewhere at every look shows it,
// or as it stays; the folders locked, in order.
struct TurningLink final : PosixFileOps {
  bool turning = true;
  int looks = 0;
  std::vector<std::string> locked;
  FileFacts Inspect(const std::string& name) override {
    FileFacts facts = PosixFileOps::Inspect(name);
    if (turning) facts.folder = "f" + std::to_string(++looks);
    return facts;
  }
  FileResult LockFolder(const std::string& folder) override {
    locked.push_back(folder);
    return PosixFileOps::LockFolder(".");
  }
};

// A save locks the folder the file is in; a link turned elsewhere meanwhile
// has that folder locked instead, three tries at most.
TEST(SharedHiScores, SaveLocksTheFolderALinkTurnedTo) {
  TempWorkingDir dir;
  WriteBytes(kHiScoreFileName, TableOf(10));
  TurningLink files;
  SharedHiScores shared;
  HiScoreTable table;
  shared.Load(files, table);
  files.looks = 0;
  shared.Save(files, table);
  EXPECT_EQ(files.locked, (std::vector<std::string>{"f1", "f3", "f5"}));
  files.turning = false;
  files.locked.clear();
  shared.Save(files, table);
  PosixFileOps plain;
  EXPECT_EQ(files.locked, (std::vector<std::string>{plain.Inspect(kHiScoreFileName).folder}));
}

}  // namespace

}  // namespace pellmora
