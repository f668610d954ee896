#include "tools/pellmora-sim/ScriptText.h"

#include <charconv>
#include <cstdint>
#include <system_error>

#include "scores/Utf8.h"

namespace pellmora {

std::string FormatFloat(float value) {
  // -0 is not negative: it prints as 0.
  if (value == 0) return "0";
  // Shortest round trip in fixed notation; a whole value gets no point.
  char buffer[128];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
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
