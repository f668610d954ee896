// The one way into the game for every host. It owns the game window's logic,
// its timers on a clock, the key state the game polls, the random source and
// the ranking window's boxes; every event reaches the game through it, one
// handler at a time: a timer fired, a key down or up, a button clicked, a box
// answered. A host turns its toolkit's events into calls here, implements the
// Frontend, and draws.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "game/Form1.h"
#include "host/Host.h"
#include "play/Frontend.h"
#include "play/KeyState.h"
#include "play/Luck.h"
#include "play/Recorder.h"
#include "play/ReplayEvents.h"
#include "play/TimerDispatch.h"

namespace pellmora {

enum class MenuButton { Command1 = 0, Command2 = 1, Command3 = 2 };

class PlaySession final : public Host, private TimerTarget {
 public:
  // How Randomize seeds the random source at start-up.
  enum class Seeding {
    Entropy,  // a fresh seed each start (the desktop, the browser)
    Fixed,    // the seed given, so that a script replays the same way each time
  };

  // Builds Form1 from its design values and puts its timers on the clock: the
  // host's real clock, or the virtual one when `realClock` is null.
  PlaySession(Frontend& frontend, RealClock* realClock, Seeding seeding, std::uint64_t seed = 1);
  PlaySession(const PlaySession&) = delete;
  PlaySession& operator=(const PlaySession&) = delete;
  ~PlaySession() override;

  // Events. Each runs its handler to the end; none runs once the program has
  // ended.
  void Load();
  // Fires every timer event due up to `until` (on the virtual clock, moves
  // the clock there).
  void FireDue(std::int64_t until);
  // A key-down reaches Form_KeyDown every time, a held key's repeats
  // included. A real keyboard's first press also marks the key held; a
  // script holds keys apart from its key-downs.
  void KeyDown(int virtualKey, bool marksHeld);
  void KeyUp(int virtualKey) noexcept { keys_.SetHeld(virtualKey, false); }
  // The player looked away (a hidden tab, another program): a game in play
  // pauses as the player's Esc pauses it, and only their own Esc resumes it.
  void PauseAsEsc();
  // A key let go where the game cannot see it (another window, a box).
  void ReleaseAllKeys() noexcept { keys_.ReleaseAll(); }
  // False when nothing happened: the button is hidden, or the program ended.
  bool Click(MenuButton button);
  // The ranking window's close button; false while it is not loaded.
  bool ClickForm2Close();
  // The ranking window closed by its title bar.
  void CloseForm2();
  // The game window closed by its title bar: the program ends.
  void CloseWindow();

  // Every game from its start to its game over is recorded while on.
  void RecordGames(bool on) noexcept { recordGames_ = on; }
  const Recorder& Recordings() const noexcept { return recorder_; }
  // After each recorded game over its replay is kept beside the score file,
  // named as made by `host`; empty keeps none.
  void KeepReplays(std::string host) { keepHost_ = std::move(host); }
  // What the last keep could not do; empty when it kept everything.
  const std::string& ShelfProblem() const noexcept { return shelfProblem_; }
  // A replay's event, with the key reads and scripted values it took.
  void ReplayEvent(const RecordedEvent& event);

  // State the hosts read.
  Form1& Game() noexcept { return form_; }
  const Form1& Game() const noexcept { return form_; }
  Form2Controls* Form2() noexcept { return form2_.get(); }
  bool Ended() const noexcept { return ended_; }
  bool Dispatching() const noexcept { return dispatching_ > 0; }
  // How many key-downs reached Form_KeyDown.
  std::int64_t KeyDownsDelivered() const noexcept { return keyDowns_; }
  TimerDispatch& Timers() noexcept { return timers_; }
  KeyState& Keys() noexcept { return keys_; }
  Luck& Random() noexcept { return luck_; }
  void SetAutopilot(bool on) noexcept { keys_.SetAutopilot(on ? &form_ : nullptr); }

  // Host, for the game.
  void MsgBox(const std::string& text, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title) override;
  int16_t GetAsyncKeyState(int virtualKey) override;
  void Randomize() override;
  double Rnd() override;
  FileOps& Files() override { return frontend_.Files(); }
  Form2Controls& ShowForm2() override;
  void UnloadForm2() override;
  void Form2Changed() override;
  void End() override;

 private:
  template <typename Handler>
  void Dispatch(ReplayEventKind kind, std::int32_t arg, Handler&& handler);
  void FireTimer(int timerId);
  bool TimerFired(int timerId) override;

  Frontend& frontend_;
  Seeding seeding_;
  Form1 form_;
  TimerDispatch timers_;
  KeyState keys_;
  Luck luck_;
  std::unique_ptr<Form2Controls> form2_;
  Recorder recorder_;
  bool recordGames_ = false;
  std::string keepHost_;
  std::string shelfProblem_;
  int dispatching_ = 0;
  std::int64_t keyDowns_ = 0;
  bool ended_ = false;
};

}  // namespace pellmora
