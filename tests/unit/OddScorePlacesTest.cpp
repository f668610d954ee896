// The score file in odd places, tried as a careless or unlucky player would:
// a folder that takes no new file, a read-only file, a file with its own
// permission bits or behind a link, damaged files one after another, and
// names that hold no file at all. Where permissions matter the game runs as
// an unprivileged user (nobody, when the test runs as root).
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "scores/ScoreFile.h"
#include "tests/support/RunningGame.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

namespace fs = std::filesystem;

constexpr uid_t kNobody = 65534;

const std::string kTable = "90,0,0,0,0,0,0,0,0,0\r\nAoi\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
const std::string kDamaged = "90,0,0\nAoi\n";

std::vector<std::string> Entries(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

unsigned ModeOf(const std::string& name) {
  struct stat st {};
  return ::lstat(name.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// What went wrong in a child, one line each; empty when nothing did.
struct Checks {
  std::string failures;
  void Expect(bool ok, const std::string& what) {
    if (!ok) failures += what + "\n";
  }
};

// Runs the body in a child process as an unprivileged user, in the folder
// given (handed to that user first), and returns what went wrong there.
std::string AsPlayer(const fs::path& folder, const std::function<void(Checks&)>& body) {
  const bool root = ::geteuid() == 0;
  if (root) {
    ::chmod(folder.parent_path().c_str(), 0755);
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      ::lchown(entry.path().c_str(), kNobody, kNobody);
    }
    ::lchown(folder.c_str(), kNobody, kNobody);
  }
  int fds[2];
  if (::pipe(fds) != 0) return "pipe failed";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    Checks checks;
    if (root &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) {
      checks.Expect(false, "cannot become nobody");
    } else if (::chdir(folder.c_str()) != 0) {
      checks.Expect(false, "cannot enter the folder");
    } else {
      body(checks);
    }
    const ssize_t written = ::write(fds[1], checks.failures.data(), checks.failures.size());
    _exit(written == static_cast<ssize_t>(checks.failures.size()) ? 0 : 1);
  }
  ::close(fds[1]);
  std::string failures;
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(fds[0], buffer, sizeof buffer)) > 0)
    failures.append(buffer, static_cast<std::size_t>(n));
  ::close(fds[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) failures += "the player's process failed\n";
  return failures;
}

bool Says(const std::string& printed, const std::string& words) {
  return printed.find(words) != std::string::npos;
}

TEST(OddScorePlaces, FolderTakingNoNewFileRefusesTheSaveAndKeepsTheEntry) {
  TempWorkingDir dir;
  fs::create_directory("locked");
  WriteBytes("locked/HiScore.dat", kTable);
  const std::string failures = AsPlayer(dir.Path() / "locked", [](Checks& checks) {
    const std::string here = fs::canonical(".").string();
    ::chmod(".", 0555);
    RunningGame copy;
    copy.Play(50, "Mio");
    const std::string printed = copy.out.str();
    checks.Expect(Says(printed, "フォルダー「" + here + "」に新しいファイルを作れないため") &&
                      Says(printed, "このフォルダーへの書き込みを許可してください"),
                  "no message naming the folder: " + printed);
    checks.Expect(ReadBytes("HiScore.dat") == kTable, "the file changed");
    checks.Expect(Entries(".") == std::vector<std::string>{"HiScore.dat"}, "the folder changed");
    // The entry stays in the ranking, and the next game over saves it.
    checks.Expect(copy.Shown(1) == "Mio", "the entry was dropped");
    ::chmod(".", 0755);
    copy.Play(20, "Ken");
    checks.Expect(ReadBytes("HiScore.dat") ==
                      "90,50,20,0,0,0,0,0,0,0\r\nAoi\r\nMio\r\nKen\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n",
                  "the next save lost an entry: " + ReadBytes("HiScore.dat"));
  });
  EXPECT_EQ(failures, "");
}

TEST(OddScorePlaces, ReadOnlyFileIsNotReplaced) {
  TempWorkingDir dir;
  fs::create_directory("game");
  WriteBytes("game/HiScore.dat", kTable);
  ::chmod("game/HiScore.dat", 0444);
  const std::string failures = AsPlayer(dir.Path() / "game", [](Checks& checks) {
    RunningGame copy;
    copy.Play(50, "Mio");
    const std::string printed = copy.out.str();
    checks.Expect(Says(printed, "は読み取り専用のため、スコアを保存しませんでした"),
                  "no read-only message: " + printed);
    checks.Expect(ReadBytes("HiScore.dat") == kTable && ModeOf("HiScore.dat") == 0444,
                  "the file changed");
    checks.Expect(Entries(".") == std::vector<std::string>{"HiScore.dat"}, "the folder changed");
  });
  EXPECT_EQ(failures, "");
}

