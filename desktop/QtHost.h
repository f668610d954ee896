// The desktop host: the game window on Qt with its timers, the message and
// input boxes, the keyboard state, the random source, the files of the
// working directory and the ranking window.
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <cstdint>
#include <deque>
#include <memory>
#include <random>
#include <string>

#include "desktop/Form1Widget.h"
#include "desktop/Form2Widget.h"
#include "desktop/GameFocus.h"
#include "desktop/Gamepad.h"
#include "desktop/Preferences.h"
#include "desktop/VirtualKeys.h"
#include "desktop/WindowZoom.h"
#include "game/Form1.h"
#include "host/Host.h"
#include "scores/PosixFileOps.h"

class QKeyEvent;

namespace pellmora {

class QtHost final : public QObject, public Host, public TimerSink {
  Q_OBJECT

 public:
  // Builds the game window from its design values and starts the timers that
  // are enabled at design. Needs a QApplication.
  QtHost();
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  // The zoom, the whole screen and the pause on focus loss to start with.
  void SetPreferences(const Preferences& preferences);
  Preferences CurrentPreferences() const;

  // Lets game pads play along with the keyboard.
  void EnableGamepad();

  // Raises Form_Load, then shows the window centred on the screen at its
  // zoom, or on the whole screen.
  void Start();

  // True once the program has ended, by End or by an error; the status the
  // process should exit with.
  bool Ended() const noexcept { return ended_; }
  int ExitCode() const noexcept { return exitCode_; }

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

  // Values Rnd hands out first, oldest first, before the generator's.
  void QueueRnd(double value) { queuedRnd_.push_back(value); }

  // For tests: the game, its windows, the ranking window's boxes (nullptr
  // while it is not loaded), the Qt timer behind a game timer, and how many
  // key-downs reached Form_KeyDown.
  Form2Controls* Form2() noexcept { return form2_.get(); }
  Form1& Game() noexcept { return form_; }
  Form1Widget& Window() noexcept { return *window_; }
  Form2Widget* RankingWindow() noexcept { return form2Widget_; }
  const QTimer& QtTimerOf(const Timer& timer) const { return timers_[timer.Id() - 1]; }
  int KeyDownsDelivered() const noexcept { return keyDownsDelivered_; }
  WindowZoom& Zoom() noexcept { return zoom_; }
  Gamepad* Pad() noexcept { return gamepad_.get(); }

 signals:
  // The player changed the zoom or the whole screen with the keys.
  void PreferencesChanged(const pellmora::Preferences& preferences);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  template <typename Handler>
  void Dispatch(Handler&& handler);
  void AfterEvent();
  // A modal box holds up the event loop's painting until it closes: the
  // window shows, behind it, what the handler has done up to the box.
  void ShowCurrentFrame();
  void SyncForm2();
  void OnKeyPress(QObject* watched, const QKeyEvent& key);
  bool OnZoomKey(QObject* watched, const QKeyEvent& key);
  void PauseForFocusLoss();
  void PadKey(int qtKey);
  void PadConfirm();
  void PadDirection(int virtualKey);
  void ReleaseAllKeys() noexcept;
  void Fail(const char* what);
  void Stop(int exitCode);
  void CloseEverything();

  PosixFileOps files_;
  Form1 form_;
  std::unique_ptr<Form1Widget> window_;
  WindowZoom zoom_;
  GameFocus gameFocus_;
  std::unique_ptr<Gamepad> gamepad_;
  bool focusPause_ = true;
  // Focus lost while the banner slid away after the player's Esc: pause again
  // as soon as play resumes.
  bool pauseWhenResumed_ = false;
  int dispatching_ = 0;
  QTimer timers_[4];  // Timer1..Timer4
  std::unique_ptr<Form2Controls> form2_;
  // Deleted later: an unload can come from inside the window's own events.
  QPointer<Form2Widget> form2Widget_;
  std::string shownCaption_;  // what the title bar shows now
  bool held_[virtualkeys::kCount] = {};
  std::mt19937_64 random_;
  std::deque<double> queuedRnd_;
  bool ended_ = false;
  int exitCode_ = 0;
  int keyDownsDelivered_ = 0;
};

}  // namespace pellmora
