#include "play/Luck.h"

#include <chrono>

namespace pellmora {

std::uint64_t Luck::EntropySeed() {
  std::random_device device;
  const auto now =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  std::seed_seq mixed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                      device(), device()};
  std::uint32_t words[2];
  mixed.generate(words, words + 2);
  return (std::uint64_t{words[0]} << 32) | words[1];
}

double Luck::Next(bool* scripted) {
  if (scripted != nullptr) *scripted = !queued_.empty();
  if (!queued_.empty()) {
    const double value = queued_.front();
    queued_.pop_front();
    return value;
  }
  ++state_.draws;
  // The top 53 bits as a fraction: the same on every standard library.
  return static_cast<double>(generator_() >> 11) * 0x1.0p-53;
}

void Luck::Restore(State state) {
  state_ = state;
  generator_.seed(state.seed);
  generator_.discard(state.draws);
}

}  // namespace pellmora
