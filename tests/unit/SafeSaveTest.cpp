// A save interrupted at any step leaves the whole old file or the whole new
// one, never a mix and never an empty file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "scores/ScoreFile.h"
#include "tests/support/FaultyFileOps.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

// Everything in the working directory, sorted.
std::vector<std::string> Entries() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

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
    EXPECT_EQ(Entries(), std::vector<std::string>{"HiScore.dat"}) << "step " << failAt;
  }
}

// Leftovers of any kind under the names a save of this process would pick
// first (another copy's save, or one killed before) block nothing and stay
// as they are: a save never removes or renames what is not its own.
TEST(SafeSave, LeftoversUnderTemporaryNamesBlockNothing) {
  namespace fs = std::filesystem;
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kOld);
  WriteBytes("HiScore.dat.tmp", "an old version's half file");
  PosixFileOps files;
  const std::string prefix = "HiScore.dat.tmp." + files.CopyTag() + ".";
  // The counter is shared by the process; cover the next names it can take.
  std::vector<std::string> leftovers = {"HiScore.dat.tmp"};
  for (int i = 0; i < 40; ++i) {
    const std::string name = prefix + std::to_string(i);
    switch (i % 3) {
      case 0:
        WriteBytes(name, "half a file");
        break;
      case 1:
        fs::create_directory(name);
        break;
      default:
        fs::create_symlink("HiScore.dat", name);  // a link back at the table itself
        break;
    }
    leftovers.push_back(name);
  }
  const auto before = Entries();
  ASSERT_TRUE(SaveAtomically(files, "HiScore.dat", kNew).Ok());
  ASSERT_TRUE(SaveAtomically(files, "HiScore.dat", kNew).Ok());
  EXPECT_EQ(ReadBytes("HiScore.dat"), kNew);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status("HiScore.dat")));
  EXPECT_EQ(Entries(), before);
  EXPECT_EQ(ReadBytes(prefix + "0"), "half a file");
  EXPECT_TRUE(fs::is_directory(prefix + "1"));
  EXPECT_TRUE(fs::is_symlink(prefix + "2"));
}

// Never written in place: where no new file can be made, the old file stays
// byte for byte and the caller is told why.
TEST(SafeSave, FolderWithoutRoomForANewFileRefusesTheSave) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kOld);
  FaultyFileOps files;
  files.refuseNewFiles = true;
  const SaveResult result = SaveAtomically(files, "HiScore.dat", kNew);
  EXPECT_FALSE(result.Ok());
  EXPECT_TRUE(result.folderTakesNoFile);
  EXPECT_EQ(ReadBytes("HiScore.dat"), kOld);
  EXPECT_EQ(Entries(), std::vector<std::string>{"HiScore.dat"});
}

// The folder synced after the rename is the one that holds the file.
struct FolderSyncs : PosixFileOps {
  std::vector<std::string> synced;
  FileResult SyncFolder(const std::string& folder) override {
    synced.push_back(folder);
    return PosixFileOps::SyncFolder(folder);
  }
};

TEST(SafeSave, SyncsTheFolderThatHoldsTheFile) {
  TempWorkingDir dir;
  std::filesystem::create_directory("s");
  std::filesystem::create_directory("sub");
  FolderSyncs files;
  const std::string whole = (dir.Path() / "sub").string();
  for (const std::string& target : {std::string("HiScore.dat"), std::string("s/HiScore.dat"),
                                    std::string("sub/HiScore.dat"), whole + "/HiScore.dat"}) {
    EXPECT_TRUE(SaveAtomically(files, target, "table").replaced) << target;
  }
  EXPECT_EQ(files.synced, (std::vector<std::string>{".", "s", "sub", whole}));
}

// Names taken by leftovers are tried past, 64 names at most.
struct NamesTried : PosixFileOps {
  std::vector<std::string> created;
  std::string CopyTag() override { return "tag"; }
  FileResult CreateNew(const std::string& name, unsigned mode, Handle& handle) override {
    created.push_back(name);
    return PosixFileOps::CreateNew(name, mode, handle);
  }
};

TEST(SafeSave, SixtyFourTemporaryNamesAreTried) {
  TempWorkingDir dir;
  NamesTried files;
  ASSERT_TRUE(SaveAtomically(files, "HiScore.dat", "a").Ok());
  const std::string& first = files.created.back();
  const unsigned next = static_cast<unsigned>(std::stoul(first.substr(first.rfind('.') + 1))) + 1;
  const auto leave = [](unsigned from, unsigned count) {
    for (unsigned i = 0; i < count; ++i) WriteBytes("HiScore.dat.tmp.tag." + std::to_string(from + i), "");
  };
  leave(next, 63);
  EXPECT_TRUE(SaveAtomically(files, "HiScore.dat", "b").Ok());  // the 64th name is free
  leave(next + 64, 64);
  EXPECT_FALSE(SaveAtomically(files, "HiScore.dat", "c").Ok());  // all 64 are taken
  EXPECT_EQ(ReadBytes("HiScore.dat"), "b");
}

}  // namespace

}  // namespace pellmora
