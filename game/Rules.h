// The version of the game's rules: what a recorded game needs to re-run to
// the same score. Raised whenever a change makes any game play differently.
#pragma once

namespace pellmora {

constexpr int kRulesVersion = 1;

}  // namespace pellmora
