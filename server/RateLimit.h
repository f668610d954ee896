// How many games one address may send: a bucket per address that fills at
// `perMinute` games a minute up to `perMinute`, so a player who sends a few
// games in a row is never stopped and a script that floods is.
#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <unordered_map>

namespace pellmora::ranking {

class RateLimit {
 public:
  using Clock = std::chrono::steady_clock;
  // 0: no limit.
  explicit RateLimit(int perMinute) : perMinute_(perMinute) {}

  // 0 when the address may send now (and the send is counted), else the
  // whole seconds until it may.
  int SecondsToWait(const std::string& address, Clock::time_point now = Clock::now());

 private:
  struct Bucket {
    double games = 0;
    Clock::time_point filled;
  };
  const int perMinute_;
  std::mutex lock_;
  std::unordered_map<std::string, Bucket> buckets_;
  Clock::time_point lastSweep_;
};

}  // namespace pellmora::ranking
