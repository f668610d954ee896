#include "play/ReplayCheck.h"

#include "game/Int16.h"
#include "game/Rules.h"
#include "play/PlaySession.h"
#include "play/QuietFrontend.h"
#include "play/ReplayEvents.h"

namespace pellmora {

ReplayVerdict CheckReplay(const Replay& replay) {
  return CheckReplay(replay, [] { return true; });
}

ReplayVerdict CheckReplay(const Replay& replay, const std::function<bool()>& inTime) {
  ReplayVerdict verdict;
  if (replay.rules != kRulesVersion) {
    verdict.problem = "recorded under rules " + std::to_string(replay.rules) +
                      ", this game plays rules " + std::to_string(kRulesVersion);
    return verdict;
  }
  QuietFrontend unseen;
  PlaySession session(unseen, nullptr, PlaySession::Seeding::Fixed);
  Form1& game = session.Game();
  replay.start.RestoreInto(game);
  session.Random().Restore(replay.luck);

  ReplayDecoder decoder(
      std::string_view(reinterpret_cast<const char*>(replay.events.data()), replay.events.size()));
  RecordedEvent event;
  std::uint32_t checksum = 0;
  std::int64_t elapsedMs = 0;
  bool started = false;
  for (;;) {
    switch (decoder.Next(event, checksum)) {
      case ReplayDecoder::Item::Event:
        // A game starts with its start button and ends at its game over.
        if (!started && !(event.kind == ReplayEventKind::Click && event.arg == 0)) {
          verdict.problem = "the events do not start with a game start";
          return verdict;
        }
        if (started && game.playing != VbTrue) {
          verdict.problem = "events after the game over";
          return verdict;
        }
        started = true;
        elapsedMs += event.dtMs;
        session.ReplayEvent(event);
        if (session.Ended()) {
          verdict.problem = "the game ended the program";
          return verdict;
        }
        break;
      case ReplayDecoder::Item::Checksum:
        if (!inTime()) {
          verdict.problem = "took too long";
          return verdict;
        }
        if (GameSnapshot::Of(game).Checksum() != checksum) {
          verdict.status = ReplayVerdict::Differs;
          verdict.second = elapsedMs / 1000;
          return verdict;
        }
        break;
      case ReplayDecoder::Item::End:
        if (!started || GameSnapshot::Of(game).Checksum() != checksum || game.playing != VbFalse ||
            game.score != replay.score) {
          verdict.status = ReplayVerdict::Differs;
          verdict.second = elapsedMs / 1000;
          return verdict;
        }
        verdict.status = ReplayVerdict::Ok;
        verdict.score = game.score;
        return verdict;
      case ReplayDecoder::Item::Damaged:
        verdict.problem = "the events are damaged";
        return verdict;
    }
  }
}

}  // namespace pellmora
