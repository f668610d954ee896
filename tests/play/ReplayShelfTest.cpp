// Replays kept beside the score file through whole autopilot games on the
// virtual clock, and watched back: every ranked entry keeps its own game,
// an entry that leaves the ten takes its replay with it, and a watched game
// plays to the score the ranking holds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "game/Int16.h"
#include "play/GameSnapshot.h"
#include "play/PlaySession.h"
#include "play/ReplayCheck.h"
#include "play/ReplayPlayer.h"
#include "play/ReplayShelf.h"
#include "posix/PosixFileOps.h"
#include "scores/ScoreFile.h"

namespace pellmora {

namespace {

namespace fs = std::filesystem;

// A player who names every game and never looks at the ranking window.
class Player final : public Frontend {
 public:
  void MsgBox(const std::string&, const std::string&) override {}
  std::string InputBox(const std::string&, const std::string&) override { return name; }
  FileOps& Files() override { return files; }
  void Form2Opened(Form2Controls&) override {}
  void Form2Raised() override {}
  void Form2Changed(const Form2Controls&) override {}
  void Form2Closed() override {}
  void ProgramEnded() override {}
  void ProgramFailed(const char*) override {}
  void EventDone() override {}

  PosixFileOps files;
  std::string name;
};

// One autopilot game from the start button to its game over.
int PlayOneGame(PlaySession& session) {
  // The menu comes up once the title has settled.
  for (int i = 0; i < 100 && !session.Game().Command1.Visible; ++i) {
    session.FireDue(session.Timers().Now() + 100);
  }
  EXPECT_TRUE(session.Click(MenuButton::Command1));
  for (int second = 0; second < 3600 && session.Game().playing == VbTrue; ++second) {
    session.FireDue(session.Timers().Now() + 1000);
  }
  EXPECT_EQ(session.Game().playing, VbFalse);
  return session.Game().score;
}

std::string Slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class ScoreFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("pellmora-shelf-" + std::to_string(::getpid()));
    fs::create_directories(folder_);
    old_ = fs::current_path();
    fs::current_path(folder_);
    const std::int16_t scores[10] = {};
    const std::string names[10];
    std::ofstream(kHiScoreFileName, std::ios::binary) << FormatScoreFile(scores, names);
  }
  void TearDown() override {
    fs::current_path(old_);
    fs::remove_all(folder_);
  }
  fs::path folder_;
  fs::path old_;
};

TEST_F(ScoreFolder, EveryRankedGameKeepsItsReplayAndLeavesWithItsEntry) {
  Player player;
  PlaySession session(player, nullptr, PlaySession::Seeding::Fixed, 7);
  session.RecordGames(true);
  session.KeepReplays("headless");
  session.SetAutopilot(true);
  session.Load();

  // After each game: the last game kept, every ranked entry with its own
  // replay that re-runs to its score, and no other file in the folder.
  auto checkShelf = [&player](int game, int score) {
    const auto last = LastReplay(player.files);
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->score, score);

    const ParsedScoreFile table = ParseScoreFile(Slurp(kHiScoreFileName));
    ASSERT_TRUE(table.ok);
    HiScoreTable shown;
    int ranked = 0;
    for (int i = 0; i < 10; ++i) {
      shown.hiScores[i] = table.scores[i];
      shown.hiNames[i] = table.names[i];
      ranked += !table.names[i].empty();
    }
    std::set<std::string> withReplay;
    for (int rank = 1; rank <= 10; ++rank) {
      const auto kept = ReplayOfRank(player.files, shown, rank);
      if (shown.hiNames[rank - 1].empty()) {
        EXPECT_FALSE(kept.has_value());
        continue;
      }
      ASSERT_TRUE(kept.has_value()) << "rank " << rank << " after game " << game;
      EXPECT_EQ(kept->name, shown.hiNames[rank - 1]);
      const ReplayVerdict verdict = CheckReplay(*kept);
      EXPECT_EQ(verdict.status, ReplayVerdict::Ok) << "rank " << rank;
      EXPECT_EQ(verdict.score, shown.hiScores[rank - 1]);
      withReplay.insert(kept->name);
    }
    EXPECT_EQ(static_cast<int>(withReplay.size()), ranked);

    // Read by everyone and written by the player alone, as the umask lets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    int files = 0;
    for (const auto& entry : fs::directory_iterator(kReplayFolder)) {
      ++files;
      EXPECT_TRUE(entry.path().extension() == ".pellmora-replay") << entry.path();
      EXPECT_EQ(entry.status().permissions(), fs::perms(0644 & ~mask)) << entry.path();
    }
    EXPECT_EQ(files, ranked + 1) << "after game " << game;
  };

  // Twelve games: the two lowest leave the ten on the way.
  int game = 1;
  for (; game <= 12; ++game) {
    player.name = "P" + std::to_string(game);
    const int score = PlayOneGame(session);
    ASSERT_EQ(session.ShelfProblem(), "") << "game " << game;
    checkShelf(game, score);
  }
  // A table cut to its best three (another copy's import, say): the next
  // keep removes what no entry owns any more.
  ParsedScoreFile cut = ParseScoreFile(Slurp(kHiScoreFileName));
  for (int i = 3; i < 10; ++i) {
    cut.scores[i] = 0;
    cut.names[i].clear();
  }
  std::ofstream(kHiScoreFileName, std::ios::binary | std::ios::trunc)
      << FormatScoreFile(cut.scores, cut.names);
  player.name = "P13";
  checkShelf(game, PlayOneGame(session));
}

