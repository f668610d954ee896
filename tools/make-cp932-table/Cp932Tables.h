// Code page 932 as glibc converts it, gathered into the tables the game
// converts with: what every byte and every pair of bytes decodes to, and the
// bytes glibc writes for every code point the code page holds.
#pragma once

#include <array>
#include <cstdint>
#include <utility>
#include <vector>

#include "tools/make-cp932-table/GlibcCp932.h"

namespace pellmora {

// What no byte or pair decodes to; it marks the ones that are no character.
constexpr std::uint16_t kNoChar = 0xFFFF;

struct Cp932Tables {
  // A byte alone: its code point, or kNoChar (lead bytes too).
  std::array<std::uint16_t, 256> single{};
  // The bytes a second byte follows, ascending, and for each its row of pairs
  // over every second byte.
  std::vector<std::uint8_t> leads;
  std::vector<std::array<std::uint16_t, 256>> pairs;
  // The second bytes that make a character with some lead byte.
  std::uint8_t firstTrail = 0xFF;
  std::uint8_t lastTrail = 0;
  // (code point, bytes) by code point; bytes are one byte, or lead << 8 | trail.
  std::vector<std::pair<std::uint16_t, std::uint16_t>> codes;
  // Ranges of code points glibc takes and writes nothing for (the tag
  // characters), first and last.
  std::vector<std::pair<char32_t, char32_t>> writtenAsNothing;
};

// Throws std::runtime_error when glibc's answers do not fit these tables
// (a character outside the BMP, a sequence of three bytes, ...).
Cp932Tables AskGlibc(GlibcCp932& glibc);

}  // namespace pellmora
