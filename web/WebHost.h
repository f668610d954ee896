// The browser host: the game window on a page's canvas, its timers on the
// browser's clock, the boxes as the page's dialogs, the keyboard state, the
// random source, the score file in the browser's storage and the ranking
// window in the page. One loop takes the page's events one at a time, as the
// desktop's event loop does.
#pragma once

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "game/Form1.h"
#include "host/Host.h"
#include "web/Page.h"
#include "web/TimerSchedule.h"
#include "web/WebFileOps.h"

namespace pellmora {

class WebHost final : public Host, public TimerSink {
 public:
  WebHost();
  WebHost(const WebHost&) = delete;
  WebHost& operator=(const WebHost&) = delete;

  // Puts the empty table in storage on the first visit, raises Form_Load,
  // then handles the page's events until the program ends.
  void Run();

  void MsgBox(const std::string& text, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title) override;
  int16_t GetAsyncKeyState(int virtualKey) override;
  void Randomize() override;
  double Rnd() override;
  FileOps& Files() override { return files_; }
  Form2Controls& ShowForm2() override;
  void UnloadForm2() override;
  void Form2Changed() override;
  void End() override;

  void TimerSwitched(Timer& timer) override;

 private:
  static constexpr int kKeyCodes = 256;

  template <typename Handler>
  void Dispatch(Handler&& handler);
  void AfterEvent();
  void Handle(const page::Event& event);
  void FireTimer(int index);
  void PointerUp(float x, float y);
  void Import(std::string bytes);
  void Paint();
  void ReleaseAllKeys() noexcept;
  void Fail(const char* what);

  WebFileOps files_;
  Form1 form_;
  TimerSchedule schedule_;
  std::unique_ptr<Form2Controls> form2_;
  bool held_[kKeyCodes] = {};
  std::mt19937_64 random_;
  std::string shownCaption_;
  int pressedButton_ = -1;  // the menu button held down by the pointer
  bool ended_ = false;
  bool paintAsked_ = false;
  bool autopilot_ = false;
};

}  // namespace pellmora
