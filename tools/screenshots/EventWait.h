// Letting the game's timers run for a screenshot.
#pragma once

#include <chrono>
#include <functional>

namespace pellmora {

// Handles events until done() holds or the limit has passed; whether done()
// held at the end.
bool RunEventsUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

}  // namespace pellmora
