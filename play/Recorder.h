// Records every game from its start to its game over: the state and luck it
// starts from, each event with its time and the key reads and scripted
// values it took, and a checksum every second of play. The buffer is
// reserved at the game's start, so that a tick never allocates.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "game/Form1.h"
#include "play/Replay.h"
#include "play/ReplayEvents.h"

namespace pellmora {

class Recorder {
 public:
  // A recorded game's events take at most this much.
  static constexpr std::size_t kBufferBytes = 1u << 20;

  // The start button is about to be pressed: recording starts.
  void GameStarting(const Form1& game, Luck::State luck, std::int64_t nowMs);
  bool Recording() const noexcept { return recording_; }

  // Around each event the game receives while recording.
  void EventStarting(ReplayEventKind kind, std::int32_t arg, std::int64_t nowMs) noexcept;
  void KeyRead(bool held) noexcept;
  void ScriptedValue(double value) noexcept;
  void NameAnswered(const std::string& answer) {
    answer_ = answer;
    answered_ = true;
  }
  // After the event: a checksum when a second of play has passed; at the
  // game over the game is kept as the last one recorded.
  void EventDone(const Form1& game);
  // The program ended in the middle of a game: nothing is kept of it.
  void Abandon() noexcept { recording_ = false; }

  // The last game that reached its game over; false before the first.
  bool HasLastGame() const noexcept { return haveLast_; }
  // How many games reached their game over recorded whole.
  std::uint64_t GamesKept() const noexcept { return gamesKept_; }
  // That game as a replay, made by `host`.
  Replay LastGame(const std::string& host) const;

 private:
  bool recording_ = false;
  bool inEvent_ = false;
  std::vector<std::uint8_t> buffer_;
  ReplayEncoder encoder_{buffer_};
  RecordedEvent event_;
  std::int64_t startMs_ = 0;
  std::int64_t lastMs_ = 0;
  std::int64_t lastSecond_ = 0;
  GameSnapshot start_;
  Luck::State luck_;
  bool scripted_ = false;
  bool overflowed_ = false;
  std::string answer_;
  bool answered_ = false;

  // The last whole game.
  bool haveLast_ = false;
  std::uint64_t gamesKept_ = 0;
  std::vector<std::uint8_t> lastEvents_;
  GameSnapshot lastStart_;
  Luck::State lastLuck_;
  bool lastScripted_ = false;
  int lastScore_ = 0;
  std::string lastName_;
  std::time_t lastDate_ = 0;
};

}  // namespace pellmora
