// The score file byte for byte: what the writer produces and what the reader
// accepts, rejects, and gives back.
#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "scores/ScoreFile.h"
#include "scores/ShiftJis.h"

namespace pellmora {

namespace {

std::string EmptyTableBytes() {
  std::string s = "0,0,0,0,0,0,0,0,0,0\r\n";
  for (int i = 0; i < 10; ++i) s += "\r\n";
  return s;
}

std::string Format(std::initializer_list<int16_t> scores,
                   std::initializer_list<std::string> names) {
  int16_t s[10] = {};
  std::string n[10];
  int i = 0;
  for (auto v : scores) s[i++] = v;
  i = 0;
  for (const auto& v : names) n[i++] = v;
  return FormatScoreFile(s, n);
}

TEST(ScoreFileFormat, EmptyTableIsFortyOneBytes) {
  const std::string bytes = Format({}, {});
  EXPECT_EQ(bytes.size(), 41u);
  EXPECT_EQ(bytes, EmptyTableBytes());
  const ParsedScoreFile parsed = ParseScoreFile(bytes);
  ASSERT_TRUE(parsed.ok);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(parsed.scores[i], 0);
    EXPECT_EQ(parsed.names[i], "");
  }
}

TEST(ScoreFileFormat, ExampleFileInShiftJis) {
  const std::string bytes = Format({842, 610, 95}, {"Aoi", "名無し", "Yuki, Mio"});
  // 名無し in code page 932: 96 BC 96 B3 82 B5
  const std::string expected =
      "842,610,95,0,0,0,0,0,0,0\r\nAoi\r\n\x96\xbc\x96\xb3\x82\xb5\r\nYuki, Mio\r\n"
      "\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
  EXPECT_EQ(bytes, expected);
  const ParsedScoreFile parsed = ParseScoreFile(bytes);
  ASSERT_TRUE(parsed.ok);
  EXPECT_EQ(parsed.scores[0], 842);
  EXPECT_EQ(parsed.scores[2], 95);
  EXPECT_EQ(parsed.names[1], "名無し");
  EXPECT_EQ(parsed.names[2], "Yuki, Mio");
}

TEST(ScoreFileFormat, NamesRoundTripUnchanged) {
  const std::string names[] = {"a,b", "\"quoted\"", "   lead", "trail  ", "①～", "Ω×÷", "-5", ""};
  int16_t scores[10] = {-32768, 32767, -1, 0, 5, 6, 7, 8, 9, 10};
  std::string all[10];
  for (int i = 0; i < 8; ++i) all[i] = names[i];
  const std::string bytes = FormatScoreFile(scores, all);
  EXPECT_NE(bytes.find("-32768,32767,-1,0,5"), std::string::npos);
  EXPECT_NE(bytes.find("\x87\x40\x81\x60"), std::string::npos);  // ① and ～ as code page 932
  const ParsedScoreFile parsed = ParseScoreFile(bytes);
  ASSERT_TRUE(parsed.ok);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(parsed.scores[i], scores[i]) << i;
    EXPECT_EQ(parsed.names[i], all[i]) << i;
  }
}

TEST(ScoreFileFormat, ReaderToleratesWhatTheWriterNeverMakes) {
  // Numbers across lines with spaces around them, CR-only line ends, the last
  // line without its CR LF, and lines after the eleventh.
  const std::string bytes =
      " 5 ,4\r\n3,2,1\r0,0,0\r\n0,-7\r\nA\rB\r\nC\r\nD\r\nE\r\nF\r\nG\r\nH\r\nI\r\nJ";
  ParsedScoreFile parsed = ParseScoreFile(bytes);
  ASSERT_TRUE(parsed.ok) << parsed.failedLine;
  const int16_t want[10] = {5, 4, 3, 2, 1, 0, 0, 0, 0, -7};
  for (int i = 0; i < 10; ++i) EXPECT_EQ(parsed.scores[i], want[i]);
  EXPECT_EQ(parsed.names[0], "A");
  EXPECT_EQ(parsed.names[9], "J");

  parsed = ParseScoreFile(EmptyTableBytes() + "extra line\r\nmore\r\n");
  EXPECT_TRUE(parsed.ok);
}

