#include "tools/pellmora-sim/ScriptText.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "scores/Utf8.h"

namespace pellmora {

namespace {

// The neighbour of a fixed-notation magnitude one unit in its last place up
// (+1) or down (-1).
std::string StepLastDigit(std::string fixed, int delta) {
  for (auto i = static_cast<std::ptrdiff_t>(fixed.size()) - 1; i >= 0; --i) {
    char& digit = fixed[static_cast<std::size_t>(i)];
    if (digit == '.') continue;
    if (delta > 0 && digit == '9') {
      digit = '0';
    } else if (delta < 0 && digit == '0') {
      digit = '9';
    } else {
      digit = static_cast<char>(digit + delta);
      return fixed;
    }
  }
  return delta > 0 ? "1" + fixed : fixed;
}

}  // namespace

// The shortest fixed notation that reads back to the same float, the nearest
// one among equals: what std::to_chars(fixed) writes, built on printf and
// strtof, which every C library has (the browser toolchain's C++ library has
// no floating-point to_chars).
std::string FormatFloat(float value) {
  // -0 is not negative: it prints as 0.
  if (value == 0) return "0";
  char buffer[128];
  // A whole value is written exactly, with no point.
  if (std::nearbyint(value) == value) {
    std::snprintf(buffer, sizeof buffer, "%.0f", static_cast<double>(value));
    return buffer;
  }
  const float magnitude = std::fabs(value);
  for (int digits = 1;; ++digits) {
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, static_cast<double>(magnitude));
    std::string found = buffer;
    // Next to a power of two the gap below is half the gap above, so the
    // nearest text may miss while its neighbour reads back.
    for (const int delta : {0, 1, -1}) {
      const std::string candidate = delta == 0 ? found : StepLastDigit(found, delta);
      if (std::strtof(candidate.c_str(), nullptr) == magnitude) {
        return value < 0 ? "-" + candidate : candidate;
      }
    }
  }
}

const char* FormatBool(bool value) noexcept {
  return value ? "True" : "False";
}

namespace {

bool IsDigit(char ch) noexcept {
  return ch >= '0' && ch <= '9';
}

std::size_t SkipDigits(std::string_view text, std::size_t at) noexcept {
  while (at < text.size() && IsDigit(text[at])) ++at;
  return at;
}

int HexValue(char ch) noexcept {
  if (ch >= '0' && ch <= '9') return ch - '0';
  if (ch >= 'a' && ch <= 'f') return ch - 'a' + 10;
  if (ch >= 'A' && ch <= 'F') return ch - 'A' + 10;
  return -1;
}

// Four hex digits at text[at..at+3], or -1.
long Hex4(std::string_view text, std::size_t at) noexcept {
  if (at + 4 > text.size()) return -1;
  long value = 0;
  for (std::size_t i = at; i < at + 4; ++i) {
    const int digit = HexValue(text[i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

}  // namespace

bool IsDecimalNumber(std::string_view text) noexcept {
  std::size_t at = 0;
  if (at < text.size() && text[at] == '-') ++at;
  const std::size_t digitsEnd = SkipDigits(text, at);
  if (digitsEnd == at) return false;
  at = digitsEnd;
  if (at == text.size()) return true;
  if (text[at] != '.') return false;
  const std::size_t fractionEnd = SkipDigits(text, at + 1);
  return fractionEnd > at + 1 && fractionEnd == text.size();
}

std::optional<std::string> ParseQuoted(std::string_view quoted, std::string& why) {
  if (quoted.size() < 2 || quoted.front() != '"') {
    why = "expected a text in double quotes";
    return std::nullopt;
  }
  std::string text;
  std::size_t at = 1;
  while (true) {
    if (at >= quoted.size()) {
      why = "text without closing quote";
      return std::nullopt;
    }
    const char ch = quoted[at];
    if (ch == '"') break;
    if (static_cast<unsigned char>(ch) < 0x20) {
      why = "control character inside a text (write it escaped)";
      return std::nullopt;
    }
    if (ch != '\\') {
      text += ch;
      ++at;
      continue;
    }
    if (at + 1 >= quoted.size()) {
      why = "text without closing quote";
      return std::nullopt;
    }
    const char escape = quoted[at + 1];
    at += 2;
    switch (escape) {
      case '"':
        text += '"';
        break;
      case '\\':
        text += '\\';
        break;
      case '/':
        text += '/';
        break;
      case 'b':
        text += '\b';
        break;
      case 'f':
        text += '\f';
        break;
      case 'n':
        text += '\n';
        break;
      case 'r':
        text += '\r';
        break;
      case 't':
        text += '\t';
        break;
      case 'u': {
        long code = Hex4(quoted, at);
        if (code < 0) {
          why = "\\u needs four hex digits";
          return std::nullopt;
        }
        at += 4;
        if (code >= 0xDC00 && code <= 0xDFFF) {
          why = "lone low surrogate in \\u escape";
          return std::nullopt;
        }
        if (code >= 0xD800 && code <= 0xDBFF) {
          const long low = (at + 1 < quoted.size() && quoted[at] == '\\' && quoted[at + 1] == 'u')
                               ? Hex4(quoted, at + 2)
                               : -1;
          if (low < 0xDC00 || low > 0xDFFF) {
            why = "high surrogate in \\u escape without its low half";
            return std::nullopt;
          }
          at += 6;
          code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        AppendUtf8(text, static_cast<char32_t>(code));
        break;
      }
      default:
        why = std::string("unknown escape \\") + escape;
        return std::nullopt;
    }
  }
  if (at + 1 != quoted.size()) {
    why = "text after the closing quote";
    return std::nullopt;
  }
  return text;
}

}  // namespace pellmora
