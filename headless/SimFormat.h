// How the simulated host writes texts on its output: one value a line, in
// an escaping that a script can read back.
#pragma once

#include <string>
#include <string_view>

namespace pellmora {

// Appends the text in double quotes: \" \\ \n \r \t, \u00xx (lowercase hex)
// for the other characters below U+0020, every other byte unchanged.
void AppendQuoted(std::string& out, std::string_view text);
std::string Quoted(std::string_view text);

}  // namespace pellmora
