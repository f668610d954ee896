// Watching a replay in the game window: the window's own game waits while
// a replay plays on a game of its own, drawn by the same painter.
#include <QString>
#include <algorithm>
#include <charconv>

#include "desktop/QtHost.h"
#include "game/Int16.h"
#include "play/ReplayShelf.h"

namespace pellmora {

namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A watched game's last picture stays this long before the window shows its
// own game again, so that the watcher sees how it ended.
constexpr int kEndHoldMs = 1500;

std::string Quoted(const std::string& text) {
  return "「" + text + "」";
}

}  // namespace

void QtHost::RefuseWatch(const std::string& text, const std::string& why) {
  emit WatchRefused(FromUtf8(why));
  MsgBox(text, kWatchBoxTitle);
}

bool QtHost::WatchFile(const std::string& path) {
  std::string bytes;
  const FileResult read = files_.ReadAll(path, bytes, kMaxReplayBytes);
  if (!read.Ok()) {
    RefuseWatch(Quoted(path) + "を読み込めませんでした（" + read.reason + "）。",
                "cannot read '" + path + "': " + read.reason);
    return false;
  }
  const ReplayRead replay = ReadReplay(bytes);
  if (!replay.ok) {
    RefuseWatch(Quoted(path) + "はリプレイとして再生できません（" + replay.error + "）。",
                "'" + path + "' cannot be watched: " + replay.error);
    return false;
  }
  return Watch(replay.replay);
}

bool QtHost::Watch(const Replay& replay) {
  // Not from inside a handler: a save waiting for another copy of the game.
  if (ended_ || session_.Dispatching()) return false;
  auto player = std::make_unique<ReplayPlayer>(replay);
  if (player->Finished()) {
    RefuseWatch("リプレイを再生できません（" + player->Problem() + "）。",
                "the replay cannot be watched: " + player->Problem());
    return false;
  }
  if (player_ == nullptr) {
    // The game in play waits paused, as the player's Esc pauses it, and
    // only their Esc resumes it afterwards; its clock stands still.
    session_.PauseAsEsc();
    session_.ReleaseAllKeys();
    if (ended_) return false;
  }
  watchWake_.stop();
  holdingEnd_ = false;
  window_->ShowGame(player->Game());
  player_ = std::move(player);
  wake_.stop();
  // The game window comes to the front with the keys, for Space, the right
  // arrow and Esc.
  window_->raise();
  window_->activateWindow();
  WatchStep();
  return true;
}

void QtHost::WatchStep() {
  if (player_ == nullptr) return;
  if (holdingEnd_) {
    EndWatch();
    return;
  }
  if (player_->Run(clock_.elapsed())) window_->UpdateChanged();
  ShowCaption();
  window_->SyncButtons();
  if (player_->Finished()) {
    const std::string problem = player_->Problem();
    if (!problem.empty()) {
      EndWatch();
      RefuseWatch("リプレイの再生を続けられません（" + problem + "）。",
                  "the replay stopped: " + problem);
      return;
    }
    holdingEnd_ = true;
    watchWake_.start(kEndHoldMs);
    return;
  }
  const std::int64_t wait = player_->MsUntilNext();
  if (wait >= 0) watchWake_.start(static_cast<int>(std::min<std::int64_t>(wait, 1 << 30)));
}

void QtHost::OnWatchKey(int virtualKey) {
  if (holdingEnd_) {
    if (virtualKey == vbKeyEscape) EndWatch();
    return;
  }
  // What fell due up to the key is played first: a pause stops the game
  // where the watcher saw it.
  if (player_->Run(clock_.elapsed())) window_->UpdateChanged();
  if (!player_->Finished()) player_->KeyDown(virtualKey);
  if (virtualKey == vbKeyEscape && player_->Problem().empty()) {
    EndWatch();
    return;
  }
  watchWake_.stop();
  WatchStep();
}

void QtHost::EndWatch() {
  if (player_ == nullptr) return;
  watchWake_.stop();
  holdingEnd_ = false;
  window_->ShowGame(session_.Game());
  player_.reset();
  ShowCaption();
  window_->SyncButtons();
  WakeAt(session_.Timers().NextDue());
  emit WatchEnded();
}

bool QtHost::ShownTable(HiScoreTable& table) {
  const Form2Controls* boxes = session_.Form2();
  if (boxes == nullptr) return false;
  for (int i = 0; i < kHiScoreListed; ++i) {
    const std::string& text = boxes->Text2[i].Text;
    int score = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), score);
    if (error != std::errc() || end != text.data() + text.size()) score = 0;
    table.hiScores[i] = static_cast<int16_t>(std::clamp(score, -32768, 32767));
    table.hiNames[i] = boxes->Text1[i].Text;
  }
  return true;
}

Form2Widget::WatchOffer QtHost::WatchOfferFor(int rank) {
  HiScoreTable table;
  if (rank < 1 || rank > kHiScoreListed || !ShownTable(table) || table.hiNames[rank - 1].empty()) {
    return Form2Widget::WatchOffer::None;
  }
  if (ended_ || session_.Dispatching()) return Form2Widget::WatchOffer::Unavailable;
  return ReplayOfRank(files_, table, rank).has_value() ? Form2Widget::WatchOffer::Available
                                                       : Form2Widget::WatchOffer::Unavailable;
}

bool QtHost::WatchRank(int rank) {
  HiScoreTable table;
  if (ended_ || rank < 1 || rank > kHiScoreListed || !ShownTable(table)) return false;
  const std::optional<Replay> replay = ReplayOfRank(files_, table, rank);
  if (!replay) {
    RefuseWatch(std::to_string(rank) + "位のゲームのリプレイが見つかりません。",
                "no replay is kept for rank " + std::to_string(rank));
    return false;
  }
  return Watch(*replay);
}

}  // namespace pellmora
