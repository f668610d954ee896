// The events of a replay, encoded byte by byte: a run of ticks that read the
// keys alike takes one byte, two ticks that read them otherwise one byte
// (half a byte each), any other event a few. Written into a buffer reserved beforehand, so that
// recording never allocates during play.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "play/Replay.h"

namespace pellmora {

struct RecordedEvent {
  static constexpr int kMaxReads = 32;
  static constexpr int kMaxRnd = 8;

  ReplayEventKind kind = ReplayEventKind::Timer2;
  std::int32_t arg = 0;
  std::uint32_t dtMs = 0;  // since the previous event (the first: since the start)
  std::uint8_t readCount = 0;
  std::uint32_t reads = 0;  // bit i: the i-th key read of the event found it held
  std::uint8_t rndCount = 0;
  double rnd[kMaxRnd] = {};  // values a script handed out during the event

  bool SameAs(const RecordedEvent& other) const noexcept;
};

class ReplayEncoder {
 public:
  // Writes into `out` up to its capacity, never past it.
  explicit ReplayEncoder(std::vector<std::uint8_t>& out) noexcept : out_(out) {}

  // Starts a new stream in the same buffer, emptied.
  void Reset() noexcept;
  void Event(const RecordedEvent& event) noexcept;
  // The game's checksum as a second of play has passed.
  void Checksum(std::uint32_t checksum) noexcept;
  void End(std::uint32_t finalChecksum) noexcept;
  // False once anything did not fit.
  bool Fits() const noexcept { return fits_; }

 private:
  void Put(std::uint8_t byte) noexcept;
  void PutVarint(std::uint64_t value) noexcept;
  void Flush() noexcept;
  void FlushRun() noexcept;

  std::vector<std::uint8_t>& out_;
  RecordedEvent previous_;
  bool havePrevious_ = false;
  int run_ = 0;
  // A tick with new key reads, held back to share a byte with the next one.
  bool pendingReads_ = false;
  std::uint32_t pending_ = 0;
  bool fits_ = true;
};

class ReplayDecoder {
 public:
  enum class Item { Event, Checksum, End, Damaged };

  explicit ReplayDecoder(std::string_view bytes) noexcept : bytes_(bytes) {}
  // The next item; an Event fills `event`, a Checksum and the End `checksum`.
  Item Next(RecordedEvent& event, std::uint32_t& checksum) noexcept;

 private:
  bool Take(std::uint8_t& byte) noexcept;
  bool TakeVarint(std::uint64_t& value) noexcept;
  bool TakeFixed(std::uint64_t& value, int bytes) noexcept;

  std::string_view bytes_;
  std::size_t at_ = 0;
  RecordedEvent previous_;
  bool havePrevious_ = false;
  int run_ = 0;
  bool haveSecond_ = false;  // the second tick of a pair, still to give
  std::uint32_t second_ = 0;
};

}  // namespace pellmora
