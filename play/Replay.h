// A recorded game (a .pellmora-replay file): who played it where and when,
// the state and the luck it started from, and every event the game received
// with the key states as it read them, a checksum of the game every second
// of play and at the end. docs/replay-format.md describes the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "play/GameSnapshot.h"
#include "play/Luck.h"

namespace pellmora {

constexpr std::string_view kReplayMagic = "PELLMORA-REPLAY";
// 1: the events as they are; 2: the events deflated.
constexpr int kReplayFormat = 2;
// No replay reader takes more: a ten-minute game fits in 32 KB.
constexpr std::size_t kMaxReplayBytes = 8u << 20;

// What the game received, as the replay names it.
enum class ReplayEventKind : std::uint8_t {
  Timer1 = 1,
  Timer2 = 2,
  Timer3 = 3,
  Timer4 = 4,
  KeyDown = 5,      // arg: the key code
  Click = 6,        // arg: the menu button 0..2
  Form2Close = 7,   // the ranking window's close button
  Form2Closed = 8,  // the ranking window closed by its title bar
};

struct Replay {
  int format = kReplayFormat;
  int rules = 0;
  std::string host;  // "desktop", "browser", "headless"
  std::string date;  // UTC, as 2026-12-07T21:40:00Z
  std::string name;  // the player's, as the ranking keeps it
  int score = 0;
  // The luck at the start; scripted when a script handed out values.
  Luck::State luck;
  bool scripted = false;
  GameSnapshot start;
  // The events, the key reads and the checksums, encoded (see the docs).
  std::vector<std::uint8_t> events;
};

std::string WriteReplay(const Replay& replay);

struct ReplayRead {
  bool ok = false;
  std::string error;  // what is wrong, in a sentence
  Replay replay;
};
ReplayRead ReadReplay(std::string_view bytes);

}  // namespace pellmora
