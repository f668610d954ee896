#include "server/RateLimit.h"

#include <algorithm>
#include <cmath>

namespace pellmora::ranking {

int RateLimit::SecondsToWait(const std::string& address, Clock::time_point now) {
  if (perMinute_ <= 0) return 0;
  const double full = perMinute_;
  const double perSecond = full / 60.0;
  std::lock_guard<std::mutex> hold(lock_);
  // Full buckets say nothing: forget them now and then, so that a stream of
  // addresses cannot grow the table without end.
  if (now - lastSweep_ > std::chrono::minutes(1)) {
    std::erase_if(buckets_, [&](const auto& entry) {
      return now - entry.second.filled > std::chrono::seconds(61);
    });
    lastSweep_ = now;
  }
  auto [at, isNew] = buckets_.try_emplace(address, Bucket{full, now});
  Bucket& bucket = at->second;
  if (!isNew) {
    const double seconds = std::chrono::duration<double>(now - bucket.filled).count();
    bucket.games = std::min(full, bucket.games + seconds * perSecond);
    bucket.filled = now;
  }
  if (bucket.games >= 1.0) {
    bucket.games -= 1.0;
    return 0;
  }
  return std::max(1, static_cast<int>(std::ceil((1.0 - bucket.games) / perSecond)));
}

}  // namespace pellmora::ranking
