// The first start in a browser: the score folder gets the empty table, as
// the desktop launcher gives a new player one.
#pragma once

#include "host/FileOps.h"

namespace pellmora {

// Writes the empty table as the score file when there is none; leaves a
// file that is there, damaged or not, as it is.
FileResult PutEmptyTableIfMissing(FileOps& files);

}  // namespace pellmora
