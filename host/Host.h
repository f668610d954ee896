// The host contract: everything the game logic may ask of the world.
// The game reads and writes the screen objects' plain members directly; the
// host draws them at the next repaint. Services that talk to the player or
// the disk go through the abstract Host below. No toolkit header here.
#pragma once

#include <cstdint>
#include <string>

#include "host/FileOps.h"

namespace pellmora {

// A window's object: image, label, button or text box. Places are
// single-precision pixels of the client area, origin top-left, y down.
struct ScreenObject {
  float Left = 0;
  float Top = 0;
  float Width = 0;
  float Height = 0;
  bool Visible = false;
};

class Timer;

// Told by a timer whenever its Enabled switches, so that the host can start
// a full interval or stop the timer at once.
class TimerSink {
 public:
  virtual void TimerSwitched(Timer& timer) = 0;

 protected:
  ~TimerSink() = default;
};

class Timer {
 public:
  Timer(int id, int interval, bool enabled) : Interval(interval), id_(id), enabled_(enabled) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  int Interval;  // milliseconds

  bool Enabled() const noexcept { return enabled_; }
  // Switching a disabled timer on starts a full interval; switching on a
  // running timer changes nothing (it keeps its schedule).
  void SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (sink_ != nullptr) sink_->TimerSwitched(*this);
  }
  int Id() const noexcept { return id_; }
  void AttachSink(TimerSink* sink) noexcept { sink_ = sink; }

 private:
  int id_;
  bool enabled_;
  TimerSink* sink_ = nullptr;
};

// The text boxes of the ranking window carry a text besides their place.
struct TextBox : ScreenObject {
  std::string Text;
};

// The ranking window's twenty boxes; its labels never change at run time
// and live in the design values only.
struct Form2Controls {
  TextBox Text1[10];  // names
  TextBox Text2[10];  // scores
  Form2Controls();    // design values
};

// Virtual-key codes the game polls or receives.
enum VirtualKey : int {
  vbKeyEscape = 27,
  vbKeyLeft = 37,
  vbKeyUp = 38,
  vbKeyRight = 39,
  vbKeyDown = 40,
};

class Host {
 public:
  virtual ~Host() = default;

  // Modal message box with one OK button; returns when closed.
  virtual void MsgBox(const std::string& text, const std::string& title) = 0;
  // Modal input box; the empty text when cancelled.
  virtual std::string InputBox(const std::string& prompt, const std::string& title) = 0;
  // Non-zero while the key is held.
  virtual int16_t GetAsyncKeyState(int virtualKey) = 0;
  // Seeds the random source from the clock.
  virtual void Randomize() = 0;
  // Next random value v, 0 <= v < 1.
  virtual double Rnd() = 0;
  // The file layer of the working directory.
  virtual FileOps& Files() = 0;

  // The ranking window: shown modeless, built from its design values when it
  // is not loaded.
  virtual Form2Controls& ShowForm2() = 0;
  virtual void UnloadForm2() = 0;
  // Tells the host that the ranking window's boxes were filled.
  virtual void Form2Changed() = 0;

  // Ends the program at once: no further events are handled.
  virtual void End() = 0;
};

}  // namespace pellmora
