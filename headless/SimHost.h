// The simulated host: the game without a window, on a virtual clock, with
// scripted random values, key states and dialog answers. Dialogs and the end
// of the program are reported as lines on an output stream.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <iosfwd>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "host/Host.h"
#include "scores/PosixFileOps.h"

namespace pellmora {

struct Form1Controls;

// Receives the timer events of the simulated host: the game window, or a
// test's recorder. One call per event, with the timer's id 1..4.
class SimTimerTarget {
 public:
  virtual void TimerFired(int timerId) = 0;

 protected:
  ~SimTimerTarget() = default;
};

class SimHost final : public Host, public TimerSink {
 public:
  static constexpr int kTimerCount = 4;
  // The latest the virtual clock may reach; keeps every due time in range.
  static constexpr std::int64_t kClockLimit = std::int64_t{1} << 62;

  explicit SimHost(std::ostream& out, std::uint64_t seed = 1);
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;
  ~SimHost() override = default;

  // Host
  void MsgBox(const std::string& text, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title) override;
  int16_t GetAsyncKeyState(int virtualKey) override;
  void Randomize() override;
  double Rnd() override;
  FileOps& Files() override;
  Form2Controls& ShowForm2() override;
  void UnloadForm2() override;
  void Form2Changed() override;
  void End() override;

  // TimerSink
  void TimerSwitched(Timer& timer) override;

  // Puts the window's Timer1..Timer4 on the virtual clock (an enabled one
  // starts a full interval now) and lets the autopilot read its places.
  void Attach(Form1Controls& window, SimTimerTarget& target);
  // Lets go of the window before it is destroyed; the host may outlive it.
  void Detach() noexcept;

  // Advances the clock by ms, firing in time order every event due up to and
  // including the new time; stops early when the program ends.
  void Wait(std::int64_t ms);
  std::int64_t Clock() const noexcept { return clock_; }
  bool Ended() const noexcept { return ended_; }
  // How many events timer 1..4 has raised so far.
  std::int64_t Fired(int timerId) const noexcept { return fired_[timerId - 1]; }

  // Script hooks. The ranking window's boxes: nullptr while it is not loaded.
  Form2Controls* Form2() noexcept { return form2_.get(); }
  void QueueRnd(double value);
  void QueueAnswer(std::string text);
  void QueueCancel();
  void SetKeyHeld(int virtualKey, bool held) noexcept;
  void SetAutopilot(bool on) noexcept { autopilot_ = on; }
  // Another file layer (a test's faulty disk); the host does not own it.
  void UseFiles(FileOps& files) noexcept { files_ = &files; }

 private:
  static constexpr std::int64_t kNever = INT64_MAX;
  static constexpr int kKeyCodes = 256;

  bool AutopilotHolds(int virtualKey) const noexcept;
  void WriteLine(const std::string& line);

  std::ostream& out_;
  std::int64_t clock_ = 0;
  bool ended_ = false;

  Timer* timers_[kTimerCount] = {};
  std::int64_t due_[kTimerCount] = {kNever, kNever, kNever, kNever};
  std::int64_t fired_[kTimerCount] = {};
  SimTimerTarget* target_ = nullptr;

  std::vector<double> rndQueue_;
  std::size_t rndNext_ = 0;
  std::mt19937_64 generator_;

  std::deque<std::optional<std::string>> answers_;  // nothing = cancel

  std::array<bool, kKeyCodes> held_ = {};
  bool autopilot_ = false;
  const ScreenObject* ball_ = nullptr;
  const ScreenObject* leftPaddle_ = nullptr;
  const ScreenObject* topPaddle_ = nullptr;

  PosixFileOps posixFiles_;
  FileOps* files_ = &posixFiles_;

  std::unique_ptr<Form2Controls> form2_;
};

}  // namespace pellmora
