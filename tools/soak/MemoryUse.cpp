#include "tools/soak/MemoryUse.h"

#include <malloc.h>
#include <unistd.h>

#include <fstream>

namespace pellmora {

#if defined(__SANITIZE_ADDRESS__)
#define PELLMORA_SOAK_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define PELLMORA_SOAK_ASAN 1
#endif
#endif

#ifdef PELLMORA_SOAK_ASAN
// The sanitizer runtime's own calls; g++ ships no header for them.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
extern "C" void __sanitizer_purge_allocator();
#endif

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long sizePages = 0;
  long residentPages = 0;
  if (!(statm >> sizePages >> residentPages)) return -1;
  return residentPages * (sysconf(_SC_PAGESIZE) / 1024);
}

std::size_t LiveHeapBytes() {
#ifdef PELLMORA_SOAK_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

void ReleaseFreedMemory() {
#ifdef PELLMORA_SOAK_ASAN
  __sanitizer_purge_allocator();
#else
  malloc_trim(0);
#endif
}

}  // namespace pellmora
