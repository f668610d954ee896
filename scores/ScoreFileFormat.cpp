#include <algorithm>
#include <cstdint>

#include "scores/ScoreFile.h"
#include "scores/ShiftJis.h"

namespace pellmora {

namespace {

// An optional minus sign and digits, within the 16-bit range.
bool ParseNumber(std::string_view field, int16_t& value) {
  while (!field.empty() && field.front() == ' ') field.remove_prefix(1);
  while (!field.empty() && field.back() == ' ') field.remove_suffix(1);
  bool negative = false;
  if (!field.empty() && field.front() == '-') {
    negative = true;
    field.remove_prefix(1);
  }
  if (field.empty()) return false;
  int32_t magnitude = 0;
  for (char c : field) {
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > 32768) return false;
  }
  const int32_t signedValue = negative ? -magnitude : magnitude;
  if (signedValue > 32767) return false;
  value = static_cast<int16_t>(signedValue);
  return true;
}

std::size_t CharacterCount(std::string_view utf8) {
  std::size_t count = 0;
  for (char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

// A lead byte of a two-byte character in code page 932.
bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

}  // namespace

std::string NameAsStored(std::string_view typed) {
  std::string shiftJis = Utf8ToShiftJis(CleanTypedName(typed));
  std::size_t end = 0;
  for (std::size_t chars = 0; end < shiftJis.size() && chars < kMaxNameChars; ++chars) {
    end += IsLeadByte(static_cast<unsigned char>(shiftJis[end])) ? 2 : 1;
  }
  shiftJis.resize(std::min(end, shiftJis.size()));
  return ShiftJisToUtf8(shiftJis).value_or(std::string());
}

ParsedScoreFile ParseScoreFile(std::string_view bytes) {
  ParsedScoreFile result;
  std::size_t p = 0;
  int line = 1;
  const auto fail = [&]() {
    result.failedLine = line;
    return result;
  };
  // A line end is CR LF or a CR alone; an LF alone is not one.
  const auto consumeLineEnd = [&]() {
    ++p;
    if (p < bytes.size() && bytes[p] == '\n') ++p;
    ++line;
  };

  for (int field = 0; field < 10; ++field) {
    const std::size_t start = p;
    while (p < bytes.size() && bytes[p] != ',' && bytes[p] != '\r') ++p;
    const int fieldLine = line;
    const std::string_view text = bytes.substr(start, p - start);
    if (p == bytes.size()) {
      if (field < 9) return fail();  // the file ends before the tenth number
    } else if (bytes[p] == ',') {
      ++p;
    } else {
      consumeLineEnd();
    }
    if (!ParseNumber(text, result.scores[field])) {
      result.failedLine = fieldLine;
      return result;
    }
  }

  for (int i = 0; i < 10; ++i) {
    if (p == bytes.size()) return fail();  // an empty last name still needs its CR LF
    const std::size_t start = p;
    while (p < bytes.size() && bytes[p] != '\r') ++p;
    auto name = ShiftJisToUtf8(bytes.substr(start, p - start));
    if (!name || CharacterCount(*name) > kMaxNameChars) return fail();
    result.names[i] = std::move(*name);
    if (p < bytes.size()) consumeLineEnd();
  }
  result.ok = true;
  return result;
}

std::string FormatScoreFile(const int16_t* scores, const std::string* names) {
  std::string out;
  for (int i = 0; i < 10; ++i) {
    if (i > 0) out += ',';
    out += std::to_string(scores[i]);
  }
  out += "\r\n";
  for (int i = 0; i < 10; ++i) {
    out += Utf8ToShiftJis(names[i]);
    out += "\r\n";
  }
  return out;
}

}  // namespace pellmora
