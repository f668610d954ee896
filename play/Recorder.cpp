#include "play/Recorder.h"

#include <utility>

#include "game/Int16.h"
#include "game/Rules.h"
#include "scores/ScoreFile.h"

namespace pellmora {

void Recorder::GameStarting(const Form1& game, Luck::State luck, std::int64_t nowMs) {
  buffer_.reserve(kBufferBytes);
  encoder_.Reset();
  start_ = GameSnapshot::Of(game);
  luck_ = luck;
  scripted_ = false;
  overflowed_ = false;
  answered_ = false;
  startMs_ = lastMs_ = nowMs;
  lastSecond_ = 0;
  recording_ = true;
}

void Recorder::EventStarting(ReplayEventKind kind, std::int32_t arg, std::int64_t nowMs) noexcept {
  if (!recording_) return;
  event_ = RecordedEvent{};
  event_.kind = kind;
  event_.arg = arg;
  // Times in whole milliseconds of play; a clock never runs back.
  const std::int64_t at = nowMs > lastMs_ ? nowMs : lastMs_;
  event_.dtMs = static_cast<std::uint32_t>(at - lastMs_);
  lastMs_ = at;
  inEvent_ = true;
}

void Recorder::KeyRead(bool held) noexcept {
  if (!recording_ || !inEvent_) return;
  if (event_.readCount >= RecordedEvent::kMaxReads) {
    overflowed_ = true;
    return;
  }
  if (held) event_.reads |= std::uint32_t{1} << event_.readCount;
  ++event_.readCount;
}

void Recorder::ScriptedValue(double value) noexcept {
  if (!recording_ || !inEvent_) return;
  scripted_ = true;
  if (event_.rndCount >= RecordedEvent::kMaxRnd) {
    overflowed_ = true;
    return;
  }
  event_.rnd[event_.rndCount++] = value;
}

void Recorder::EventDone(const Form1& game) {
  if (!recording_ || !inEvent_) return;
  inEvent_ = false;
  encoder_.Event(event_);
  const bool over = game.playing == VbFalse;
  const std::int64_t second = (lastMs_ - startMs_) / 1000;
  if (!over && second > lastSecond_) {
    lastSecond_ = second;
    encoder_.Checksum(GameSnapshot::Of(game).Checksum());
  }
  if (!over) return;
  encoder_.End(GameSnapshot::Of(game).Checksum());
  recording_ = false;
  if (overflowed_ || !encoder_.Fits()) return;  // too long to keep
  lastEvents_.swap(buffer_);
  lastStart_ = start_;
  lastLuck_ = luck_;
  lastScripted_ = scripted_;
  lastScore_ = game.score;
  // The name the ranking keeps for an unnamed entry; none when the score
  // did not reach the ranking.
  lastName_ = answered_ ? (answer_.empty() ? "名無し" : NameAsStored(answer_)) : "";
  lastDate_ = std::time(nullptr);
  haveLast_ = true;
  ++gamesKept_;
}

Replay Recorder::LastGame(const std::string& host) const {
  Replay replay;
  replay.rules = kRulesVersion;
  replay.host = host;
  char date[32] = "";
  std::tm utc{};
  if (gmtime_r(&lastDate_, &utc) != nullptr)
    std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%SZ", &utc);
  replay.date = date;
  // A line of the header: no line end may stand in the name.
  for (const char c : lastName_) replay.name.push_back(c == '\n' || c == '\r' ? ' ' : c);
  replay.score = lastScore_;
  replay.luck = lastLuck_;
  replay.scripted = lastScripted_;
  replay.start = lastStart_;
  replay.events = lastEvents_;
  return replay;
}

}  // namespace pellmora