TEST(OddScorePlaces, SaveKeepsPermissionBitsAndLinks) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", kTable);
  ::chmod("HiScore.dat", 0600);
  const mode_t mask = ::umask(077);
  {
    RunningGame copy;
    copy.Play(50, "Mio");
  }
  EXPECT_EQ(ModeOf("HiScore.dat"), 0600u);
  ::chmod("HiScore.dat", 0664);  // bits the creation mask would take away
  {
    RunningGame copy;
    copy.Play(40, "Ken");
  }
  ::umask(mask);
  EXPECT_EQ(ModeOf("HiScore.dat"), 0664u);
  EXPECT_EQ(ParseScoreFile(ReadBytes("HiScore.dat")).scores[2], 40);

  // A link to a file in another folder stays a link; the file it points to
  // is replaced in its own folder, and nothing is left in either.
  fs::create_directory("game");
  fs::create_directory("kept");
  WriteBytes("kept/table.dat", kTable);
  ::chmod("kept/table.dat", 0640);
  fs::create_symlink("../kept/table.dat", "game/HiScore.dat");
  fs::current_path("game");
  {
    RunningGame copy;
    copy.Play(50, "Mio");
    copy.Play(60, "Rin");
  }
  fs::current_path("..");
  EXPECT_TRUE(fs::is_symlink("game/HiScore.dat"));
  EXPECT_EQ(fs::read_symlink("game/HiScore.dat"), "../kept/table.dat");
  EXPECT_EQ(ReadBytes("kept/table.dat"),
            "90,60,50,0,0,0,0,0,0,0\r\nAoi\r\nRin\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  EXPECT_EQ(ModeOf("kept/table.dat"), 0640u);
  EXPECT_EQ(Entries("game"), std::vector<std::string>{"HiScore.dat"});
  EXPECT_EQ(Entries("kept"), std::vector<std::string>{"table.dat"});

  // A copy in another folder, linked to the same file, keeps those entries.
  fs::create_directory("other");
  fs::create_symlink(fs::absolute("kept/table.dat"), "other/HiScore.dat");
  fs::current_path("other");
  {
    RunningGame copy;
    copy.Play(55, "Ken");
  }
  fs::current_path("..");
  EXPECT_EQ(ReadBytes("kept/table.dat"),
            "90,60,55,50,0,0,0,0,0,0\r\nAoi\r\nRin\r\nKen\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  EXPECT_TRUE(fs::is_symlink("other/HiScore.dat"));
}

TEST(OddScorePlaces, EveryDamagedFileIsKept) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat.bak", "an earlier copy");
  WriteBytes("HiScore.dat", kDamaged);
  {
    RunningGame copy;
    EXPECT_TRUE(Says(copy.out.str(), "「HiScore.dat.bak.1」として残します")) << copy.out.str();
    copy.Play(50, "Mio");
  }
  EXPECT_EQ(ReadBytes("HiScore.dat.bak"), "an earlier copy");
  EXPECT_EQ(ReadBytes("HiScore.dat.bak.1"), kDamaged);

  // Two copies started on one damaged file: it is kept once, and the table
  // holds both copies' entries.
  const std::string second = "1,2,3,4,5,6,7,8,9,10\r\nX\r\n";
  WriteBytes("HiScore.dat", second);
  RunningGame a;
  RunningGame b;
  a.Play(30, "Aoi");
  b.Play(20, "Ken");
  EXPECT_EQ(ReadBytes("HiScore.dat.bak.2"), second);
  EXPECT_FALSE(fs::exists("HiScore.dat.bak.3"));
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "30,20,0,0,0,0,0,0,0,0\r\nAoi\r\nKen\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");

  // A file another copy left damaged while this one runs is kept as well.
  WriteBytes("HiScore.dat", kDamaged + "again");
  a.Play(10, "Rin");
  const std::string printed = a.out.str();
  EXPECT_TRUE(Says(printed, "「HiScore.dat.bak.3」として残します")) << printed;
  EXPECT_EQ(ReadBytes("HiScore.dat.bak.3"), kDamaged + "again");
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "30,10,0,0,0,0,0,0,0,0\r\nAoi\r\nRin\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

// What start-up says for each kind of thing found under the file's name;
// none of them is read (a FIFO would hang the game) or written through.
TEST(OddScorePlaces, NameHoldingNoFileIsToldAndNeverWritten) {
  struct Case {
    std::string what;
    std::function<void()> make;
    std::string told;
  };
  const std::vector<Case> cases = {
      {"folder", [] { fs::create_directory("HiScore.dat"); }, "「HiScore.dat」はフォルダーです"},
      {"fifo", [] { ::mkfifo("HiScore.dat", 0644); },
       "「HiScore.dat」は名前付きパイプ（FIFO）です"},
      {"socket",
       [] {
         const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
         sockaddr_un address{};
         address.sun_family = AF_UNIX;
         std::strcpy(address.sun_path, "HiScore.dat");
         ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
         ::close(fd);
       },
       "「HiScore.dat」はソケットです"},
      {"device link", [] { fs::create_symlink("/dev/zero", "HiScore.dat"); },
       "「HiScore.dat」はリンクで、その行き先はデバイスです"},
      {"dangling link", [] { fs::create_symlink("gone/table.dat", "HiScore.dat"); },
       "「HiScore.dat」は行き先のないリンクです"},
      {"looping link", [] { fs::create_symlink("HiScore.dat", "HiScore.dat"); },
       "「HiScore.dat」は行き先をたどれないリンク（循環）です"},
  };
  for (const Case& c : cases) {
    TempWorkingDir dir;
    c.make();
    const auto before = fs::symlink_status("HiScore.dat").type();
    RunningGame copy;
    EXPECT_TRUE(Says(copy.out.str(), c.told)) << c.what << ": " << copy.out.str();
    EXPECT_FALSE(copy.Play(50, "Mio")) << c.what << ": " << copy.out.str();
    EXPECT_EQ(fs::symlink_status("HiScore.dat").type(), before) << c.what;
    EXPECT_EQ(Entries("."), std::vector<std::string>{"HiScore.dat"}) << c.what;
  }
}

}  // namespace

}  // namespace pellmora
