// Plays a replay back as it was played, on a game of its own: the same
// pictures, items and pause banner, driven by the recorded events at their
// recorded times. Nothing is asked, saved or shown besides the game window.
// The host hands over its keys while a replay plays, moves the player on
// with its clock, draws Game(), and shows Caption() in the title bar.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/Form1.h"
#include "play/Replay.h"

namespace pellmora {

class ReplayPlayer {
 public:
  explicit ReplayPlayer(const Replay& replay);
  ~ReplayPlayer();
  ReplayPlayer(const ReplayPlayer&) = delete;
  ReplayPlayer& operator=(const ReplayPlayer&) = delete;

  const Replay& Watched() const noexcept;
  const Form1& Game() const noexcept;

  // Plays every event due by `hostNowMs` on the host's clock (milliseconds,
  // any origin: the first call starts the watch). True when anything changed
  // on the screen.
  bool Run(std::int64_t hostNowMs);
  // Host milliseconds until the next event is due; -1 once finished or
  // while paused.
  std::int64_t MsUntilNext() const noexcept;

  // Space pauses and resumes, the right arrow switches between four times
  // as fast and as played, Esc stops. True when the key was the player's.
  bool KeyDown(int virtualKey);
  bool Paused() const noexcept;
  bool Fast() const noexcept;

  // The game over was played, the watcher stopped it, or it could not go on.
  bool Finished() const noexcept;
  // Why it could not go on (the events damaged, a checksum differs); empty
  // when it played to its end or was stopped.
  const std::string& Problem() const noexcept;

  // "リプレイ再生中 - <name> (<score>点)", with 一時停止 or 4倍速 added.
  std::string Caption() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace pellmora
