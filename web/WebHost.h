// The browser host: the game window on a page's canvas, the boxes as the
// page's dialogs, the score file in the browser's storage and the ranking
// window in the page. One loop takes the page's events one at a time, as the
// desktop's event loop does, and turns them into calls on the play session.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "play/Frontend.h"
#include "play/PlaySession.h"
#include "play/Replay.h"
#include "play/ReplayPlayer.h"
#include "play/TimerDispatch.h"
#include "web/Page.h"
#include "web/WebFileOps.h"

namespace pellmora {

class WebHost final : public Frontend, public RealClock {
 public:
  WebHost();
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  // Puts the empty table in storage on the first visit, raises Form_Load,
  // then handles the page's events until the program ends.
  void Run();

  // Frontend
  void MsgBox(const std::string& text, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title) override;
  FileOps& Files() override { return files_; }
  void Form2Opened(Form2Controls& boxes) override;
  void Form2Raised() override;
  void Form2Changed(const Form2Controls& boxes) override;
  void Form2Closed() override;
  void ProgramEnded() override;
  void ProgramFailed(const char* what) override;
  void EventDone() override;

  // RealClock: the page's clock in microseconds; the loop itself waits for
  // the next due time.
  std::int64_t Now() override;
  void WakeAt(std::int64_t /*due*/) override {}

 private:
  static constexpr int kKeyCodes = 256;

  void AfterEvent();
  void ShowCaption(const std::string& caption);
  double NextDueMs();
  void Handle(const page::Event& event);
  void PointerUp(float x, float y);
  void Import(int fileCount);
  void Paint();

  // Replays (WebReplays.cpp): watched in the game's canvas in place of the
  // game, which waits at its menu meanwhile; shared as a link, or sent to
  // the world ranking by the page.
  void Watch(const Replay& replay);
  void WatchBytes(const std::string& bytes);
  void PlayWatched();
  void StopWatching();
  void WatchKeyDown(int virtualKey);
  void PauseWatched();
  std::optional<Replay> RankReplay(int rank);
  void Share(const Replay& replay);
  void ShareLast();
  void SendLast();
  std::optional<Replay> LastGame();
  void MarkRankReplays(const Form2Controls& boxes);
  void NoteLastGame();

  WebFileOps files_;
  PlaySession session_;
  std::unique_ptr<ReplayPlayer> watched_;
  std::string shownCaption_;
  int pressedButton_ = -1;  // the menu button held down by the pointer
  bool ended_ = false;
  bool paintAsked_ = false;
  bool lastShareable_ = false;
};

}  // namespace pellmora
