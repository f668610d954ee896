// The CSS font families of the design fonts: the IPA fonts of the same kind,
// as the page ships them.
#pragma once

#include <string>

namespace pellmora {

// A CSS font-family list for a design font name ("ＭＳ 明朝" ...).
std::string CssFontFamily(const char* designFamily);

}  // namespace pellmora
