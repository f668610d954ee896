// The score file after a hostile week of play: a damaged file far too large
// to copy, every backup name taken, the folder removed while the name box is
// open. Each save either succeeds or is told, and no entry is lost from memory.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "scores/PosixFileOps.h"
#include "scores/SharedHiScores.h"
#include "tests/support/RunningGame.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

namespace fs = std::filesystem;

const std::string kDamaged = "90,0,0\nAoi\n";

bool Says(const std::string& printed, const std::string& words) {
  return printed.find(words) != std::string::npos;
}

ino_t Inode(const char* name) {
  struct stat st {};
  return ::lstat(name, &st) == 0 ? st.st_ino : 0;
}

TEST(ScoreFileMishaps, HugeDamagedFileIsMovedAsideAndTheSaveSucceeds) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kDamaged);
  fs::resize_file("HiScore.dat", 100u << 20);  // sparse: no disk used
  const ino_t damaged = Inode("HiScore.dat");
  RunningGame copy;
  EXPECT_TRUE(Says(copy.out.str(), "「HiScore.dat.bak」として残します")) << copy.out.str();
  ASSERT_TRUE(copy.Play(50, "Mio"));
  EXPECT_EQ(Inode("HiScore.dat.bak"), damaged);  // the same file, not a copy
  EXPECT_EQ(fs::file_size("HiScore.dat.bak"), 100u << 20);
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "50,0,0,0,0,0,0,0,0,0\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

TEST(ScoreFileMishaps, NoFreeBackupNameLeavesTheDamagedFileAndSays) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat.bak", "first");
  for (int i = 1; i < kBackupNames - 1; ++i) WriteBytes("HiScore.dat.bak." + std::to_string(i), "");
  const std::string last = "HiScore.dat.bak." + std::to_string(kBackupNames - 1);
  fs::create_directory(last);
  WriteBytes("HiScore.dat", kDamaged);
  RunningGame copy;
  EXPECT_TRUE(Says(copy.out.str(), "がすべて使われています")) << copy.out.str();
  ASSERT_TRUE(copy.Play(50, "Mio"));
  EXPECT_TRUE(Says(copy.out.str(), "スコアを保存しませんでした")) << copy.out.str();
  EXPECT_EQ(ReadBytes("HiScore.dat"), kDamaged);
  EXPECT_EQ(ReadBytes("HiScore.dat.bak"), "first");
  EXPECT_TRUE(fs::is_directory(last));

  // A name made free: the next game over keeps the file there and saves both.
  fs::remove(last);
  ASSERT_TRUE(copy.Play(40, "Ken"));
  EXPECT_EQ(ReadBytes(last), kDamaged);
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "50,40,0,0,0,0,0,0,0,0\r\nMio\r\nKen\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

// Removes the working folder at the look that comes right after the name
// box: the save's first.
class FolderRemoved final : public PosixFileOps {
 public:
  int looks = 0;
  int removeAt = 0;
  FileFacts Inspect(const std::string& name) override {
    if (++looks == removeAt) fs::remove_all(fs::current_path());
    return PosixFileOps::Inspect(name);
  }
};

TEST(ScoreFileMishaps, FolderRemovedWhileTheNameBoxIsOpenIsToldAndTheEntryKept) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", "90,0,0,0,0,0,0,0,0,0\r\nAoi\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  RunningGame copy;
  FolderRemoved files;
  copy.host.UseFiles(files);
  files.removeAt = 2;  // the first is the look before the name box
  ASSERT_TRUE(copy.Play(50, "Mio"));
  EXPECT_FALSE(fs::exists(dir.Path()));
  EXPECT_TRUE(Says(copy.out.str(), "見つからないため")) << copy.out.str();
  EXPECT_EQ(copy.game.Window().hiNames[1], "Mio");

  // The folder is back: the next game over saves the kept entry with its own.
  fs::create_directory(dir.Path());
  fs::current_path(dir.Path());
  WriteBytes("HiScore.dat", "90,0,0,0,0,0,0,0,0,0\r\nAoi\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  ASSERT_TRUE(copy.Play(40, "Ken"));
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "90,50,40,0,0,0,0,0,0,0\r\nAoi\r\nMio\r\nKen\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

}  // namespace

}  // namespace pellmora
