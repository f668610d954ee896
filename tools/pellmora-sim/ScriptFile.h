// Reading a whole script, from a file or from standard input.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pellmora {

// The largest script read: far beyond any scenario or recorded play.
constexpr std::size_t kMaxScriptBytes = std::size_t{64} << 20;

// path "-" is standard input. On failure returns false and says why.
bool ReadScript(const std::string& path, std::string& text, std::string& why);

// The script's lines without their line ends; line n is element n - 1. One CR
// before the LF is dropped too, so that a script saved with CR LF line ends
// runs the same (no command needs a CR at the end of a line).
std::vector<std::string_view> ScriptLines(std::string_view text);

}  // namespace pellmora
