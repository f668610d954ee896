#include "play/ReplayCheck.h"

#include "game/Int16.h"
#include "game/Rules.h"
#include "play/PlaySession.h"
#include "play/ReplayEvents.h"

namespace pellmora {

namespace {

// No disk: the score file is never there, so a game over asks no name and
// saves nothing.
class NoFiles final : public FileOps {
 public:
  bool Exists(const std::string&) override { return false; }
  FileFacts Inspect(const std::string&) override { return {}; }
  FileResult ReadAll(const std::string&, std::string&, std::size_t) override { return Refused(); }
  FileResult CreateNew(const std::string&, unsigned, Handle&) override { return Refused(); }
  FileResult Write(Handle, std::string_view) override { return Refused(); }
  FileResult Sync(Handle) override { return Refused(); }
  FileResult Close(Handle) override { return Refused(); }
  FileResult Rename(const std::string&, const std::string&) override { return Refused(); }
  FileResult Remove(const std::string&) override { return Refused(); }
  FileResult MoveToFreeName(const std::string&, const std::string&) override { return Refused(); }
  std::vector<std::string> Leftovers(const std::string&) override { return {}; }
  FileResult SyncFolder(const std::string&) override { return Refused(); }
  FileResult LockFolder(const std::string&) override { return Refused(); }
  void UnlockFolder() override {}
  std::string CopyTag() override { return "replay"; }

 private:
  static FileResult Refused() { return FileResult{30, "a replay writes nothing"}; }
};

// Nobody watches: boxes close at once, the name box is cancelled.
class Unseen final : public Frontend {
 public:
  void MsgBox(const std::string&, const std::string&) override {}
  std::string InputBox(const std::string&, const std::string&) override { return {}; }
  FileOps& Files() override { return files_; }
  void Form2Opened(Form2Controls&) override {}
  void Form2Raised() override {}
  void Form2Changed(const Form2Controls&) override {}
  void Form2Closed() override {}
  void ProgramEnded() override {}
  void ProgramFailed(const char*) override {}
  void EventDone() override {}

 private:
  NoFiles files_;
};

}  // namespace

ReplayVerdict CheckReplay(const Replay& replay) {
  ReplayVerdict verdict;
  if (replay.rules != kRulesVersion) {
    verdict.problem = "recorded under rules " + std::to_string(replay.rules) +
                      ", this game plays rules " + std::to_string(kRulesVersion);
    return verdict;
  }
  Unseen unseen;
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
