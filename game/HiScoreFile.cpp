#include <string>

#include "game/Form1.h"
#include "game/ScoreFileMessages.h"

namespace pellmora {

namespace {

const std::string kFileQuoted = QuotedScoreFile();

std::string Quoted(const std::string& name) {
  return "「" + name + "」";
}

std::string WhatIsThere(const FileFacts& facts) {
  std::string what;
  switch (facts.kind) {
    case FileKind::Directory:
      what = "フォルダー";
      break;
    case FileKind::Fifo:
      what = "名前付きパイプ（FIFO）";
      break;
    case FileKind::Socket:
      what = "ソケット";
      break;
    case FileKind::Device:
      what = "デバイス";
      break;
    case FileKind::DanglingLink:
      return "行き先のないリンク";
    case FileKind::LinkLoop:
      return "行き先をたどれないリンク（循環）";
    default:
      what = "普通のファイルではないもの";
      break;
  }
  return facts.link ? "リンクで、その行き先は" + what : what;
}

std::string NotRegularMessage(const FileFacts& facts) {
  return kFileQuoted + "は" + WhatIsThere(facts) +
         "です。ランキングは読み込まず、保存もしません。" +
         "普通のファイルに置き換えるか、取り除いてください。";
}

const std::string kNoBackupName = "壊れたファイルを残す名前（" + std::string(kHiScoreFileName) +
                                  ".bak から .bak." + std::to_string(kBackupNames - 1) +
                                  " まで）がすべて使われています。";
const std::string kFreeABackupName = "古いものを取り除くと、次のゲームオーバーで保存します。";

// Where the file will be kept, or why it cannot be.
std::string KeptAs(const std::string& backupName) {
  if (backupName.empty()) return kNoBackupName + "取り除くまでスコアは保存しません。";
  return "元のファイルは、次にスコアを保存するときに" + Quoted(backupName) + "として残します。";
}

std::string DamagedMessage(const std::string& what, const std::string& backupName) {
  return kFileQuoted + what + "ランキングは空の状態で始めます。\n" + KeptAs(backupName);
}

std::string SaveFailureMessage(const ScoreFileSave& save) {
  const std::string goesOn = "ランキングはこのまま続け、次のゲームオーバーでもう一度保存します。";
  switch (save.status) {
    case ScoreFileSave::NotRegular:
      return kFileQuoted + "は" + WhatIsThere(save.facts) + "のため、スコアを保存しませんでした。";
    case ScoreFileSave::Busy:
      return "ほかの Pellmora が" + kFileQuoted +
             "を使い続けているため、スコアを保存しませんでした（" + save.result.reason + "）。" +
             goesOn;
    case ScoreFileSave::Unreadable:
      return kFileQuoted + "を読み込めないため、スコアを保存しませんでした（" + save.result.reason +
             "）。" + goesOn;
    case ScoreFileSave::ReadOnly:
      return Quoted(save.facts.target) + "は読み取り専用のため、スコアを保存しませんでした。" +
             "保存するには、このファイルへの書き込みを許可してください。" + goesOn;
    case ScoreFileSave::BackupFailed:
      return "壊れた" + kFileQuoted + "を" + Quoted(save.keptAside) +
             "として残せなかったため、スコアを保存しませんでした（" + save.result.reason + "）。";
    case ScoreFileSave::NoBackupName:
      return kNoBackupName + "壊れた" + kFileQuoted +
             "はそのままにし、スコアを保存しませんでした。" + kFreeABackupName;
    case ScoreFileSave::FileGone:
      return kFileQuoted + "が見つからないため（フォルダーごと取り除かれたかもしれません）、" +
             "スコアを保存しませんでした。ファイルを戻すと、次のゲームオーバーで保存します。";
    case ScoreFileSave::FolderTakesNoFile:
      return "フォルダー" + Quoted(save.facts.folder) +
             "に新しいファイルを作れないため、スコアを保存しませんでした（" + save.result.reason +
             "）。保存するには、このフォルダーへの書き込みを許可してください。" + goesOn;
    default:
      return SaveFailedMessage(save.result.reason) + "ランキングはこのまま続けます。";
  }
}

}  // namespace

// A damaged file does not stop the game: the player is told which line could
// not be read, the ranking starts empty, and the file is left untouched until
// the first save, which keeps it aside under a name no other copy holds.
// Anything but a regular file under the name is told and never written.
void Form1::LoadHiScores() {
  const ScoreFileLook look = scoreFile.Load(host_.Files(), hiScoreTable);
  switch (look.status) {
    case ScoreFileLook::Absent:
    case ScoreFileLook::Read:
    case ScoreFileLook::Unchanged:
      return;
    case ScoreFileLook::NotRegular:
      host_.MsgBox(NotRegularMessage(look.facts), "Pellmora");
      return;
    default:
      host_.MsgBox(
          DamagedMessage(ScoreFileProblem(look), look.status == ScoreFileLook::Unreadable
                                            ? FreeBackupName(host_.Files(), look.facts.target)
                                            : look.backupName),
          "Pellmora");
      return;
  }
}

// Before the name prompt: the table other copies of the game saved since,
// so that the score qualifies against the freshest ranking.
void Form1::RefreshHiScores() {
  const ScoreFileLook look = scoreFile.Refresh(host_.Files(), hiScoreTable);
  if (look.status == ScoreFileLook::Damaged || look.status == ScoreFileLook::TooLarge) {
    host_.MsgBox(kFileQuoted + "がほかから書き換えられ、" + kFileQuoted + ScoreFileProblem(look) +
                     "\nいまのランキングで保存し直します。" + KeptAs(look.backupName),
                 "Pellmora");
  }
}

// A failed save is told to the player and the game goes on: the table in
// memory keeps its entries and the next game over tries again. Nothing is
// shown while the folder is locked.
void Form1::SaveHiScores() {
  const ScoreFileSave save = scoreFile.Save(host_.Files(), hiScoreTable);
  switch (save.status) {
    case ScoreFileSave::Saved:
      if (save.look.status != ScoreFileLook::Unchanged && !save.keptAside.empty()) {
        host_.MsgBox(kFileQuoted + "が壊れていたため" + Quoted(save.keptAside) +
                         "として残し、いまのランキングで保存し直しました。",
                     "Pellmora");
      }
      return;
    default:
      host_.MsgBox(SaveFailureMessage(save), "Pellmora");
      return;
  }
}

}  // namespace pellmora
