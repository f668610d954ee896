// The score file after a hostile week of play: a damaged file too large to
// copy, every backup name taken, the folder removed during the name box.
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <vector>

#include "scores/SharedHiScores.h"
#include "tests/support/RunningGame.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

namespace fs = std::filesystem;

const std::string kDamaged = "90,0,0\nAoi\n";
const std::string kAoi = "90,0,0,0,0,0,0,0,0,0\r\nAoi\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";

bool Says(const RunningGame& copy, const std::string& words) {
  return copy.out.str().find(words) != std::string::npos;
}

TEST(ScoreFileMishaps, HugeDamagedFileIsMovedAsideAndTheSaveSucceeds) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kDamaged);
  fs::resize_file("HiScore.dat", 100u << 20);  // sparse: no disk used
  struct stat damaged {
  }, kept{};
  ::stat("HiScore.dat", &damaged);
  RunningGame copy;
  EXPECT_TRUE(Says(copy, "「HiScore.dat.bak」として残します")) << copy.out.str();
  ASSERT_TRUE(copy.Play(50, "Mio"));
  ::stat("HiScore.dat.bak", &kept);
  EXPECT_EQ(kept.st_ino, damaged.st_ino);  // the same file, not a copy
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "50,0,0,0,0,0,0,0,0,0\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

// A name that holds no file is told once, not also as a damaged file.
TEST(ScoreFileMishaps, FolderUnderTheNameIsToldOnce) {
  TempWorkingDir dir;
  fs::create_directory("HiScore.dat");
  RunningGame copy;
  const std::string told = copy.out.str();
  EXPECT_TRUE(Says(copy, "「HiScore.dat」はフォルダーです")) << told;
  EXPECT_EQ(told.find("msgbox"), told.rfind("msgbox")) << told;
}

TEST(ScoreFileMishaps, NoFreeBackupNameLeavesTheDamagedFileAndSays) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat.bak", "first");
  for (int i = 1; i < kBackupNames - 1; ++i) WriteBytes("HiScore.dat.bak." + std::to_string(i), "");
  const std::string last = "HiScore.dat.bak." + std::to_string(kBackupNames - 1);
  fs::create_directory(last);
  WriteBytes("HiScore.dat", kDamaged);
  RunningGame copy;
  EXPECT_TRUE(Says(copy, "がすべて使われています")) << copy.out.str();
  EXPECT_TRUE(Says(copy, "（HiScore.dat.bak から .bak.999 まで）")) << copy.out.str();
  ASSERT_TRUE(copy.Play(50, "Mio"));
  EXPECT_TRUE(Says(copy, "スコアを保存しませんでした")) << copy.out.str();
  EXPECT_EQ(ReadBytes("HiScore.dat"), kDamaged);
  EXPECT_EQ(ReadBytes("HiScore.dat.bak"), "first");
  EXPECT_TRUE(fs::is_directory(last));
}

// Removes the working folder at the second look of a game over: the save's
// first, right after the name box.
struct FolderRemoved final : PosixFileOps {
  int looks = 0;
  FileFacts Inspect(const std::string& name) override {
    if (++looks == 2) fs::remove_all(fs::current_path());
    return PosixFileOps::Inspect(name);
  }
};

TEST(ScoreFileMishaps, FolderRemovedDuringTheNameBoxIsToldAndTheEntryKept) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kAoi);
  RunningGame copy;
  FolderRemoved files;
  copy.host.UseFiles(files);
  ASSERT_TRUE(copy.Play(50, "Mio"));
  EXPECT_TRUE(Says(copy, "見つからないため")) << copy.out.str();
  // The folder is back: the next game over saves the kept entry too.
  fs::create_directory(dir.Path());
  fs::current_path(dir.Path());
  WriteBytes("HiScore.dat", kAoi);
  ASSERT_TRUE(copy.Play(40, "Ken"));
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "90,50,40,0,0,0,0,0,0,0\r\nAoi\r\nMio\r\nKen\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

// Damages the file at the save's first look, right after the name box.
struct DamagedMeanwhile final : PosixFileOps {
  int looks = 0;
  FileFacts Inspect(const std::string& name) override {
    if (++looks == 2) WriteBytes("HiScore.dat", kDamaged);
    return PosixFileOps::Inspect(name);
  }
};

TEST(ScoreFileMishaps, FileDamagedDuringTheNameBoxIsKeptAsideAndTold) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kAoi);
  RunningGame copy;
  DamagedMeanwhile files;
  copy.host.UseFiles(files);
  ASSERT_TRUE(copy.Play(50, "Mio"));
  EXPECT_TRUE(Says(copy, "が壊れていたため「HiScore.dat.bak」として残し")) << copy.out.str();
  EXPECT_EQ(ReadBytes("HiScore.dat.bak"), kDamaged);
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "90,50,0,0,0,0,0,0,0,0\r\nAoi\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

