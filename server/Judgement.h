// What the server makes of a replay sent to it: re-run on the same core the
// players run, with the limits a stranger's file must keep.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "server/RankingStore.h"

namespace pellmora::ranking {

// A three-minute game is 2 KB, a ten-minute one 9 KB.
constexpr std::size_t kMaxBodyBytes = 1u << 20;

struct Judgement {
  int status = 422;   // 201 accepted, 409 other rules, 422 refused
  std::string error;  // why not, in a sentence
  // Why not, for programs that tell it in their own words: "differs" (at
  // `second`), "scripted", "damaged", "too-large", "too-slow", "rules".
  std::string reason;
  std::int64_t second = 0;
  AcceptedGame game;  // 201
};

// acceptedAt: the UTC time the answer will carry.
Judgement JudgeReplay(std::string_view body, std::chrono::milliseconds timeLimit,
                      const std::string& acceptedAt);

}  // namespace pellmora::ranking
