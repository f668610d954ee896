#include <cerrno>
#include <string>

#include "game/Form1.h"

namespace pellmora {

namespace {

constexpr const char* kBackupFileName = "HiScore.dat.bak";
// Enough for any score file a player could have; a larger one is not copied.
constexpr std::size_t kMaxBackupBytes = 64u << 20;

std::string DamagedMessage(const std::string& what) {
  return "「" + std::string(kHiScoreFileName) + "」" + what +
         "ランキングは空の状態で始めます。\n元のファイルは、次にスコアを保存するときに「" +
         kBackupFileName + "」として残します。";
}

}  // namespace

// A damaged file does not stop the game: the player is told which line could
// not be read, the ranking starts empty, and the file is left untouched until
// the first save, which keeps it aside as HiScore.dat.bak.
void Form1::LoadHiScores() {
  std::string bytes;
  const FileResult read = host_.Files().ReadAll(kHiScoreFileName, bytes, kMaxScoreFileBytes);
  std::string problem;
  if (!read.Ok()) {
    problem = "を読み込めませんでした（" + read.reason + "）。";
  } else if (bytes.size() > kMaxScoreFileBytes) {
    problem = "が大きすぎます（1 MiB を超えています）。";
  } else {
    ParsedScoreFile parsed = ParseScoreFile(bytes);
    if (parsed.ok) {
      for (int i = 0; i < kHiScoreListed; ++i) {
        hiScores[i] = parsed.scores[i];
        hiNames[i] = std::move(parsed.names[i]);
      }
      return;
    }
    problem = "の " + std::to_string(parsed.failedLine) + " 行目が読み取れません。";
  }
  keepDamagedScoreFile = true;
  host_.MsgBox(DamagedMessage(problem), "Pellmora");
}

// A failed save is told to the player and the game goes on: the table in
// memory keeps its entries and the next game over tries again.
void Form1::SaveHiScores() {
  FileOps& files = host_.Files();
  if (keepDamagedScoreFile) {
    std::string old;
    FileResult kept = files.ReadAll(kHiScoreFileName, old, kMaxBackupBytes);
    if (kept.Ok() && old.size() > kMaxBackupBytes) kept = FileResult{EFBIG, "file too large"};
    if (kept.Ok()) kept = SaveAtomically(files, kBackupFileName, old);
    if (!kept.Ok()) {
      host_.MsgBox("壊れた「" + std::string(kHiScoreFileName) + "」を「" + kBackupFileName +
                       "」として残せなかったため、スコアを保存しませんでした（" + kept.reason +
                       "）。",
                   "Pellmora");
      return;
    }
    keepDamagedScoreFile = false;
  }
  const FileResult saved =
      SaveAtomically(files, kHiScoreFileName, FormatScoreFile(hiScores, hiNames));
  if (!saved.Ok()) {
    host_.MsgBox("「" + std::string(kHiScoreFileName) + "」に保存できませんでした（" +
                     saved.reason + "）。ランキングはこのまま続けます。",
                 "Pellmora");
  }
}

}  // namespace pellmora