TEST_F(ScoreFolder, AWatchedGamePlaysToItsScoreAndStopsWhereItWasChanged) {
  Player player;
  player.name = "山田";
  PlaySession session(player, nullptr, PlaySession::Seeding::Fixed, 3);
  session.RecordGames(true);
  session.KeepReplays("headless");
  session.SetAutopilot(true);
  session.Load();
  const int score = PlayOneGame(session);
  const std::string fileBefore = Slurp(kHiScoreFileName);
  const auto kept = LastReplay(player.files);
  ASSERT_TRUE(kept.has_value());

  // As played, then four times as fast with a pause in the middle.
  std::int64_t hostMs[2] = {};
  for (const bool fast : {false, true}) {
    ReplayPlayer watch(*kept);
    EXPECT_NE(watch.Caption().find("山田"), std::string::npos);
    std::int64_t now = 1000;
    watch.Run(now);
    if (fast) {
      EXPECT_TRUE(watch.KeyDown(vbKeyRight));
    }
    while (!watch.Finished() && now < 10'000'000) {
      now += 16;
      watch.Run(now);
      if (fast && now == 1000 + 16 * 100) {
        EXPECT_TRUE(watch.KeyDown(32));
        const std::uint32_t paused = GameSnapshot::Of(watch.Game()).Checksum();
        for (int i = 0; i < 100; ++i) watch.Run(now += 16);
        EXPECT_EQ(watch.MsUntilNext(), -1);
        EXPECT_EQ(GameSnapshot::Of(watch.Game()).Checksum(), paused);
        now -= 1600;  // the pause costs no time in the comparison below
        watch.Run(now);
        EXPECT_TRUE(watch.KeyDown(32));
      }
    }
    EXPECT_TRUE(watch.Finished());
    EXPECT_EQ(watch.Problem(), "");
    EXPECT_EQ(watch.Game().score, score);
    hostMs[fast] = now;
  }
  EXPECT_NEAR(static_cast<double>(hostMs[1] - 1000) / (hostMs[0] - 1000), 0.25, 0.01);
  // Nothing was asked or saved by watching.
  EXPECT_EQ(Slurp(kHiScoreFileName), fileBefore);

  // A changed event stops the watch with the second it drifted at.
  Replay changed = *kept;
  changed.events[changed.events.size() / 2] ^= 0x01;
  ReplayPlayer drifted(changed);
  for (std::int64_t now = 0; !drifted.Finished() && now < 10'000'000; now += 16) drifted.Run(now);
  EXPECT_NE(drifted.Problem(), "");
  EXPECT_NE(drifted.Game().score, score);

  // Esc stops a watch at once, with nothing to tell.
  ReplayPlayer stopped(*kept);
  stopped.Run(0);
  stopped.Run(500);
  EXPECT_TRUE(stopped.KeyDown(vbKeyEscape));
  EXPECT_TRUE(stopped.Finished());
  EXPECT_EQ(stopped.Problem(), "");
}

}  // namespace

}  // namespace pellmora
