#include "tools/make-cp932-table/Cp932Tables.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace pellmora {

namespace {

std::string Hex(unsigned value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%X", value);
  return text;
}

[[noreturn]] void Unfit(const std::string& what) {
  throw std::runtime_error("glibc's WINDOWS-31J does not fit the tables: " + what);
}

// The one code point glibc decoded `bytes` to.
std::uint16_t OneCodePoint(const std::u32string& decoded, unsigned bytes) {
  if (decoded.size() != 1)
    Unfit(Hex(bytes) + " decodes to " + std::to_string(decoded.size()) + " code points");
  if (decoded[0] >= kNoChar) Unfit(Hex(bytes) + " decodes to " + Hex(decoded[0]));
  return static_cast<std::uint16_t>(decoded[0]);
}

}  // namespace

Cp932Tables AskGlibc(GlibcCp932& glibc) {
  Cp932Tables tables;
  std::u32string decoded;
  for (unsigned lead = 0; lead < 256; ++lead) {
    const char first = static_cast<char>(lead);
    tables.single[lead] = kNoChar;
    const Outcome alone = glibc.Decode(std::string_view(&first, 1), decoded);
    if (alone == Outcome::kConverted) tables.single[lead] = OneCodePoint(decoded, lead);
    if (alone != Outcome::kCutShort) continue;

    // A lead byte: glibc waits for the second one.
    std::array<std::uint16_t, 256> row;
    bool anyPair = false;
    for (unsigned trail = 0; trail < 256; ++trail) {
      const char pair[2] = {first, static_cast<char>(trail)};
      const unsigned bytes = lead << 8 | trail;
      row[trail] = kNoChar;
      const Outcome outcome = glibc.Decode(std::string_view(pair, 2), decoded);
      if (outcome == Outcome::kCutShort) Unfit(Hex(bytes) + " waits for a third byte");
      if (outcome != Outcome::kConverted) continue;
      row[trail] = OneCodePoint(decoded, bytes);
      anyPair = true;
      if (trail < tables.firstTrail) tables.firstTrail = static_cast<std::uint8_t>(trail);
      if (trail > tables.lastTrail) tables.lastTrail = static_cast<std::uint8_t>(trail);
    }
    // A lead byte no second byte completes is refused wherever it stands,
    // like a byte that is no character.
    if (!anyPair) continue;
    tables.leads.push_back(static_cast<std::uint8_t>(lead));
    tables.pairs.push_back(row);
  }

  std::string bytes;
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c < 0xE000) continue;  // surrogates are no characters
    const Outcome outcome = glibc.Encode(c, bytes);
    if (outcome == Outcome::kRefused) continue;
    if (outcome == Outcome::kConverted && bytes.empty()) {
      auto& ranges = tables.writtenAsNothing;
      if (!ranges.empty() && ranges.back().second == c - 1) {
        ranges.back().second = c;
      } else {
        ranges.emplace_back(c, c);
      }
      continue;
    }
    if (outcome != Outcome::kConverted || bytes.size() > 2) {
      Unfit(Hex(c) + " encodes to " + std::to_string(bytes.size()) + " bytes");
    }
    if (c >= kNoChar) Unfit(Hex(c) + " is outside the BMP");
    const unsigned first = static_cast<unsigned char>(bytes[0]);
    unsigned code = first;
    if (bytes.size() == 2) {
      if (first == 0) Unfit(Hex(c) + " encodes to a pair that starts with 0");
      code = first << 8 | static_cast<unsigned char>(bytes[1]);
    }
    tables.codes.emplace_back(static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(code));
  }
  return tables;
}

}  // namespace pellmora