// Another copy holds the folder for as long as this one waits.
struct FolderHeld final : PosixFileOps {
  FileResult LockFolder(const std::string&) override { return {EWOULDBLOCK, "held"}; }
};

TEST(ScoreFileMishaps, FolderHeldByAnotherCopyIsToldAndTheEntryKept) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kAoi);
  RunningGame copy;
  FolderHeld files;
  copy.host.UseFiles(files);
  ASSERT_TRUE(copy.Play(50, "Mio"));
  EXPECT_TRUE(Says(copy, "を使い続けているため、スコアを保存しませんでした（held）")) << copy.out.str();
  EXPECT_EQ(ReadBytes("HiScore.dat"), kAoi);
  EXPECT_EQ(copy.game.Window().hiScoreTable.hiScores[1], 50);
}

// The n-th reads of the file fail, as for a file the player may not read.
struct ReadsRefused final : PosixFileOps {
  std::vector<int> refused;
  int reads = 0;
  FileResult ReadAll(const std::string& name, std::string& bytes, std::size_t limit) override {
    if (std::find(refused.begin(), refused.end(), ++reads) != refused.end()) return {EACCES, "denied"};
    return PosixFileOps::ReadAll(name, bytes, limit);
  }
};

// An unreadable file is told at start-up and at a save; once it reads again
// it is saved to, never kept aside as damaged: it was only unreadable.
TEST(ScoreFileMishaps, UnreadableFileIsToldAndNotTakenForDamaged) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kAoi);
  ReadsRefused files;
  files.refused = {1, 3, 6};  // start-up; the first save; the third refresh
  std::ostringstream out;
  SimHost host(out);
  host.UseFiles(files);
  SimGame game(host);
  game.Load();
  EXPECT_NE(out.str().find("を読み込めませんでした（denied）。ランキングは空の状態で始めます。\\n"
                           "元のファイルは、次にスコアを保存するときに「HiScore.dat.bak」として残します。"),
            std::string::npos)
      << out.str();
  host.Wait(1305);
  out.str("");
  host.QueueAnswer("Mio");
  ASSERT_TRUE(EndGameWith(host, game, 50));
  EXPECT_NE(out.str().find("を読み込めないため、スコアを保存しませんでした（denied）"), std::string::npos)
      << out.str();
  host.QueueAnswer("Ken");
  ASSERT_TRUE(EndGameWith(host, game, 40));
  host.QueueAnswer("Rin");
  ASSERT_TRUE(EndGameWith(host, game, 30));
  EXPECT_FALSE(fs::exists("HiScore.dat.bak"));
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "90,50,40,30,0,0,0,0,0,0\r\nAoi\r\nMio\r\nKen\r\nRin\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

// A folder takes the file's name at the save's first look.
struct FolderMeanwhile final : PosixFileOps {
  int looks = 0;
  FileFacts Inspect(const std::string& name) override {
    if (++looks == 2) {
      fs::remove("HiScore.dat");
      fs::create_directory("HiScore.dat");
    }
    return PosixFileOps::Inspect(name);
  }
};

TEST(ScoreFileMishaps, FolderUnderTheNameAtTheSaveIsToldAndNeverWritten) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kAoi);
  RunningGame copy;
  FolderMeanwhile files;
  copy.host.UseFiles(files);
  ASSERT_TRUE(copy.Play(50, "Mio"));
  EXPECT_TRUE(Says(copy, "「HiScore.dat」はフォルダーのため、スコアを保存しませんでした。")) << copy.out.str();
  EXPECT_TRUE(fs::is_directory("HiScore.dat"));
}

// A name the system will not say anything about (a folder on the way that
// may not be searched).
struct NothingToSay final : PosixFileOps {
  FileFacts Inspect(const std::string& name) override {
    FileFacts facts = PosixFileOps::Inspect(name);
    facts.kind = FileKind::Other;
    return facts;
  }
};

TEST(ScoreFileMishaps, NameTheSystemSaysNothingAboutIsTold) {
  TempWorkingDir dir;
  NothingToSay files;
  std::ostringstream out;
  SimHost host(out);
  host.UseFiles(files);
  SimGame game(host);
  game.Load();
  EXPECT_NE(out.str().find("「HiScore.dat」は普通のファイルではないものです。"), std::string::npos)
      << out.str();
}

}  // namespace

}  // namespace pellmora
