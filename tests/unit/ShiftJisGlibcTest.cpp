// The code page 932 converter against glibc's "WINDOWS-31J", which the names
// went through before the game carried its own tables: every code point a
// name can hold, every byte and pair of bytes a file can hold, and malformed
// UTF-8, which the writer took one sequence at a time.
#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "scores/ShiftJis.h"

namespace pellmora {
namespace {

// glibc's converter between two encodings; nothing when it refuses the input
// or the input is cut short.
class Glibc {
 public:
  Glibc(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Glibc() {
    if (Ready()) iconv_close(cd_);
  }
  Glibc(const Glibc&) = delete;
  Glibc& operator=(const Glibc&) = delete;

  bool Ready() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> Convert(std::string_view in) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    // Four bytes out for each byte in is enough between these encodings.
    if (buffer_.size() < in.size() * 4) buffer_.resize(in.size() * 4);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = buffer_.data();
    std::size_t outLeft = buffer_.size();
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) ||
        iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) {
      return std::nullopt;
    }
    return std::string(buffer_.data(), buffer_.size() - outLeft);
  }

 private:
  iconv_t cd_;
  std::string buffer_ = std::string(64, '\0');
};

std::string Hex(std::string_view bytes) {
  std::string out;
  char text[4];
  for (unsigned char c : bytes) {
    std::snprintf(text, sizeof text, "%02X ", c);
    out += text;
  }
  return out;
}

std::string Show(const std::optional<std::string>& text) {
  return text ? Hex(*text) : "<refused>";
}

// Collects disagreements and reports the first few.
class Disagreements {
 public:
  void Add(std::string_view input, const std::string& want, const std::string& got) {
    if (++count_ <= 10) shown_ += "  " + Hex(input) + ": glibc " + want + ", ours " + got + "\n";
  }
  int Count() const { return count_; }
  const std::string& Shown() const { return shown_; }

 private:
  int count_ = 0;
  std::string shown_;
};

// What the writer made of malformed UTF-8 when it went through glibc: a lead
// byte takes the bytes it announces (F0-F7 four, E0-FF three, C0-DF two; a
// stray byte stands alone, the last sequence may be cut short), and each such
// sequence glibc refused became one "?".
std::string WrittenThroughGlibc(Glibc& toCodePage, std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    std::size_t n = lead >= 0xF0 && lead < 0xF8 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (n > utf8.size() - i) n = utf8.size() - i;
    out += toCodePage.Convert(utf8.substr(i, n)).value_or("?");
    i += n;
  }
  return out;
}

class ShiftJisGlibc : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(toCodePage_.Ready() && fromCodePage_.Ready() && fromUtf32_.Ready())
        << "glibc's WINDOWS-31J converter is missing";
  }

  Glibc toCodePage_{"WINDOWS-31J", "UTF-8"};
  Glibc fromCodePage_{"UTF-8", "WINDOWS-31J"};
  Glibc fromUtf32_{"UTF-8", "UTF-32LE"};
};

TEST_F(ShiftJisGlibc, KnownCharactersOnBothSides) {
  // From the code page's own table, so that the oracle is seen to work.
  const std::pair<const char*, const char*> known[] = {
      {"あ", "\x82\xa0"}, {"亜", "\x88\x9f"}, {"①", "\x87\x40"},
      {"～", "\x81\x60"}, {"Ω", "\x83\xb6"},  {"ｱ", "\xb1"},
  };
  for (const auto& [utf8, bytes] : known) {
    EXPECT_EQ(toCodePage_.Convert(utf8), bytes) << utf8;
    EXPECT_EQ(Utf8ToShiftJis(utf8), bytes) << utf8;
    EXPECT_EQ(fromCodePage_.Convert(bytes), utf8) << utf8;
    EXPECT_EQ(ShiftJisToUtf8(bytes), utf8) << utf8;
  }
}

TEST_F(ShiftJisGlibc, EveryCodePointIsWrittenAsGlibcWritesIt) {
  Disagreements disagreements;
  int held = 0;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;
    const char utf32[4] = {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF),
                           static_cast<char>((c >> 16) & 0xFF), 0};
    const std::optional<std::string> utf8 = fromUtf32_.Convert(std::string_view(utf32, 4));
    ASSERT_TRUE(utf8) << "U+" << std::hex << static_cast<unsigned>(c);
    const std::optional<std::string> want = toCodePage_.Convert(*utf8);
    held += want ? 1 : 0;
    const std::string got = Utf8ToShiftJis(*utf8);
    if (got != want.value_or("?")) disagreements.Add(*utf8, Show(want), Hex(got));
  }
  EXPECT_EQ(disagreements.Count(), 0) << disagreements.Shown();
  EXPECT_GT(held, 0);
}

TEST_F(ShiftJisGlibc, EveryByteAndPairIsReadAsGlibcReadsIt) {
  Disagreements disagreements;
  for (unsigned first = 0; first < 256; ++first) {
    const std::string single(1, static_cast<char>(first));
    const auto want = fromCodePage_.Convert(single);
    const auto got = ShiftJisToUtf8(single);
    if (got != want) disagreements.Add(single, Show(want), Show(got));
    for (unsigned second = 0; second < 256; ++second) {
      const std::string pair = {static_cast<char>(first), static_cast<char>(second)};
      const auto pairWant = fromCodePage_.Convert(pair);
      const auto pairGot = ShiftJisToUtf8(pair);
      if (pairGot != pairWant) disagreements.Add(pair, Show(pairWant), Show(pairGot));
    }
  }
  EXPECT_EQ(disagreements.Count(), 0) << disagreements.Shown();
}

