#include "server/Judgement.h"

#include <openssl/evp.h>

#include <regex>

#include "game/Rules.h"
#include "play/ReplayCheck.h"
#include "scores/ScoreFile.h"

namespace pellmora::ranking {

namespace {

std::string Sha256Hex(const std::string& bytes) {
  unsigned char digest[EVP_MAX_MD_SIZE];
  unsigned int size = 0;
  EVP_Digest(bytes.data(), bytes.size(), digest, &size, EVP_sha256(), nullptr);
  static constexpr char kHex[] = "0123456789abcdef";
  std::string hex;
  for (unsigned int i = 0; i < size; ++i) {
    hex += kHex[digest[i] >> 4];
    hex += kHex[digest[i] & 15];
  }
  return hex;
}

// The game without what its header merely says (who, when, where): a
// renamed copy of a replay is the same game as the one it was copied from.
std::string IdentityOf(Replay replay) {
  replay.name.clear();
  replay.date.clear();
  replay.host.clear();
  return Sha256Hex(WriteReplay(replay));
}

Judgement Refused(int status, const char* reason, std::string why) {
  Judgement judgement;
  judgement.status = status;
  judgement.reason = reason;
  judgement.error = std::move(why);
  return judgement;
}

// Header texts are the sender's word; only a plain date or host is kept.
std::string Plain(const std::string& said, const std::regex& pattern) {
  return std::regex_match(said, pattern) ? said : std::string();
}

const std::regex kPlainDate(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ)");
const std::regex kPlainHost("[a-z]{1,16}");

}  // namespace

Judgement JudgeReplay(std::string_view body, std::chrono::milliseconds timeLimit,
                      const std::string& acceptedAt) {
  if (body.size() > kMaxBodyBytes)
    return Refused(422, "too-large",
                   "too large: a replay has at most " + std::to_string(kMaxBodyBytes) + " bytes");
  ReplayRead read = ReadReplay(body);
  if (!read.ok) return Refused(422, "damaged", "damaged: " + read.error);
  Replay& replay = read.replay;
  if (replay.rules != kRulesVersion)
    return Refused(409, "rules",
                   "recorded under rules " + std::to_string(replay.rules) +
                       ", this server plays rules " + std::to_string(kRulesVersion));
  if (replay.scripted)
    return Refused(422, "scripted",
                   "the luck was scripted, not drawn: a test's game is not ranked");

  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  const ReplayVerdict verdict =
      CheckReplay(replay, [&] { return std::chrono::steady_clock::now() < deadline; });
  switch (verdict.status) {
    case ReplayVerdict::Ok:
      break;
    case ReplayVerdict::Differs: {
      Judgement differs = Refused(
          422, "differs",
          "the game differs from its recording at second " + std::to_string(verdict.second));
      differs.second = verdict.second;
      return differs;
    }
    case ReplayVerdict::Damaged:
      if (verdict.problem == "took too long")
        return Refused(
            422, "too-slow",
            "the replay took longer than " + std::to_string(timeLimit.count()) + " ms to verify");
      return Refused(422, "damaged", "damaged: " + verdict.problem);
  }

  Judgement judgement;
  judgement.status = 201;
  replay.format = kReplayFormat;
  replay.name = NameAsStored(replay.name);
  replay.date = Plain(replay.date, kPlainDate);
  replay.host = Plain(replay.host, kPlainHost);
  AcceptedGame& game = judgement.game;
  game.identity = IdentityOf(replay);
  game.name = replay.name;
  game.score = verdict.score;
  game.played = replay.date;
  game.accepted = acceptedAt;
  game.host = replay.host;
  game.replay = WriteReplay(replay);
  return judgement;
}

}  // namespace pellmora::ranking