struct Damaged {
  const char* what;
  std::string bytes;
  int line;
};

TEST(ScoreFileFormat, DamagedFilesAreRejectedWithTheirLine) {
  const std::string names = "\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
  const Damaged cases[] = {
      {"empty file", "", 1},
      {"cut in the numbers", "1,2,3", 1},
      {"score above the range", "32768,0,0,0,0,0,0,0,0,0\r\n" + names, 1},
      {"score below the range", "0,0,0,0,0,0,0,0,0,-32769\r\n" + names, 1},
      {"plus sign", "+5,0,0,0,0,0,0,0,0,0\r\n" + names, 1},
      {"fraction", "1.0,0,0,0,0,0,0,0,0,0\r\n" + names, 1},
      {"empty field", "1,,0,0,0,0,0,0,0,0\r\n" + names, 1},
      {"LF line ends", "0,0,0,0,0,0,0,0,0,0\n\n\n\n\n\n\n\n\n\n\n", 1},
      {"numbers on the second line", "0,0,0,0,0\r\n0,0,x,0,0\r\n" + names, 2},
      {"missing names", "0,0,0,0,0,0,0,0,0,0\r\nA\r\nB\r\n", 4},
      {"cut after a name without its line end", "0,0,0,0,0,0,0,0,0,0\r\nA\r\nB", 3},
      {"empty tenth name without its line end",
       "0,0,0,0,0,0,0,0,0,0\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n", 11},
      {"a byte that is no code page 932", "0,0,0,0,0,0,0,0,0,0\r\nok\r\n\xa0\xfd\r\n" + names, 3},
  };
  for (const auto& c : cases) {
    const ParsedScoreFile parsed = ParseScoreFile(c.bytes);
    EXPECT_FALSE(parsed.ok) << c.what;
    EXPECT_EQ(parsed.failedLine, c.line) << c.what;
  }
}

// A typed name is cut after kMaxNameChars characters of code page 932,
// where a lead byte (0x81-0x9F, 0xE0-0xFC) and the byte after it are one.
TEST(ShiftJisNames, LongNamesAreCutAfterTheLastWholeCharacter) {
  for (const std::string_view sjis : {"\x81\x40", "\x9f\x40", "\xe0\x40", "\xfc\x40", "a", "\xdf"}) {
    const std::string one = ShiftJisToUtf8(sjis).value();
    std::string typed;
    for (std::size_t i = 0; i <= kMaxNameChars; ++i) typed += one;
    const std::string stored = NameAsStored(typed);
    EXPECT_EQ(stored.size(), typed.size() - one.size()) << one;
    EXPECT_EQ(stored, typed.substr(0, stored.size())) << one;
  }
}

TEST(ShiftJisNames, EveryControlCharacterBecomesASpace) {
  for (char c = 1; c < 0x20; ++c) EXPECT_EQ(CleanTypedName(std::string(1, c)), " ") << int{c};
  EXPECT_EQ(CleanTypedName(" !"), " !");
}

TEST(ShiftJisNames, EveryInputMethodTwinIsMapped) {
  EXPECT_EQ(CleanTypedName("〜‖−¢£¬¦—"), "～∥－￠￡￢￤―");
}

TEST(ShiftJisNames, TypedNamesAreMadeStorable) {
  EXPECT_EQ(CleanTypedName("a\tb\r\nc\x7f"), "a b  c ");
  EXPECT_EQ(CleanTypedName("〜−‖¢£¬"), "～－∥￠￡￢");
  EXPECT_EQ(CleanTypedName("   "), "   ");
  // What code page 932 cannot hold is written as one "?" per character.
  EXPECT_EQ(Utf8ToShiftJis("é😀x"), "??x");
  EXPECT_EQ(Utf8ToShiftJis("～"), "\x81\x60");
}

}  // namespace

}  // namespace pellmora
