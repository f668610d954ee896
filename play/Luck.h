// The game's one random source, the same on every host: a 64-bit Mersenne
// Twister whose top 53 bits make each value. Its state is the seed and the
// number of values drawn since, so that a game's luck can be noted at its
// start and the game re-run exactly, on any host. Values queued by a script
// or a test come first and draw nothing from the generator.
#pragma once

#include <cstdint>
#include <deque>
#include <random>

namespace pellmora {

class Luck {
 public:
  struct State {
    std::uint64_t seed = 1;
    std::uint64_t draws = 0;
    bool operator==(const State&) const = default;
  };

  explicit Luck(std::uint64_t seed = 1) { Restore(State{seed, 0}); }

  // A seed no other start is likely to share: the machine's entropy and the clock.
  static std::uint64_t EntropySeed();

  // The next value v, 0 <= v < 1; `scripted` says whether it was a queued one.
  double Next(bool* scripted = nullptr);
  void Queue(double value) { queued_.push_back(value); }

  State Save() const noexcept { return state_; }
  void Restore(State state);

 private:
  State state_;
  std::mt19937_64 generator_;
  std::deque<double> queued_;
};

}  // namespace pellmora
