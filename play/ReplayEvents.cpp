#include "play/ReplayEvents.h"

#include <cstring>

namespace pellmora {

namespace {

// The operations of the stream.
constexpr std::uint8_t kRunLast = 0x3F;    // 0x00..0x3F: the last event 1..64 times more
constexpr std::uint8_t kFull = 0x40;       // an event in full
constexpr std::uint8_t kChecksum = 0x41;   // u32: a second of play has passed
constexpr std::uint8_t kEnd = 0x42;        // u32: the game is over
constexpr std::uint8_t kReadsOnly = 0x80;  // 0x80..0x8F: the last event, new key reads
constexpr std::uint8_t kTwoReads = 0x90;   // 0x90..0xE0: two such, 9 * first + second
constexpr int kMaxRun = 64;

// The nine ways a tick reads the four arrows (up, down, left, right) with no
// two opposite arrows held, which is how play reads them almost always.
int PairDigit(std::uint32_t reads) {
  const std::uint32_t vertical = reads & 3u;
  const std::uint32_t horizontal = (reads >> 2) & 3u;
  if (reads > 15 || vertical == 3 || horizontal == 3) return -1;
  return static_cast<int>(vertical * 3 + horizontal);
}

std::uint32_t ReadsOfDigit(int digit) {
  return static_cast<std::uint32_t>(digit / 3) | (static_cast<std::uint32_t>(digit % 3) << 2);
}

std::uint64_t DoubleBits(double value) {
  std::uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

bool SameButReads(const RecordedEvent& a, const RecordedEvent& b) {
  return a.kind == b.kind && a.arg == b.arg && a.dtMs == b.dtMs && a.readCount == b.readCount &&
         a.rndCount == 0 && b.rndCount == 0;
}

}  // namespace

bool RecordedEvent::SameAs(const RecordedEvent& other) const noexcept {
  return SameButReads(*this, other) && reads == other.reads;
}

void ReplayEncoder::Put(std::uint8_t byte) noexcept {
  if (out_.size() >= out_.capacity()) {
    fits_ = false;
    return;
  }
  out_.push_back(byte);
}

void ReplayEncoder::PutVarint(std::uint64_t value) noexcept {
  while (value >= 0x80) {
    Put(static_cast<std::uint8_t>(value | 0x80));
    value >>= 7;
  }
  Put(static_cast<std::uint8_t>(value));
}

void ReplayEncoder::Reset() noexcept {
  out_.clear();
  havePrevious_ = false;
  run_ = 0;
  pendingReads_ = false;
  fits_ = true;
}

void ReplayEncoder::FlushRun() noexcept {
  if (run_ > 0) Put(static_cast<std::uint8_t>(run_ - 1));
  run_ = 0;
}

void ReplayEncoder::Flush() noexcept {
  if (pendingReads_) Put(static_cast<std::uint8_t>(kReadsOnly | pending_));
  pendingReads_ = false;
  FlushRun();
}

void ReplayEncoder::Event(const RecordedEvent& event) noexcept {
  if (havePrevious_ && event.SameAs(previous_)) {
    if (pendingReads_) Flush();
    if (++run_ == kMaxRun) FlushRun();
    return;
  }
  if (havePrevious_ && SameButReads(event, previous_) && event.readCount <= 4) {
    FlushRun();
    if (pendingReads_ && PairDigit(pending_) >= 0 && PairDigit(event.reads) >= 0) {
      Put(static_cast<std::uint8_t>(kTwoReads + 9 * PairDigit(pending_) + PairDigit(event.reads)));
      pendingReads_ = false;
    } else {
      Flush();
      pendingReads_ = true;
      pending_ = event.reads;
    }
  } else {
    Flush();
    Put(kFull);
    Put(static_cast<std::uint8_t>(event.kind));
    // Zigzag, so that a small negative argument stays short.
    PutVarint((static_cast<std::uint64_t>(event.arg) << 1) ^
              static_cast<std::uint64_t>(static_cast<std::int64_t>(event.arg) >> 63));
    PutVarint(event.dtMs);
    Put(event.readCount);
    for (int i = 0; i < (event.readCount + 7) / 8; ++i) {
      Put(static_cast<std::uint8_t>(event.reads >> (8 * i)));
    }
    Put(event.rndCount);
    for (int i = 0; i < event.rndCount; ++i) {
      const std::uint64_t bits = DoubleBits(event.rnd[i]);
      for (int b = 0; b < 8; ++b) Put(static_cast<std::uint8_t>(bits >> (8 * b)));
    }
  }
  previous_ = event;
  havePrevious_ = true;
}

void ReplayEncoder::Checksum(std::uint32_t checksum) noexcept {
  Flush();
  Put(kChecksum);
  for (int b = 0; b < 4; ++b) Put(static_cast<std::uint8_t>(checksum >> (8 * b)));
}

void ReplayEncoder::End(std::uint32_t finalChecksum) noexcept {
  Flush();
  Put(kEnd);
  for (int b = 0; b < 4; ++b) Put(static_cast<std::uint8_t>(finalChecksum >> (8 * b)));
}

bool ReplayDecoder::Take(std::uint8_t& byte) noexcept {
  if (at_ >= bytes_.size()) return false;
  byte = static_cast<std::uint8_t>(bytes_[at_++]);
  return true;
}

bool ReplayDecoder::TakeVarint(std::uint64_t& value) noexcept {
  value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    std::uint8_t byte;
    if (!Take(byte)) return false;
    value |= std::uint64_t{byte & 0x7Fu} << shift;
    if ((byte & 0x80) == 0) return true;
  }
  return false;
}

bool ReplayDecoder::TakeFixed(std::uint64_t& value, int bytes) noexcept {
  value = 0;
  for (int b = 0; b < bytes; ++b) {
    std::uint8_t byte;
    if (!Take(byte)) return false;
    value |= std::uint64_t{byte} << (8 * b);
  }
  return true;
}

ReplayDecoder::Item ReplayDecoder::Next(RecordedEvent& event, std::uint32_t& checksum) noexcept {
  if (haveSecond_) {
    haveSecond_ = false;
    previous_.reads = second_;
    event = previous_;
    return Item::Event;
  }
  if (run_ > 0) {
    --run_;
    event = previous_;
    return Item::Event;
  }
  std::uint8_t op;
  if (!Take(op)) return Item::Damaged;  // the end op is missing
  std::uint64_t value = 0;
  if (op <= kRunLast) {
    if (!havePrevious_) return Item::Damaged;
    run_ = op;  // this one and `op` more
    event = previous_;
    return Item::Event;
  }
  if (op >= kTwoReads && op < kTwoReads + 81) {
    if (!havePrevious_ || previous_.readCount > 4 || previous_.rndCount != 0) return Item::Damaged;
    const std::uint32_t first = ReadsOfDigit((op - kTwoReads) / 9);
    second_ = ReadsOfDigit((op - kTwoReads) % 9);
    if ((first >> previous_.readCount) != 0 || (second_ >> previous_.readCount) != 0) {
      return Item::Damaged;
    }
    previous_.reads = first;
    haveSecond_ = true;
    event = previous_;
    return Item::Event;
  }
  if ((op & 0xF0) == kReadsOnly) {
    if (!havePrevious_ || previous_.readCount > 4 || previous_.rndCount != 0) return Item::Damaged;
    previous_.reads = op & 0x0Fu;
    if ((previous_.reads >> previous_.readCount) != 0) return Item::Damaged;
    event = previous_;
    return Item::Event;
  }
  if (op == kChecksum || op == kEnd) {
    if (!TakeFixed(value, 4)) return Item::Damaged;
    checksum = static_cast<std::uint32_t>(value);
    if (op == kEnd && at_ != bytes_.size()) return Item::Damaged;
    return op == kChecksum ? Item::Checksum : Item::End;
  }
  if (op != kFull) return Item::Damaged;
  RecordedEvent full;
  std::uint8_t byte;
  if (!Take(byte) || byte < 1 || byte > static_cast<std::uint8_t>(ReplayEventKind::Form2Closed)) {
    return Item::Damaged;
  }
  full.kind = static_cast<ReplayEventKind>(byte);
  if (!TakeVarint(value) || value > 0xFFFFFFFFu) return Item::Damaged;
  full.arg = static_cast<std::int32_t>((value >> 1) ^ (~(value & 1) + 1));
  if (!TakeVarint(value) || value > 0xFFFFFFFFu) return Item::Damaged;
  full.dtMs = static_cast<std::uint32_t>(value);
  if (!Take(full.readCount) || full.readCount > RecordedEvent::kMaxReads) return Item::Damaged;
  if (!TakeFixed(value, (full.readCount + 7) / 8)) return Item::Damaged;
  full.reads = static_cast<std::uint32_t>(value);
  if (full.readCount < 32 && (full.reads >> full.readCount) != 0) return Item::Damaged;
  if (!Take(full.rndCount) || full.rndCount > RecordedEvent::kMaxRnd) return Item::Damaged;
  for (int i = 0; i < full.rndCount; ++i) {
    if (!TakeFixed(value, 8)) return Item::Damaged;
    std::memcpy(&full.rnd[i], &value, sizeof(double));
    if (!(full.rnd[i] >= 0.0 && full.rnd[i] < 1.0)) return Item::Damaged;
  }
  previous_ = full;
  havePrevious_ = true;
  event = full;
  return Item::Event;
}

}  // namespace pellmora
