// The browser host's replays: watched in the game's canvas while the game
// waits at its menu, and shared as links. A replay that cannot be read or
// played is told; the game and the ranking stay as they were.
#include <cmath>
#include <cstdint>

#include "host/Design.h"
#include "play/ReplayShelf.h"
#include "web/RankingWindow.h"
#include "web/WebHost.h"

namespace pellmora {

namespace {

constexpr int kSpaceKey = 32;

}  // namespace

void WebHost::Watch(const Replay& replay) {
  if (session_.Game().playing != 0) {
    // Nothing of a game under way is lost to a replay: it waits paused.
    session_.PauseAsEsc();
    MsgBox("ゲーム中はリプレイを再生できません。ゲームが終わってから、もう一度選んでください。",
           design::kGameName);
    AfterEvent();
    return;
  }
  session_.ReleaseAllKeys();
  pressedButton_ = -1;
  watched_ = std::make_unique<ReplayPlayer>(replay);
  page::Watching(true);
  PlayWatched();
  AfterEvent();
}

void WebHost::WatchBytes(const std::string& bytes) {
  const ReplayRead read = ReadReplay(bytes);
  if (!read.ok) {
    MsgBox("このリプレイは再生できません（" + read.error + "）。", design::kGameName);
    AfterEvent();
    return;
  }
  Watch(read.replay);
}

void WebHost::PlayWatched() {
  if (watched_->Run(std::llround(page::Now()))) AfterEvent();
  if (watched_->Finished()) StopWatching();
}

// At the replay's end nothing is asked or saved: the menu comes back.
void WebHost::StopWatching() {
  const std::string problem = watched_->Problem();
  watched_.reset();
  page::Watching(false);
  AfterEvent();
  if (!problem.empty()) {
    MsgBox("リプレイを最後まで再生できませんでした（" + problem + "）。", design::kGameName);
    AfterEvent();
  }
}

void WebHost::WatchKeyDown(int virtualKey) {
  if (watched_->KeyDown(virtualKey)) {
    PlayWatched();
    if (watched_) AfterEvent();
  }
}

void WebHost::PauseWatched() {
  if (!watched_->Paused()) WatchKeyDown(kSpaceKey);
}

std::optional<Replay> WebHost::RankReplay(int rank) {
  if (session_.Form2() == nullptr || rank < 1 || rank > kHiScoreListed) return std::nullopt;
  std::optional<Replay> replay = ReplayOfRank(files_, ShownTable(*session_.Form2()), rank);
  if (!replay) {
    MsgBox(std::to_string(rank) + "位のゲームのリプレイはありません。", design::kGameName);
    AfterEvent();
  }
  return replay;
}

// The share box is modal: a game under way waits paused behind it.
void WebHost::Share(const Replay& replay) {
  session_.PauseAsEsc();
  session_.ReleaseAllKeys();
  page::ShareReplay(WriteReplay(replay));
}

// The game of this page that ended last, or the one kept from before.
std::optional<Replay> WebHost::LastGame() {
  if (session_.Recordings().HasLastGame()) return session_.Recordings().LastGame("browser");
  return LastReplay(files_);
}

void WebHost::ShareLast() {
  if (const std::optional<Replay> last = LastGame()) {
    Share(*last);
  } else {
    MsgBox("共有できるゲームがまだありません。", design::kGameName);
    AfterEvent();
  }
}

// Sending takes no box and no pause: the page tells how it went while the
// game goes on.
void WebHost::SendLast() {
  const std::optional<Replay> last = LastGame();
  page::SendReplay(last ? WriteReplay(*last) : std::string());
}

// The ranking window's rows whose game can be watched.
void WebHost::MarkRankReplays(const Form2Controls& boxes) {
  const HiScoreTable shown = ShownTable(boxes);
  std::uint32_t ranks = 0;
  for (int rank = 1; rank <= kHiScoreListed; ++rank) {
    if (ReplayOfRank(files_, shown, rank)) ranks |= 1u << (rank - 1);
  }
  page::MarkRankReplays(ranks);
}

// "共有" is offered once a game of this page ended, or one is kept.
void WebHost::NoteLastGame() {
  if (lastShareable_) return;
  if (!session_.Recordings().HasLastGame() && !LastReplay(files_)) return;
  lastShareable_ = true;
  page::LastGameShareable(true);
}

}  // namespace pellmora
