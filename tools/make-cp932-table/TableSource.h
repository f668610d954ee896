// The tables as the C++ source the game compiles (scores/Cp932Table.inc).
#pragma once

#include <string>

#include "tools/make-cp932-table/Cp932Tables.h"

namespace pellmora {

std::string TableSource(const Cp932Tables& tables);

}  // namespace pellmora
