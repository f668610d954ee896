// The browser host: the game window on a page's canvas, the boxes as the
// page's dialogs, the score file in the browser's storage and the ranking
// window in the page. One loop takes the page's events one at a time, as the
// desktop's event loop does, and turns them into calls on the play session.
#pragma once

#include <cstdint>
#include <string>

#include "play/Frontend.h"
#include "play/PlaySession.h"
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
  void Handle(const page::Event& event);
  void PointerUp(float x, float y);
  void Import(std::string bytes);
  void Paint();

  WebFileOps files_;
  PlaySession session_;
  std::string shownCaption_;
  int pressedButton_ = -1;  // the menu button held down by the pointer
  bool ended_ = false;
  bool paintAsked_ = false;
};

}  // namespace pellmora