TEST_F(ShiftJisGlibc, LongerByteStringsAreReadAsGlibcReadsThem) {
  // Pieces glibc reads as one character each, strung together, sometimes with
  // a byte changed or the last one dropped; and bytes drawn at random.
  std::vector<std::string> pieces;
  for (unsigned first = 0; first < 256; ++first) {
    const std::string single(1, static_cast<char>(first));
    if (fromCodePage_.Convert(single)) {
      pieces.push_back(single);
      continue;
    }
    for (unsigned second = 0; second < 256; ++second) {
      const std::string pair = single + static_cast<char>(second);
      if (fromCodePage_.Convert(pair)) pieces.push_back(pair);
    }
  }
  ASSERT_GT(pieces.size(), 256u);
  std::mt19937 random(932);
  Disagreements disagreements;
  int read = 0;
  for (int round = 0; round < 100000; ++round) {
    std::string bytes;
    if (round % 2 == 0) {
      const int count = 2 + static_cast<int>(random() % 8);
      for (int k = 0; k < count; ++k) bytes += pieces[random() % pieces.size()];
      if (random() % 4 == 0) bytes[random() % bytes.size()] = static_cast<char>(random() % 256);
      if (random() % 8 == 0) bytes.pop_back();
    } else {
      const int count = 1 + static_cast<int>(random() % 8);
      for (int k = 0; k < count; ++k) bytes += static_cast<char>(random() % 256);
    }
    const auto want = fromCodePage_.Convert(bytes);
    read += want ? 1 : 0;
    const auto got = ShiftJisToUtf8(bytes);
    if (got != want) disagreements.Add(bytes, Show(want), Show(got));
  }
  EXPECT_EQ(disagreements.Count(), 0) << disagreements.Shown();
  EXPECT_GT(read, 10000);  // most strung-together strings stay readable
}

TEST_F(ShiftJisGlibc, MalformedUtf8IsWrittenAsBefore) {
  // Worked by hand from the rule above.
  const std::pair<std::string, std::string> worked[] = {
      {"\x80\xbf", "??"},  // stray continuation bytes
      {"\xc3"
       "a",
       "?"},                // the lead byte takes the "a" with it
      {"a\xe3\x81", "a?"},  // cut short at the end
      {"\xf8"
       "AB!",
       "?!"},                     // no UTF-8 lead byte, three bytes all the same
      {"\xc0\xaf", "?"},          // overlong "/"
      {"\xe0\x80\x80", "?"},      // overlong NUL
      {"\xed\xa0\x80", "?"},      // a surrogate
      {"\xf4\x90\x80\x80", "?"},  // past U+10FFFF
      {"\xf3\xa0\x81\x81", ""},   // a tag character: glibc writes nothing for it
  };
  for (const auto& [utf8, bytes] : worked) {
    EXPECT_EQ(Utf8ToShiftJis(utf8), bytes) << Hex(utf8);
    EXPECT_EQ(WrittenThroughGlibc(toCodePage_, utf8), bytes) << Hex(utf8);
  }

  // Every string of one and two bytes, and of three and four bytes over
  // bytes at the edges of UTF-8's ranges.
  const unsigned char edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0,
                                 0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xED, 0xF0, 0xF4};
  std::vector<std::string> inputs;
  for (unsigned a = 0; a < 256; ++a) {
    inputs.push_back(std::string(1, static_cast<char>(a)));
    for (unsigned b = 0; b < 256; ++b)
      inputs.push_back({static_cast<char>(a), static_cast<char>(b)});
    for (unsigned char b : edges) {
      for (unsigned char c : edges) {
        inputs.push_back({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c)});
        if (a < 0xE0) continue;
        for (unsigned char d : edges) {
          inputs.push_back({static_cast<char>(a), static_cast<char>(b), static_cast<char>(c),
                            static_cast<char>(d)});
        }
      }
    }
  }
  Disagreements disagreements;
  for (const std::string& utf8 : inputs) {
    const std::string want = WrittenThroughGlibc(toCodePage_, utf8);
    const std::string got = Utf8ToShiftJis(utf8);
    if (got != want) disagreements.Add(utf8, Hex(want), Hex(got));
  }
  EXPECT_EQ(disagreements.Count(), 0) << disagreements.Shown();
}

TEST_F(ShiftJisGlibc, WhatTheCodePageCannotHoldBecomesOneQuestionMarkEach) {
  // A, é, 名, 😀, ①, €, Ω, ¥, 丂 (U+4E02, in no JIS row), ‾
  const std::string name = "Aé名😀①€Ω¥丂‾";
  EXPECT_EQ(Utf8ToShiftJis(name), "A?\x96\xbc?\x87\x40?\x83\xb6\\?~");
  // glibc refuses the whole name; character by character it agrees.
  EXPECT_FALSE(toCodePage_.Convert(name));
  EXPECT_EQ(WrittenThroughGlibc(toCodePage_, name), Utf8ToShiftJis(name));
}

}  // namespace
}  // namespace pellmora
