// How much memory the process holds, to tell a slow leak from the noise.
#pragma once

#include <cstddef>

namespace pellmora {

// Resident set size in KiB, from /proc/self/statm; -1 when unreadable.
long ResidentKiB();

// Bytes the program has allocated and not freed.
std::size_t LiveHeapBytes();

// Under AddressSanitizer freed blocks wait in a quarantine that grows to a
// large fixed size; empty it so that the resident size tells only what the
// program holds. Elsewhere hands free pages back to the system.
void ReleaseFreedMemory();

}  // namespace pellmora
