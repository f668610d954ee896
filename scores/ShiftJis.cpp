#include "scores/ShiftJis.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "scores/Cp932Table.inc"
#include "scores/Utf8.h"

namespace pellmora {

namespace {

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

char32_t Decode(std::string_view s) {
  const auto b = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(s[i]));
  };
  switch (s.size()) {
    case 2:
      return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
      return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    case 4:
      return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    default:
      return b(0);
  }
}

// The code point `sequence` stands for when it is one whole UTF-8 sequence
// in its shortest form, no surrogate and not past U+10FFFF; nothing for a
// stray, cut or overlong sequence, which the writer cannot take.
std::optional<char32_t> DecodeWhole(std::string_view sequence) {
  const auto lead = static_cast<unsigned char>(sequence[0]);
  std::size_t length = 0;
  char32_t least = 0;
  if (lead < 0x80) {
    length = 1;
  } else if (lead >= 0xC2 && lead < 0xE0) {
    length = 2;
    least = 0x80;
  } else if (lead >= 0xE0 && lead < 0xF0) {
    length = 3;
    least = 0x800;
  } else if (lead >= 0xF0 && lead < 0xF5) {
    length = 4;
    least = 0x10000;
  } else {
    return std::nullopt;
  }
  if (sequence.size() != length) return std::nullopt;
  for (std::size_t i = 1; i < length; ++i) {
    if ((static_cast<unsigned char>(sequence[i]) & 0xC0) != 0x80) return std::nullopt;
  }
  const char32_t c = Decode(sequence);
  if (c < least || c > 0x10FFFF || (c >= 0xD800 && c < 0xE000)) return std::nullopt;
  return c;
}

// Appends code page 932's bytes for `c`; false when it holds no such character.
bool AppendCodePage(std::string& out, char32_t c) {
  for (const auto& range : cp932::kWrittenAsNothing) {
    if (c >= range.first && c <= range.last) return true;
  }
  const auto* end = std::end(cp932::kCodes);
  const auto* code = std::lower_bound(
      std::begin(cp932::kCodes), end, c,
      [](const cp932::Code& entry, char32_t wanted) { return entry.codePoint < wanted; });
  if (code == end || code->codePoint != c) return false;
  if (code->bytes > 0xFF) out += static_cast<char>(code->bytes >> 8);
  out += static_cast<char>(code->bytes & 0xFF);
  return true;
}

// Code points Linux input methods produce where code page 932 holds a twin.
constexpr std::pair<char32_t, char32_t> kTwins[] = {
    {0x301C, 0xFF5E},  // wave dash → fullwidth tilde
    {0x2016, 0x2225},  // double vertical line → parallel to
    {0x2212, 0xFF0D},  // minus sign → fullwidth hyphen-minus
    {0x00A2, 0xFFE0},  // cent
    {0x00A3, 0xFFE1},  // pound
    {0x00AC, 0xFFE2},  // not sign
    {0x00A6, 0xFFE4},  // broken bar
    {0x2014, 0x2015},  // em dash → horizontal bar
};

}  // namespace

std::string Utf8ToShiftJis(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t n = SequenceLength(static_cast<unsigned char>(utf8[i]));
    if (i + n > utf8.size()) n = utf8.size() - i;
    const std::optional<char32_t> c = DecodeWhole(utf8.substr(i, n));
    if (!c || !AppendCodePage(out, *c)) out += '?';
    i += n;
  }
  return out;
}

std::optional<std::string> ShiftJisToUtf8(std::string_view shiftJis) {
  std::string out;
  out.reserve(shiftJis.size() * 3 / 2);
  for (std::size_t i = 0; i < shiftJis.size();) {
    const auto byte = static_cast<unsigned char>(shiftJis[i++]);
    std::uint16_t c = cp932::kSingle[byte];
    const std::uint8_t row = cp932::kLeadRow[byte];
    if (row != cp932::kNoRow) {
      if (i == shiftJis.size()) return std::nullopt;  // the pair is cut short
      const auto trail = static_cast<unsigned char>(shiftJis[i++]);
      if (trail < cp932::kFirstTrail || trail > cp932::kLastTrail) return std::nullopt;
      c = cp932::kPairs[row][trail - cp932::kFirstTrail];
    }
    if (c == cp932::kNoChar) return std::nullopt;
    AppendUtf8(out, c);
  }
  return out;
}

std::string CleanTypedName(std::string_view typed) {
  std::string out;
  out.reserve(typed.size());
  for (std::size_t i = 0; i < typed.size();) {
    std::size_t n = SequenceLength(static_cast<unsigned char>(typed[i]));
    if (i + n > typed.size()) n = typed.size() - i;
    const char32_t c = Decode(typed.substr(i, n));
    char32_t twin = c;
    for (const auto& [from, to] : kTwins) {
      if (c == from) twin = to;
    }
    if (c < 0x20 || c == 0x7F) {
      out += ' ';  // a name stays one line
    } else if (twin != c) {
      AppendUtf8(out, twin);
    } else {
      out.append(typed.substr(i, n));  // as typed
    }
    i += n;
  }
  return out;
}

}  // namespace pellmora
