// A name typed at the prompt is held as the file will give it back, so the
// ranking shows the same name before and after a restart; and the reader
// takes every file the writer can make, the longest names included.
#include <gtest/gtest.h>

#include <string>

#include "scores/ScoreFile.h"
#include "tests/support/RunningGame.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

const std::string kEmptyTable = "0,0,0,0,0,0,0,0,0,0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(ScoreNames, RankingShowsTheNameAsARestartWill) {
  TempWorkingDir dir;
  WriteBytes(kHiScoreFileName, kEmptyTable);
  {
    RunningGame copy;
    ASSERT_TRUE(copy.Play(50, "🎮 gamer 한국어\tＡ"));
    // Code page 932 has no game pad, no hangul: one "?" each; a tab is a space.
    EXPECT_EQ(copy.Shown(0), "? gamer ??? Ａ");
  }
  RunningGame restarted;
  EXPECT_EQ(restarted.out.str(), "");
  EXPECT_EQ(restarted.Shown(0), "? gamer ??? Ａ");
}

TEST(ScoreNames, LongestNamesAreWrittenAndReadBack) {
  TempWorkingDir dir;
  WriteBytes(kHiScoreFileName, kEmptyTable);
  const std::string kept = Repeat("あ", kMaxNameChars);
  {
    RunningGame copy;
    // Longer than any text box takes.
    for (int i = 1; i <= 10; ++i)
      ASSERT_TRUE(copy.Play(static_cast<int16_t>(i), Repeat("あ", 40000)));
    EXPECT_EQ(copy.game.Window().hiScoreTable.hiNames[0], kept);
  }
  // "10,9,...,1" and CR LF, then ten names of 32,767 two-byte characters.
  EXPECT_EQ(ReadBytes(kHiScoreFileName).size(), 22u + 10u * (2u * 32767u + 2u));
  RunningGame restarted;
  EXPECT_EQ(restarted.out.str(), "");  // no damaged-file message
  EXPECT_EQ(restarted.game.Window().hiScoreTable.hiScores[9], 1);
  EXPECT_EQ(restarted.Shown(9), kept);

  // One character more is no name the game writes: damaged, at its line.
  std::string longer = "1,0,0,0,0,0,0,0,0,0\r\nAoi\r\n" + std::string(kMaxNameChars + 1, 'x');
  longer += "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
  EXPECT_EQ(ParseScoreFile(longer).failedLine, 3);
  longer.erase(longer.find('x'), 1);
  EXPECT_TRUE(ParseScoreFile(longer).ok);
}

}  // namespace

}  // namespace pellmora
