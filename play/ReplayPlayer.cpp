#include "play/ReplayPlayer.h"

#include <string_view>

#include "game/Int16.h"
#include "game/Rules.h"
#include "play/PlaySession.h"
#include "play/QuietFrontend.h"
#include "play/ReplayEvents.h"

namespace pellmora {

namespace {
constexpr int vbKeySpace = 32;
constexpr int kFastTimes = 4;
}  // namespace

struct ReplayPlayer::Impl {
  explicit Impl(const Replay& watched)
      : replay(watched),
        decoder(std::string_view(reinterpret_cast<const char*>(replay.events.data()),
                                 replay.events.size())) {}

  // Reads on to the next event, checking the game against every checksum
  // on the way: a watch that drifts from what was played stops and says so.
  void FetchNext() {
    std::uint32_t checksum = 0;
    for (;;) {
      switch (decoder.Next(next, checksum)) {
        case ReplayDecoder::Item::Event:
          if (!started && !(next.kind == ReplayEventKind::Click && next.arg == 0)) {
            return Stop("the replay does not start with a game start");
          }
          if (started && session.Game().playing != VbTrue) {
            return Stop("the replay goes on after its game over");
          }
          nextAtMs += next.dtMs;
          haveNext = true;
          return;
        case ReplayDecoder::Item::Checksum:
          if (GameSnapshot::Of(session.Game()).Checksum() != checksum) return Differs();
          break;
        case ReplayDecoder::Item::End:
          if (GameSnapshot::Of(session.Game()).Checksum() != checksum ||
              session.Game().score != replay.score) {
            return Differs();
          }
          return Stop("");
        case ReplayDecoder::Item::Damaged:
          return Stop("the replay's events are damaged");
      }
    }
  }

  void Differs() {
    Stop("the replay differs from this game at second " + std::to_string(nextAtMs / 1000));
  }

  void Stop(const std::string& why) {
    haveNext = false;
    finished = true;
    if (problem.empty()) problem = why;
  }

  Replay replay;
  QuietFrontend quiet;
  PlaySession session{quiet, nullptr, PlaySession::Seeding::Fixed};
  ReplayDecoder decoder;
  RecordedEvent next;
  bool haveNext = false;
  bool started = false;
  std::int64_t nextAtMs = 0;  // replay time of the next event
  std::int64_t playedMs = 0;  // replay time played so far
  bool clockStarted = false;
  std::int64_t hostMs = 0;
  bool paused = false;
  bool fast = false;
  bool finished = false;
  std::string problem;
};

ReplayPlayer::ReplayPlayer(const Replay& replay) : impl_(std::make_unique<Impl>(replay)) {
  Impl& p = *impl_;
  if (replay.rules != kRulesVersion) {
    p.Stop("the replay was recorded under rules " + std::to_string(replay.rules) +
           ", this game plays rules " + std::to_string(kRulesVersion));
    return;
  }
  replay.start.RestoreInto(p.session.Game());
  p.session.Random().Restore(replay.luck);
  p.FetchNext();
}

ReplayPlayer::~ReplayPlayer() = default;

const Replay& ReplayPlayer::Watched() const noexcept {
  return impl_->replay;
}

const Form1& ReplayPlayer::Game() const noexcept {
  return impl_->session.Game();
}

bool ReplayPlayer::Run(std::int64_t hostNowMs) {
  Impl& p = *impl_;
  if (!p.clockStarted) {
    p.clockStarted = true;
    p.hostMs = hostNowMs;
  }
  const std::int64_t elapsed = hostNowMs > p.hostMs ? hostNowMs - p.hostMs : 0;
  p.hostMs = hostNowMs;
  if (p.paused || p.finished) return false;
  p.playedMs += elapsed * (p.fast ? kFastTimes : 1);
  bool changed = false;
  while (p.haveNext && p.nextAtMs <= p.playedMs) {
    p.haveNext = false;
    p.session.ReplayEvent(p.next);
    p.started = true;
    changed = true;
    if (p.session.Ended()) {
      p.Stop("the replay ended the program");
      break;
    }
    p.FetchNext();
  }
  return changed;
}

std::int64_t ReplayPlayer::MsUntilNext() const noexcept {
  const Impl& p = *impl_;
  if (p.finished || p.paused || !p.haveNext) return -1;
  const std::int64_t ahead = p.nextAtMs > p.playedMs ? p.nextAtMs - p.playedMs : 0;
  const int times = p.fast ? kFastTimes : 1;
  return (ahead + times - 1) / times;
}

bool ReplayPlayer::KeyDown(int virtualKey) {
  Impl& p = *impl_;
  switch (virtualKey) {
    case vbKeySpace:
      p.paused = !p.paused;
      return true;
    case vbKeyRight:
      p.fast = !p.fast;
      return true;
    case vbKeyEscape:
      p.Stop("");
      return true;
    default:
      return false;
  }
}

bool ReplayPlayer::Paused() const noexcept {
  return impl_->paused;
}

bool ReplayPlayer::Fast() const noexcept {
  return impl_->fast;
}

bool ReplayPlayer::Finished() const noexcept {
  return impl_->finished;
}

const std::string& ReplayPlayer::Problem() const noexcept {
  return impl_->problem;
}

std::string ReplayPlayer::Caption() const {
  const Replay& r = impl_->replay;
  std::string caption = "リプレイ再生中 - " + (r.name.empty() ? std::string("名前なし") : r.name) +
                        " (" + std::to_string(r.score) + "点)";
  if (impl_->paused) caption += " 一時停止";
  if (impl_->fast) caption += " 4倍速";
  return caption;
}

}  // namespace pellmora
