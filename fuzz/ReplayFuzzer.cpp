// Feeds arbitrary bytes to the replay reader and re-runs what it accepts.
// Besides what the sanitizers catch: a replay the reader accepts is written
// back byte for byte (format 1) or to a file that reads back the same
// (format 2: many deflate streams unpack alike), and re-running it gives a
// verdict without hanging.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
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
  const std::string written = WriteReplay(read.replay);
  bool same = written == bytes;
  if (!same && read.replay.format >= 2) {
    const ReplayRead again = ReadReplay(written);
    const Replay& a = read.replay;
    const Replay& b = again.replay;
    same = again.ok && a.format == b.format && a.rules == b.rules && a.host == b.host &&
           a.date == b.date && a.name == b.name && a.score == b.score &&
           a.luck.seed == b.luck.seed && a.luck.draws == b.luck.draws && a.scripted == b.scripted &&
           a.events == b.events &&
           std::memcmp(a.start.bytes, b.start.bytes, GameSnapshot::kBytes) == 0 &&
           WriteReplay(b) == written;
  }
  if (!same) {
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
