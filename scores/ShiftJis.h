// Names in the score file are stored in Shift_JIS as Windows writes it (code
// page 932); in the game they are UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pellmora {

// Every character code page 932 cannot hold becomes one "?".
std::string Utf8ToShiftJis(std::string_view utf8);
// Nothing when the bytes are not valid code page 932.
std::optional<std::string> ShiftJisToUtf8(std::string_view shiftJis);
// A typed name made ready to store: control characters become spaces, and
// characters that Linux input methods type where code page 932 has a twin
// (wave dash, minus sign, ...) become that twin.
std::string CleanTypedName(std::string_view typed);

}  // namespace pellmora
