// pellmora-soak TICKS [--seed N]: plays TICKS ticks of 10 ms on the simulated
// host and prints one line of totals; exits 1 at the first broken invariant.
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "tools/soak/SoakFailure.h"
#include "tools/soak/SoakRun.h"

using namespace pellmora;

namespace {

bool ParseCount(const char* text, unsigned long long& value) {
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(text, &end, 10);
  return errno == 0 && end != text && *end == '\0' && text[0] != '-';
}

}  // namespace

int main(int argc, char** argv) {
  unsigned long long ticks = 0;
  unsigned long long seed = 1;
  bool usage = argc != 2 && argc != 4;
  if (!usage) usage = !ParseCount(argv[1], ticks) || ticks == 0 || ticks > (1ull << 40);
  if (!usage && argc == 4)
    usage = std::strcmp(argv[2], "--seed") != 0 || !ParseCount(argv[3], seed);
  if (usage) {
    std::fprintf(stderr, "usage: pellmora-soak TICKS [--seed N]\n");
    return 2;
  }

  const auto started = std::chrono::steady_clock::now();
  std::unique_ptr<SoakRun> run;
  try {
    run = std::make_unique<SoakRun>(static_cast<std::int64_t>(ticks), seed);
    const SoakTotals totals = run->Run();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf(
        "soak: %lld ticks, %lld games, %lld starts, %lld names, %lld pauses, %lld ranking views, "
        "%.1f s, %.0f ticks/s, resident +%ld KiB, heap +%lld B\n",
        static_cast<long long>(totals.ticks), static_cast<long long>(totals.games),
        static_cast<long long>(totals.starts), static_cast<long long>(totals.nameEntries),
        static_cast<long long>(totals.pauses), static_cast<long long>(totals.rankingViews), seconds,
        static_cast<double>(totals.ticks) / seconds, totals.residentGrowthKiB,
        totals.heapGrowthBytes);
    return 0;
  } catch (const SoakFailure& failure) {
    const std::string where = run ? run->Where() : std::string("start");
    std::fprintf(stderr, "soak: FAILED at %s: %s\n", where.c_str(), failure.what());
    return 1;
  }
}
