// A name typed at the prompt is held as the file will give it back, so the
// ranking shows the same name before and after a restart; and the reader
// takes every file the writer can make, the longest names included.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "headless/SimGame.h"
#include "headless/SimHost.h"
#include "scores/ScoreFile.h"
#include "tests/support/GameOver.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

const std::string kEmptyTable = "0,0,0,0,0,0,0,0,0,0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";

std::string Repeat(const std::string& piece, std::size_t times) {
  std::string out;
  for (std::size_t i = 0; i < times; ++i) out += piece;
  return out;
}

struct Copy {
  std::ostringstream out;
  SimHost host;
  SimGame game;
  Copy() : host(out), game(host) {
    game.Load();
    host.Wait(1305);
  }
  std::string Shown(int slot) {
    game.Click(SimButton::Command2);
    return host.Form2()->Text1[slot].Text;
  }
};

TEST(ScoreNames, RankingShowsTheNameAsARestartWill) {
  TempWorkingDir dir;
  WriteBytes(kHiScoreFileName, kEmptyTable);
  {
    Copy copy;
    copy.host.QueueAnswer("🎮 gamer 한국어\tＡ");
    ASSERT_TRUE(EndGameWith(copy.host, copy.game, 50));
    // Code page 932 has no game pad, no hangul: one "?" each; a tab is a space.
    EXPECT_EQ(copy.Shown(0), "? gamer ??? Ａ");
  }
  Copy restarted;
  EXPECT_EQ(restarted.out.str(), "");
  EXPECT_EQ(restarted.Shown(0), "? gamer ??? Ａ");
}

TEST(ScoreNames, LongestNamesAreWrittenAndReadBack) {
  TempWorkingDir dir;
  WriteBytes(kHiScoreFileName, kEmptyTable);
  const std::string kept = Repeat("あ", kMaxNameChars);
  {
    Copy copy;
    for (int i = 1; i <= 10; ++i) {
      copy.host.QueueAnswer(Repeat("あ", 40000));  // longer than any text box takes
      ASSERT_TRUE(EndGameWith(copy.host, copy.game, static_cast<int16_t>(i)));
    }
    EXPECT_EQ(copy.game.Window().hiNames[0], kept);
  }
  // "10,9,...,1" and CR LF, then ten names of 32,767 two-byte characters.
  const std::string bytes = ReadBytes(kHiScoreFileName);
  EXPECT_EQ(bytes.size(), 22u + 10u * (2u * 32767u + 2u));
  Copy restarted;
  EXPECT_EQ(restarted.out.str(), "");  // no damaged-file message
  EXPECT_EQ(restarted.game.Window().hiScores[9], 1);
  EXPECT_EQ(restarted.Shown(9), kept);
}

TEST(ScoreNames, NameLongerThanAnyWrittenIsDamage) {
  const std::string table = "1,0,0,0,0,0,0,0,0,0\r\nAoi\r\n" + std::string(kMaxNameChars + 1, 'x') +
                            "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
  const ParsedScoreFile parsed = ParseScoreFile(table);
  EXPECT_FALSE(parsed.ok);
  EXPECT_EQ(parsed.failedLine, 3);
  std::string longest = table;
  longest.erase(longest.find('x'), 1);
  EXPECT_TRUE(ParseScoreFile(longest).ok);
}

}  // namespace

}  // namespace pellmora
