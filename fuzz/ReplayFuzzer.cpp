// Feeds arbitrary bytes to the replay reader and re-runs what it accepts.
// Besides what the sanitizers catch: a replay the reader accepts is written
// back byte for byte, and re-running it gives a verdict without hanging.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "play/Replay.h"
#include "play/ReplayCheck.h"

using namespace pellmora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ReplayRead read = ReadReplay(bytes);
  if (!read.ok) {
    if (read.error.empty()) {
      std::fputs("replay fuzzer: refused without a word\n", stderr);
      std::abort();
    }
    return 0;
  }
  if (WriteReplay(read.replay) != bytes) {
    std::fputs("replay fuzzer: an accepted replay is written back otherwise\n", stderr);
    std::abort();
  }
  const ReplayVerdict verdict = CheckReplay(read.replay);
  if (verdict.status == ReplayVerdict::Damaged && verdict.problem.empty()) {
    std::fputs("replay fuzzer: damaged without a word\n", stderr);
    std::abort();
  }
  return 0;
}
