// The headless host: the game without a window, on the virtual clock, with
// scripted random values, key states and dialog answers. Dialogs and the end
// of the program are reported as lines on an output stream. The script's
// hooks are calls on the play session that SimGame holds.
#pragma once

#include <cstdint>
#include <deque>
#include <iosfwd>
#include <optional>
#include <string>

#include "play/Frontend.h"
#include "posix/PosixFileOps.h"

namespace pellmora {

class PlaySession;

class SimHost final : public Frontend {
 public:
  // The latest the virtual clock may reach; keeps every due time in range.
  static constexpr std::int64_t kClockLimit = std::int64_t{1} << 62;

  explicit SimHost(std::ostream& out, std::uint64_t seed = 1);
  SimHost(const SimHost&) = delete;
  SimHost& operator=(const SimHost&) = delete;

  // Frontend
  void MsgBox(const std::string& text, const std::string& title) override;
  std::string InputBox(const std::string& prompt, const std::string& title) override;
  FileOps& Files() override { return *files_; }
  void Form2Opened(Form2Controls& /*boxes*/) override {}
  void Form2Raised() override {}
  void Form2Changed(const Form2Controls& /*boxes*/) override {}
  void Form2Closed() override {}
  void ProgramEnded() override;
  void ProgramFailed(const char* what) override;
  void EventDone() override {}

  // The seed of the session's random source.
  std::uint64_t Seed() const noexcept { return seed_; }

  // Advances the clock by ms, firing in time order every event due up to and
  // including the new time; stops early when the program ends.
  void Wait(std::int64_t ms);
  std::int64_t Clock() const noexcept;
  bool Ended() const noexcept { return ended_; }
  // How many events timer 1..4 has raised so far.
  std::int64_t Fired(int timerId) const noexcept;

  // Script hooks. The ranking window's boxes: nullptr while it is not loaded.
  Form2Controls* Form2() noexcept;
  void QueueRnd(double value);
  void QueueAnswer(std::string text);
  void QueueCancel();
  void SetKeyHeld(int virtualKey, bool held) noexcept;
  void SetAutopilot(bool on) noexcept;
  // Another file layer (a test's faulty disk); the host does not own it.
  void UseFiles(FileOps& files) noexcept { files_ = &files; }

 private:
  friend class SimGame;
  void WriteLine(const std::string& line);

  std::ostream& out_;
  std::uint64_t seed_;
  PlaySession* session_ = nullptr;  // the game being played, set by SimGame
  bool ended_ = false;
  std::deque<std::optional<std::string>> answers_;  // nothing = cancel
  PosixFileOps posixFiles_;
  FileOps* files_ = &posixFiles_;
};

}  // namespace pellmora
