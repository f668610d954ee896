#include "game/ScoreFileMessages.h"

#include "scores/ScoreFile.h"

namespace pellmora {

std::string QuotedScoreFile() {
  return "「" + std::string(kHiScoreFileName) + "」";
}

std::string TooLargeProblem() {
  return "が大きすぎます（1 MiB を超えています）。";
}

std::string UnreadableLineProblem(int line) {
  return "の " + std::to_string(line) + " 行目が読み取れません。";
}

std::string ScoreFileProblem(const ScoreFileLook& look) {
  switch (look.status) {
    case ScoreFileLook::Unreadable:
      return "を読み込めませんでした（" + look.read.reason + "）。";
    case ScoreFileLook::TooLarge:
      return TooLargeProblem();
    default:
      return UnreadableLineProblem(look.failedLine);
  }
}

std::string SaveFailedMessage(const std::string& reason) {
  return QuotedScoreFile() + "に保存できませんでした（" + reason + "）。";
}

}  // namespace pellmora
