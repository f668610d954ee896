#include "tools/pellmora-sim/ScriptValues.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <system_error>
#include <type_traits>

#include "headless/SimFormat.h"
#include "host/Host.h"
#include "tools/pellmora-sim/ScriptError.h"
#include "tools/pellmora-sim/ScriptText.h"

namespace pellmora {

namespace {

bool AllDigits(std::string_view word) noexcept {
  if (word.empty()) return false;
  for (const char ch : word) {
    if (ch < '0' || ch > '9') return false;
  }
  return true;
}

[[noreturn]] void Malformed(std::string_view what, std::string_view value, std::string_view name) {
  std::string message = std::string(what) + " for " + Quoted(name) + ", got " + Quoted(value);
  throw ScriptError(message);
}

// Reads a checked decimal text as std::from_chars does: the nearest value; out
// of range when it overflows or a text that is not zero comes out as zero.
// strtod and strtof stand in for it, since the browser toolchain's C++
// library has no floating-point from_chars.
template <typename T>
bool ReadDecimal(std::string_view text, T& value) {
  const std::string copy(text);
  T read;
  if constexpr (std::is_same_v<T, float>) {
    read = std::strtof(copy.c_str(), nullptr);
  } else {
    read = std::strtod(copy.c_str(), nullptr);
  }
  if (std::isinf(read)) return false;
  if (read == 0 && copy.find_first_of("123456789") != std::string::npos) return false;
  value = read;
  return true;
}

}  // namespace

int ParseKey(std::string_view word) {
  if (word == "left") return vbKeyLeft;
  if (word == "up") return vbKeyUp;
  if (word == "right") return vbKeyRight;
  if (word == "down") return vbKeyDown;
  if (word == "esc") return vbKeyEscape;
  int code = -1;
  if (AllDigits(word)) std::from_chars(word.data(), word.data() + word.size(), code);
  if (code < 0 || code > 255) {
    throw ScriptError("unknown key " + Quoted(word) +
                      " (left, up, right, down, esc or a code 0..255)");
  }
  return code;
}

std::int64_t ParseMilliseconds(std::string_view word) {
  if (!AllDigits(word)) {
    throw ScriptError("malformed time " + Quoted(word) + " (a whole number of ms >= 0)");
  }
  std::int64_t ms = 0;
  const auto result = std::from_chars(word.data(), word.data() + word.size(), ms);
  if (result.ec != std::errc{}) throw ScriptError("time out of range " + Quoted(word));
  return ms;
}

double ParseRndValue(std::string_view word) {
  double value = -1;
  if (!IsDecimalNumber(word)) throw ScriptError("malformed number " + Quoted(word));
  // Also refuses a text like 0.99999999999999999 that only reads as 1.
  if (!ReadDecimal(word, value) || !(value >= 0 && value < 1)) {
    throw ScriptError("rnd value " + Quoted(word) + " is not within 0 <= V < 1");
  }
  return value + 0.0;  // -0 becomes 0
}

bool ParseBool(std::string_view value, std::string_view name) {
  if (value == "True") return true;
  if (value == "False") return false;
  Malformed("expected True or False", value, name);
}

float ParseFloat(std::string_view value, std::string_view name) {
  if (!IsDecimalNumber(value)) Malformed("expected a number", value, name);
  float number = 0;
  // Read straight to single precision, so that no double rounding sneaks in.
  if (!ReadDecimal(value, number)) Malformed("number out of range", value, name);
  return number + 0.0f;
}

int16_t ParseInt16(std::string_view value, std::string_view name) {
  if (!IsDecimalNumber(value)) Malformed("expected a whole number", value, name);
  const std::string_view whole = value.substr(0, value.find('.'));
  if (whole.size() < value.size() &&
      value.substr(whole.size() + 1).find_first_not_of('0') != std::string_view::npos) {
    Malformed("expected a whole number", value, name);
  }
  long long number = 0;
  const auto result = std::from_chars(whole.data(), whole.data() + whole.size(), number);
  if (result.ec != std::errc{} || number < INT16_MIN || number > INT16_MAX) {
    Malformed("expected a whole number from -32768 to 32767", value, name);
  }
  return static_cast<int16_t>(number);
}

std::string ParseText(std::string_view value, std::string_view name) {
  if (value.empty() || value.front() != '"') {
    Malformed("expected a text in double quotes", value, name);
  }
  std::string why;
  auto text = ParseQuoted(value, why);
  if (!text) throw ScriptError("malformed text for " + Quoted(name) + ": " + why);
  return std::move(*text);
}

}  // namespace pellmora
