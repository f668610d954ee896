#include "web/WebHost.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "game/ScoreFileMessages.h"
#include "host/Design.h"
#include "play/Form1Painter.h"
#include "scores/ScoreFile.h"
#include "web/FirstVisit.h"
#include "web/ImportedFiles.h"
#include "web/PageCanvas.h"
#include "web/RankingWindow.h"

namespace pellmora {

WebHost::WebHost() : session_(*this, this, PlaySession::Seeding::Entropy) {
  shownCaption_.reserve(64);
  // Every game is recorded from its start to its game over, and kept with
  // the ranking.
  session_.RecordGames(true);
  session_.KeepReplays("browser");
}

std::int64_t WebHost::Now() {
  return std::llround(page::Now() * static_cast<double>(TimerDispatch::kMicrosecondsPerMs));
}

void WebHost::Run() {
  UploadPictures();
  DefineLabels();
  session_.SetAutopilot(page::AutopilotWanted());
  session_.RecordGames(page::RecordingWanted());
  // As the desktop launcher does: a first start finds the empty table.
  if (!files_.Exists(kHiScoreFileName)) {
    const FolderLock lock(files_, ".");
    PutEmptyTableIfMissing(files_);
  }

  session_.Load();
  NoteLastGame();
  const TimerDispatch& timers = session_.Timers();
  while (!ended_) {
    // Every timer event that is due goes first, in time order.
    const std::int64_t ticks = timers.Fired(2);
    session_.FireDue(Now());
    for (std::int64_t tick = ticks; tick < timers.Fired(2); ++tick) page::NoteTick();
    if (ended_) break;
    if (watched_) PlayWatched();
    Handle(page::WaitEvent(NextDueMs()));
  }
}

// The game's next timer, or the watched replay's next event when sooner.
double WebHost::NextDueMs() {
  const std::int64_t next = session_.Timers().NextDue();
  double due = next == TimerDispatch::kNever
                   ? HUGE_VAL
                   : static_cast<double>(next) / TimerDispatch::kMicrosecondsPerMs;
  const std::int64_t wait = watched_ ? watched_->MsUntilNext() : -1;
  if (wait >= 0) due = std::min(due, page::Now() + static_cast<double>(wait));
  return due;
}

// After every handler the page shows what it changed.
void WebHost::EventDone() {
  files_.EventDone();
  if (!ended_) AfterEvent();
}

void WebHost::AfterEvent() {
  if (watched_) {
    ShowCaption(watched_->Caption());
  } else {
    ShowCaption(session_.Game().Caption);
  }
  if (!lastShareable_ && session_.Recordings().HasLastGame()) NoteLastGame();
  if (!paintAsked_) {
    paintAsked_ = true;
    page::RequestPaint();
  }
}

void WebHost::ShowCaption(const std::string& caption) {
  if (caption == shownCaption_) return;
  shownCaption_ = caption;
  page::SetTitle(shownCaption_);
}

void WebHost::Handle(const page::Event& event) {
  using page::EventKind;
  switch (event.kind) {
    case EventKind::TimeReached:
      break;
    case EventKind::KeyDown:
      if (event.a <= 0 || event.a >= kKeyCodes) break;
      if (watched_) {
        WatchKeyDown(event.a);
        break;
      }
      session_.KeyDown(event.a, event.b == 0);
      break;
    case EventKind::KeyUp:
      session_.KeyUp(event.a);
      break;
    case EventKind::PointerDown:
      // The menu waits under a replay: its buttons are not on the screen.
      if (watched_) break;
      pressedButton_ =
          MenuButtonAt(session_.Game(), static_cast<float>(event.a), static_cast<float>(event.b));
      if (pressedButton_ >= 0) AfterEvent();
      break;
    case EventKind::PointerUp:
      PointerUp(static_cast<float>(event.a), static_cast<float>(event.b));
      break;
    case EventKind::FocusLost:
      session_.ReleaseAllKeys();
      break;
    case EventKind::Hidden:
      session_.ReleaseAllKeys();
      // A hidden tab would leave the ball flying unseen.
      session_.PauseAsEsc();
      if (watched_) PauseWatched();
      break;
    case EventKind::Paint:
      paintAsked_ = false;
      Paint();
      break;
    case EventKind::RankingClose:
      session_.ClickForm2Close();
      break;
    case EventKind::RankingClosed:
      session_.CloseForm2();
      break;
    case EventKind::Import:
      Import(event.a);
      break;
    case EventKind::WatchFile: {
      char* bytes = reinterpret_cast<char*>(static_cast<std::uintptr_t>(event.a));
      const std::string copy(bytes, static_cast<std::size_t>(event.b));
      std::free(bytes);
      WatchBytes(copy);
      break;
    }
    case EventKind::WatchRank:
      if (const std::optional<Replay> replay = RankReplay(event.a)) Watch(*replay);
      break;
    case EventKind::ShareRank:
      if (const std::optional<Replay> replay = RankReplay(event.a)) Share(*replay);
      break;
    case EventKind::ShareLast:
      ShareLast();
      break;
    case EventKind::SendLast:
      SendLast();
      break;
  }
}

// A click is a press and a release on the same visible button.
void WebHost::PointerUp(float x, float y) {
  const int pressed = pressedButton_;
  pressedButton_ = -1;
  if (pressed < 0) return;
  AfterEvent();
  if (MenuButtonAt(session_.Game(), x, y) != pressed) return;
  session_.Click(static_cast<MenuButton>(pressed));
}

// Imported files are checked as start-up reads them; good ones replace the
// stored table and its replays, and the game starts again so that start-up
// reads them.
void WebHost::Import(int fileCount) {
  if (ended_) return;
  std::vector<ImportedFile> imported(static_cast<std::size_t>(std::max(0, fileCount)));
  for (int i = 0; i < fileCount; ++i) page::ImportedFile(i, imported[i].name, imported[i].bytes);
  const std::string problem = ImportProblem(imported);
  if (!problem.empty()) {
    MsgBox(problem, design::kGameName);
    AfterEvent();
    return;
  }
  const SaveResult saved = StoreImported(files_, imported);
  if (!saved.Ok()) {
    MsgBox(SaveFailedMessage(saved.reason), design::kGameName);
    AfterEvent();
    return;
  }
  ended_ = true;
  page::Restart();
}

void WebHost::Paint() {
  PageCanvas canvas;
  if (watched_) {
    PaintForm1(watched_->Game(), canvas, -1);
  } else {
    PaintForm1(session_.Game(), canvas, pressedButton_);
  }
}

void WebHost::MsgBox(const std::string& text, const std::string& title) {
  if (ended_) return;
  session_.ReleaseAllKeys();
  pressedButton_ = -1;
  page::MessageBox(text, title);
}

std::string WebHost::InputBox(const std::string& prompt, const std::string& title) {
  if (ended_) return {};
  session_.ReleaseAllKeys();
  pressedButton_ = -1;
  std::string answer;
  if (!page::InputBox(prompt, title, answer)) return {};
  return answer;
}

void WebHost::Form2Opened(Form2Controls& boxes) {
  OpenRankingWindow();
  SyncRankingWindow(boxes);
  MarkRankReplays(boxes);
}

// Asked for again while it is open, the same window comes to the front.
void WebHost::Form2Raised() {
  OpenRankingWindow();
}

void WebHost::Form2Changed(const Form2Controls& boxes) {
  SyncRankingWindow(boxes);
  MarkRankReplays(boxes);
}

void WebHost::Form2Closed() {
  page::CloseRanking();
}

void WebHost::ProgramEnded() {
  if (ended_) return;
  ended_ = true;
  page::Ended(false);
}

void WebHost::ProgramFailed(const char* what) {
  if (ended_) return;
  ended_ = true;
  page::MessageBox(what, design::kGameName);
  if (session_.Form2() != nullptr) page::CloseRanking();
  page::Ended(true);
}

}  // namespace pellmora
