// A save interrupted at any step leaves the whole old file or the whole new
// one, never a mix and never an empty file.
#include <gtest/gtest.h>

#include "scores/ScoreFile.h"
#include "tests/support/FaultyFileOps.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

const std::string kOld = "1,0,0,0,0,0,0,0,0,0\r\nold\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
const std::string kNew = "9,1,0,0,0,0,0,0,0,0\r\nnew\r\nold\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";

TEST(SafeSave, EveryInterruptedStepLeavesOldOrNew) {
  // Count the steps of an uninterrupted save first.
  int total = 0;
  {
    TempWorkingDir dir;
    WriteBytes("HiScore.dat", kOld);
    FaultyFileOps files;
    ASSERT_TRUE(SaveAtomically(files, "HiScore.dat", kNew).Ok());
    EXPECT_EQ(ReadBytes("HiScore.dat"), kNew);
    total = files.steps;
  }
  ASSERT_GE(total, 5);  // open, write, sync, close, rename, directory sync
  for (int failAt = 1; failAt <= total; ++failAt) {
    TempWorkingDir dir;
    WriteBytes("HiScore.dat", kOld);
    FaultyFileOps files;
    files.failAt = failAt;
    const FileResult result = SaveAtomically(files, "HiScore.dat", kNew);
    EXPECT_FALSE(result.Ok()) << "step " << failAt << " failed silently";
    const std::string now = ReadBytes("HiScore.dat");
    EXPECT_TRUE(now == kOld || now == kNew) << "step " << failAt << " left: " << now;
    EXPECT_FALSE(std::filesystem::exists("HiScore.dat.tmp")) << "step " << failAt;
  }
}

TEST(SafeSave, LeftoverTemporaryFileDoesNotBlockTheSave) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kOld);
  WriteBytes("HiScore.dat.tmp", "half a file");
  FaultyFileOps files;
  ASSERT_TRUE(SaveAtomically(files, "HiScore.dat", kNew).Ok());
  EXPECT_EQ(ReadBytes("HiScore.dat"), kNew);
  EXPECT_FALSE(std::filesystem::exists("HiScore.dat.tmp"));
}

TEST(SafeSave, FolderWithoutRoomForANewFileIsWrittenInPlace) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kOld);
  FaultyFileOps files;
  files.refuseCreating = "HiScore.dat.tmp";
  ASSERT_TRUE(SaveAtomically(files, "HiScore.dat", kNew).Ok());
  EXPECT_EQ(ReadBytes("HiScore.dat"), kNew);
}

}  // namespace

}  // namespace pellmora
