// Several copies of the game on one score file: every qualifying score that
// any copy recorded ends up in the file, ranked as if the games had been
// played one after the other, and every read of the file finds a whole table.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iostream>
#include <new>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "scores/ScoreFile.h"
#include "tests/support/FaultyFileOps.h"
#include "tests/support/RunningGame.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

const std::string kEmptyTable = "0,0,0,0,0,0,0,0,0,0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";

using Entry = std::pair<int, std::string>;

std::vector<Entry> TableOf(const std::string& bytes) {
  const ParsedScoreFile parsed = ParseScoreFile(bytes);
  std::vector<Entry> entries;
  if (!parsed.ok) return entries;
  for (int i = 0; i < kHiScoreListed; ++i) entries.emplace_back(parsed.scores[i], parsed.names[i]);
  return entries;
}

// Two copies in one process, taking turns: each sees the other's entries
// before its name box and keeps them when it saves.
TEST(SharedScoreFile, CopiesTakingTurnsKeepEachOthersEntries) {
  TempWorkingDir dir;
  WriteBytes(kHiScoreFileName, kEmptyTable);
  RunningGame a(1);
  RunningGame b(2);
  EXPECT_TRUE(a.Play(50, "Aoi"));
  EXPECT_TRUE(b.Play(70, "Mio"));
  EXPECT_TRUE(a.Play(60, "Ken"));
  // Before the box, b takes in a's table: 40 beats the free tenth place.
  EXPECT_TRUE(b.Play(40, "Rin"));
  EXPECT_EQ(ReadBytes(kHiScoreFileName),
            "70,60,50,40,0,0,0,0,0,0\r\nMio\r\nKen\r\nAoi\r\nRin\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  // A game over that records nothing still brings the other copy's entries
  // into the ranking window.
  EXPECT_FALSE(a.Play(0, "-"));
  ASSERT_TRUE(a.game.Click(SimButton::Command2));
  EXPECT_EQ(a.host.Form2()->Text1[0].Text, "Mio");
  EXPECT_EQ(a.host.Form2()->Text1[3].Text, "Rin");
  EXPECT_EQ(a.host.Form2()->Text2[3].Text, "40");
}

// An entry whose save failed is kept in memory; when the next save finds
// that another copy saved meanwhile, it ranks the kept entry into that table.
TEST(SharedScoreFile, UnsavedEntrySurvivesAnotherCopysSave) {
  TempWorkingDir dir;
  WriteBytes(kHiScoreFileName, kEmptyTable);
  RunningGame a(1);
  FaultyFileOps faulty;
  a.host.UseFiles(faulty);
  RunningGame b(2);
  faulty.failAt = 2;  // the write of a's first save
  EXPECT_TRUE(a.Play(80, "Aoi"));
  EXPECT_NE(a.out.str().find("に保存できませんでした"), std::string::npos) << a.out.str();
  EXPECT_TRUE(b.Play(30, "Mio"));
  EXPECT_TRUE(a.Play(50, "Ken"));
  EXPECT_EQ(ReadBytes(kHiScoreFileName),
            "80,50,30,0,0,0,0,0,0,0\r\nAoi\r\nKen\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  // Saved once is saved: a later save does not rank it in twice.
  EXPECT_TRUE(b.Play(20, "Rin"));
  EXPECT_FALSE(a.Play(0, "-"));
  EXPECT_EQ(ReadBytes(kHiScoreFileName),
            "80,50,30,20,0,0,0,0,0,0\r\nAoi\r\nKen\r\nMio\r\nRin\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

constexpr int kGamesPerCopy = 300;
using Clock = std::chrono::steady_clock;

struct CopyReport {
  std::vector<Entry> games;  // every game's score, with the name when it was asked
  int asked = 0;
  int saveMessages = 0;
};

// One copy's run in a child process: scores rise with the time both copies
// share, so that most games of each qualify however the two are scheduled;
// one copy's scores are even, the other's odd. Each copy's last ten games
// beat all of that, and the ten best of those twenty are five of each copy,
// whichever copy ends first: a save that kept only its own entries loses.
// Neither copy starts its last ten before the other is there too, so that
// they do not keep the slower copy's other games out of the list.
[[noreturn]] void PlayAsCopy(char letter, int parity, Clock::time_point start,
                             std::atomic<int>& atLastTen, int writeFd) {
  RunningGame copy(static_cast<std::uint64_t>(letter));
  std::ostringstream report;
  int names = 0;
  int risen = 0;
  for (int k = 0; k < kGamesPerCopy; ++k) {
    // One game per 4 ms at most, so that neither copy runs ahead of the time.
    int next = risen;
    while (next <= risen && risen < 29999) {
      const auto quarters =
          std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count() / 4;
      next = std::min(29999, 100 + 2 * static_cast<int>(quarters) + parity);
      if (next <= risen) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    risen = next;
    int score = risen;
    const int late = k - (kGamesPerCopy - kHiScoreListed);
    if (late == 0) {
      ++atLastTen;
      const auto giveUp = Clock::now() + std::chrono::seconds(60);  // the other copy died
      while (atLastTen.load() < 2 && Clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
      }
    }
    if (late >= 0) score = 30000 + 2 * late + parity;
    const std::string name = std::string(1, letter) + std::to_string(names);
    const bool asked = copy.Play(static_cast<int16_t>(score), name);
    names += asked ? 1 : 0;
    const bool failed = copy.out.str().find("title=\"Pellmora\"") != std::string::npos;
    report << score << ' ' << (asked ? name : "-") << ' ' << failed << '\n';
  }
  const std::string text = report.str();
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::write(writeFd, text.data() + done, text.size() - done);
    if (n <= 0) _exit(3);
    done += static_cast<std::size_t>(n);
  }
  _exit(::testing::Test::HasFailure() ? 2 : 0);
}

struct Child {
  pid_t pid = -1;
  int readFd = -1;
  std::string text;
};

Child StartCopy(char letter, int parity, Clock::time_point start, std::atomic<int>& atLastTen) {
  Child child;
  int fds[2];
  if (::pipe(fds) != 0) return child;
  child.pid = fork();
  if (child.pid == 0) {
    ::close(fds[0]);
    PlayAsCopy(letter, parity, start, atLastTen, fds[1]);
  }
  ::close(fds[1]);
  child.readFd = fds[0];
  return child;
}

CopyReport Collect(Child& child) {
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(child.readFd, buffer, sizeof buffer)) > 0) {
    child.text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(child.readFd);
  CopyReport report;
  std::istringstream in(child.text);
  int score = 0;
  std::string name;
  int failed = 0;
  while (in >> score >> name >> failed) {
    report.games.emplace_back(score, name);
    report.asked += name != "-" ? 1 : 0;
    report.saveMessages += failed;
  }
  return report;
}

TEST(SharedScoreFile, TwoProcessesSavingAtOnceLoseNothing) {
  namespace fs = std::filesystem;
  TempWorkingDir dir;
  fs::create_directory("scores");
  fs::current_path("scores");
  WriteBytes(kHiScoreFileName, kEmptyTable);

  const auto start = Clock::now();
  // Shared by the two children.
  void* shared = ::mmap(nullptr, sizeof(std::atomic<int>), PROT_READ | PROT_WRITE,
                        MAP_SHARED | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(shared, MAP_FAILED);
  auto* atLastTen = new (shared) std::atomic<int>(0);
  Child copies[2] = {StartCopy('A', 0, start, *atLastTen), StartCopy('B', 1, start, *atLastTen)};
  ASSERT_GT(copies[0].pid, 0);
  ASSERT_GT(copies[1].pid, 0);

  // Every read while both save must find a whole table, and an entry once
  // read leaves the file only when ten better ones push it out.
  int reads = 0;
  int brokenReads = 0;
  int lostEntries = 0;
  std::vector<Entry> lastRead;
  int running = 2;
  while (running > 0) {
    const std::string bytes = ReadBytes(kHiScoreFileName);
    ++reads;
    const std::vector<Entry> table = TableOf(bytes);
    if (table.empty()) {
      if (++brokenReads <= 3) ADD_FAILURE() << "read " << reads << ": " << bytes.size() << " bytes";
    } else {
      for (const Entry& entry : lastRead) {
        if (entry.first > table.back().first &&
            std::find(table.begin(), table.end(), entry) == table.end()) {
          if (++lostEntries <= 3) ADD_FAILURE() << "read " << reads << " lost " << entry.second;
        }
      }
      lastRead = table;
    }
    std::this_thread::sleep_for(std::chrono::microseconds(100));  // leaves the copies a core
    running = 0;
    for (const Child& child : copies) {
      int status = 0;
      if (child.pid > 0 && ::waitpid(child.pid, &status, WNOHANG) == 0) ++running;
    }
  }
  // The children are reaped above; their reports wait in the pipes.
  CopyReport reports[2] = {Collect(copies[0]), Collect(copies[1])};
  ::munmap(shared, sizeof(std::atomic<int>));

  std::vector<Entry> everything;
  for (const CopyReport& report : reports) {
    ASSERT_EQ(report.games.size(), static_cast<std::size_t>(kGamesPerCopy));
    EXPECT_EQ(report.saveMessages, 0);
    everything.insert(everything.end(), report.games.begin(), report.games.end());
  }
  std::sort(everything.begin(), everything.end(), std::greater<>());
  everything.resize(kHiScoreListed);
  const std::vector<Entry> inFile = TableOf(ReadBytes(kHiScoreFileName));
  EXPECT_EQ(inFile, everything);
  int fromA = 0;
  for (const Entry& entry : everything) fromA += entry.second.starts_with("A") ? 1 : 0;
  EXPECT_EQ(fromA, kHiScoreListed / 2);  // the test's own design, checked

  std::cout << "[          ] 2 copies, " << 2 * kGamesPerCopy << " game overs (saves), "
            << reports[0].asked + reports[1].asked << " qualifying entries, " << reads << " reads, "
            << brokenReads << " broken reads, " << lostEntries << " entries lost\n";
  EXPECT_GT(reports[0].asked, kGamesPerCopy * 2 / 3);
  EXPECT_GT(reports[1].asked, kGamesPerCopy * 2 / 3);
  EXPECT_EQ(brokenReads, 0);
  EXPECT_EQ(lostEntries, 0);

  // Nothing besides the score file is left in its folder.
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(".")) names.push_back(entry.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{kHiScoreFileName});

  // A copy started now shows that table in its ranking window.
  RunningGame later(3);
  ASSERT_TRUE(later.game.Click(SimButton::Command2));
  for (int i = 0; i < kHiScoreListed; ++i) {
    const Entry& entry = everything[static_cast<std::size_t>(i)];
    EXPECT_EQ(later.host.Form2()->Text1[i].Text, entry.second);
    EXPECT_EQ(later.host.Form2()->Text2[i].Text, std::to_string(entry.first));
  }
}

}  // namespace

}  // namespace pellmora
