// Values as scripts write them and as print writes them back, so that every
// printed line reads back without doubt. Texts are quoted as the host quotes
// its dialog lines (headless/SimFormat.h).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pellmora {

// A place or size: whole values without a decimal point, fractions in the
// shortest form that reads back to the same float, never an exponent.
std::string FormatFloat(float value);

// True or False.
const char* FormatBool(bool value) noexcept;

// A decimal number as scripts write it: an optional minus sign, digits, and
// optionally a point followed by digits ("12", "-3", "0.1"). No exponent, no
// plus sign, no bare point.
bool IsDecimalNumber(std::string_view text) noexcept;

// Reads a quoted text in the escaping of AppendQuoted; also takes the other
// escapes of JSON (\/ \b \f \uXXXX in either case, surrogate pairs). On
// failure returns nothing and says why.
std::optional<std::string> ParseQuoted(std::string_view quoted, std::string& why);

}  // namespace pellmora
