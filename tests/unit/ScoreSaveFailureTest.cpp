// A save that fails at game over tells the player, keeps the old file whole,
// keeps the entry in memory, and the game goes on; the next game over tries again.
#include <gtest/gtest.h>

#include <filesystem>

#include <sstream>

#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "scores/ScoreFile.h"
#include "tests/support/FaultyFileOps.h"
#include "tests/support/RunningGame.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

const std::string kEmptyTable = "0,0,0,0,0,0,0,0,0,0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";

// Starts a game and loses it at once with the given score.
void LoseWith(SimHost& host, SimGame& game, int16_t score) {
  ASSERT_TRUE(EndGameWith(host, game, score));
}

TEST(ScoreSaveFailure, EveryFailingStepIsToldAndTheOldFileStays) {
  for (int failAt = 1; failAt <= 5; ++failAt) {
    TempWorkingDir dir;
    WriteBytes("HiScore.dat", kEmptyTable);
    std::ostringstream out;
    SimHost host(out);
    FaultyFileOps files;
    host.UseFiles(files);
    SimGame game(host);
    game.Load();
    host.Wait(1305);
    files.failAt = failAt;
    files.steps = 0;
    host.QueueAnswer("Aoi");
    LoseWith(host, game, 42);
    const std::string printed = out.str();
    EXPECT_NE(
        printed.find("msgbox title=\"Pellmora\" text=\"「HiScore.dat」に保存できませんでした"
                     "（injected failure）"),
        std::string::npos)
        << "step " << failAt << ": " << printed;
    // The game-over box still follows, and the menu is back.
    EXPECT_NE(printed.find("あなたの得点は42点でした。"), std::string::npos);
    EXPECT_TRUE(game.Window().Command1.Visible);
    EXPECT_EQ(ReadBytes("HiScore.dat"), kEmptyTable) << "step " << failAt;
    EXPECT_EQ(game.Window().hiScoreTable.hiScores[0], 42);

    // The disk is well again: the next game over writes both entries.
    files.failAt = 0;
    host.QueueAnswer("Mio");
    LoseWith(host, game, 7);
    EXPECT_EQ(ReadBytes("HiScore.dat"),
              "42,7,0,0,0,0,0,0,0,0\r\nAoi\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  }
}

TEST(ScoreSaveFailure, DamagedFileIsNotReplacedWhenItCannotBeKeptAside) {
  TempWorkingDir dir;
  const std::string damaged = "1,2,3\n";
  WriteBytes("HiScore.dat", damaged);
  std::ostringstream out;
  SimHost host(out);
  FaultyFileOps files;
  host.UseFiles(files);
  SimGame game(host);
  game.Load();
  EXPECT_EQ(ReadBytes("HiScore.dat"), damaged);  // start-up leaves it alone
  host.Wait(1305);
  files.failAt = 1;  // the move aside
  files.steps = 0;
  LoseWith(host, game, 5);
  EXPECT_EQ(ReadBytes("HiScore.dat"), damaged);
  EXPECT_NE(out.str().find("として残せなかったため"), std::string::npos) << out.str();
  files.failAt = 0;
  LoseWith(host, game, 6);
  EXPECT_EQ(ReadBytes("HiScore.dat.bak"), damaged);
  const std::string nameless = "\x96\xbc\x96\xb3\x82\xb5";  // 名無し
  EXPECT_EQ(ReadBytes("HiScore.dat"), "6,5,0,0,0,0,0,0,0,0\r\n" + nameless + "\r\n" + nameless +
                                          "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

}  // namespace

namespace {

// A score file over 1 MiB is not read: the player is told, the ranking starts
// empty, and the file is kept aside at the first save.
TEST(ScoreFileAtStartUp, OversizedFileIsToldAndKeptAside) {
  TempWorkingDir dir;
  std::string huge = "5,0,0,0,0,0,0,0,0,0\r\nAoi\r\n";
  huge += std::string((1u << 20) + 1, 'x');
  huge += "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
  WriteBytes("HiScore.dat", huge);
  std::ostringstream out;
  SimHost host(out);
  SimGame game(host);
  game.Load();
  EXPECT_NE(out.str().find("msgbox title=\"Pellmora\" text=\"「HiScore.dat」が大きすぎます"),
            std::string::npos)
      << out.str();
  EXPECT_EQ(game.Window().hiScoreTable.hiScores[0], 0);
  host.Wait(1305);
  host.QueueAnswer("Mio");
  LoseWith(host, game, 9);
  EXPECT_EQ(ReadBytes("HiScore.dat.bak"), huge);
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "9,0,0,0,0,0,0,0,0,0\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

// A damaged file kept aside goes back under its name when the new file
// cannot be written, and is kept aside again at the next game over.
TEST(ScoreSaveFailure, DamagedFileGoesBackWhenTheNewOneCannotBeWritten) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", "damaged");
  std::ostringstream out;
  SimHost host(out);
  FaultyFileOps files;
  host.UseFiles(files);
  SimGame game(host);
  game.Load();
  host.Wait(1305);
  files.failAt = 2;  // the move aside works, the new file's creation fails
  files.steps = 0;
  host.QueueAnswer("Aoi");
  LoseWith(host, game, 42);
  EXPECT_EQ(ReadBytes("HiScore.dat"), "damaged");
  EXPECT_FALSE(std::filesystem::exists("HiScore.dat.bak"));
  files.failAt = 0;
  host.QueueAnswer("Mio");
  LoseWith(host, game, 7);
  EXPECT_EQ(ReadBytes("HiScore.dat.bak"), "damaged");
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "42,7,0,0,0,0,0,0,0,0\r\nAoi\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

}  // namespace

}  // namespace pellmora
