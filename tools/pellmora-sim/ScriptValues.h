// Reading the arguments of script commands; each throws ScriptError with
// what is wrong.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pellmora {

// left, up, right, down, esc, or a virtual-key code 0..255 in decimal.
int ParseKey(std::string_view word);
// Milliseconds: a whole number >= 0 written with digits only.
std::int64_t ParseMilliseconds(std::string_view word);
// A value for Rnd: a decimal number, 0 <= v < 1.
double ParseRndValue(std::string_view word);
bool ParseBool(std::string_view value, std::string_view name);
float ParseFloat(std::string_view value, std::string_view name);
// A whole number within -32768..32767 ("3.0" is whole, "3.5" is not).
int16_t ParseInt16(std::string_view value, std::string_view name);
std::string ParseText(std::string_view value, std::string_view name);

}  // namespace pellmora
