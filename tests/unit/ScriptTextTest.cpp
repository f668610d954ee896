// The value lines of the headless runs: texts escaped by the host so that one
// line holds one value and the script reader takes them back, places in the
// shortest form that reads back exactly.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "headless/SimFormat.h"
#include "tools/pellmora-sim/ScriptText.h"

namespace pellmora {

namespace {

TEST(SimFormat, TextsAreEscapedAsJson) {
  EXPECT_EQ(Quoted(""), "\"\"");
  EXPECT_EQ(Quoted("a\"b\\c"), "\"a\\\"b\\\\c\"");
  EXPECT_EQ(Quoted("\n\r\t"), "\"\\n\\r\\t\"");
  EXPECT_EQ(Quoted(std::string("\x01\x1f\b\f", 4)), "\"\\u0001\\u001f\\u0008\\u000c\"");
  EXPECT_EQ(Quoted(std::string("\0", 1)), "\"\\u0000\"");
  EXPECT_EQ(Quoted("\x7f"), "\"\x7f\"");  // DEL as it is
  EXPECT_EQ(Quoted("名無し　/"), "\"名無し　/\"");
}

TEST(SimFormat, QuotedTextsReadBack) {
  std::string why;
  const std::string all = [] {
    std::string text;
    for (int c = 0; c < 128; ++c) text += static_cast<char>(c);
    return text + "点\u3000";
  }();
  const auto back = ParseQuoted(Quoted(all), why);
  ASSERT_TRUE(back.has_value()) << why;
  EXPECT_EQ(*back, all);

  EXPECT_EQ(ParseQuoted("\"\\u00e9\\u3042\\ud83d\\ude00\\/\"", why).value_or("?"),
            "é\u3042\U0001F600/");
  EXPECT_EQ(ParseQuoted("\"\\u001F\"", why).value_or("?"), "\x1f");
}

TEST(SimFormat, MalformedTextsAreRefused) {
  for (const char* bad : {"", "\"", "abc", "\"abc", "\"a\"b", "\"a\" ", "\"\\x\"", "\"\\u12\"",
                          "\"\\u12g4\"", "\"\\ud83d\"", "\"\\ude00\"", "\"tab\there\"", "\"\\\""}) {
    std::string why;
    EXPECT_FALSE(ParseQuoted(bad, why).has_value()) << bad;
    EXPECT_FALSE(why.empty()) << bad;
  }
}

TEST(SimFormat, FloatsAreShortWholeOrFractionalNeverExponent) {
  EXPECT_EQ(FormatFloat(583.0f), "583");
  EXPECT_EQ(FormatFloat(-88.0f), "-88");
  EXPECT_EQ(FormatFloat(0.0f), "0");
  EXPECT_EQ(FormatFloat(-0.0f), "0");
  EXPECT_EQ(FormatFloat(12.5f), "12.5");
  EXPECT_EQ(FormatFloat(0.1f), "0.1");
  EXPECT_EQ(FormatFloat(-3.25f), "-3.25");
  EXPECT_EQ(FormatFloat(1e-7f), "0.0000001");
  EXPECT_EQ(FormatFloat(1e10f), "10000000000");
  EXPECT_EQ(FormatFloat(16777217.0f), "16777216");
}

TEST(SimFormat, EveryFloatReadsBackExactly) {
  std::mt19937 bits(5);
  for (int i = 0; i < 200000; ++i) {
    const std::uint32_t pattern = bits();
    float value;
    std::memcpy(&value, &pattern, sizeof value);
    if (!std::isfinite(value)) continue;
    const std::string text = FormatFloat(value);
    ASSERT_EQ(text.find_first_of("eE"), std::string::npos) << text;
    ASSERT_EQ(std::strtof(text.c_str(), nullptr), value) << text;
    if (value == std::floor(value)) {
      ASSERT_EQ(text.find('.'), std::string::npos) << text;
    }
  }
}

TEST(SimFormat, DecimalNumbersAreDigitsWithAnOptionalSignAndFraction) {
  for (const char* good : {"0", "12", "-3", "0.1", "-0.5", "007", "12.50"}) {
    EXPECT_TRUE(IsDecimalNumber(good)) << good;
  }
  for (const char* bad : {"", "-", "+1", ".5", "5.", "1e5", "1.2.3", " 1", "1 ", "0x10", "-.5",
                          "nan", "inf", "1,5"}) {
    EXPECT_FALSE(IsDecimalNumber(bad)) << bad;
  }
}

}  // namespace

}  // namespace pellmora
