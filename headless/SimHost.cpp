#include "headless/SimHost.h"

#include <ostream>
#include <stdexcept>
#include <utility>

#include "headless/SimFormat.h"
#include "play/PlaySession.h"

namespace pellmora {

SimHost::SimHost(std::ostream& out, std::uint64_t seed) : out_(out), seed_(seed) {}

void SimHost::WriteLine(const std::string& line) {
  out_.write(line.data(), static_cast<std::streamsize>(line.size()));
  out_.put('\n');
}

void SimHost::MsgBox(const std::string& text, const std::string& title) {
  std::string line = "msgbox title=";
  AppendQuoted(line, title);
  line += " text=";
  AppendQuoted(line, text);
  WriteLine(line);
}

std::string SimHost::InputBox(const std::string& prompt, const std::string& title) {
  std::string result;  // no answer queued: the player cancels
  if (!answers_.empty()) {
    if (answers_.front()) result = std::move(*answers_.front());
    answers_.pop_front();
  }
  std::string line = "inputbox title=";
  AppendQuoted(line, title);
  line += " prompt=";
  AppendQuoted(line, prompt);
  line += " result=";
  AppendQuoted(line, result);
  WriteLine(line);
  return result;
}

void SimHost::ProgramEnded() {
  ended_ = true;
  WriteLine("end");
}

// No window to show the words in: they go to whoever runs the script.
void SimHost::ProgramFailed(const char* what) {
  ended_ = true;
  throw std::runtime_error(what);
}

void SimHost::Wait(std::int64_t ms) {
  if (session_ == nullptr || ended_) return;
  if (ms < 0) ms = 0;
  if (ms > kClockLimit - Clock()) ms = kClockLimit - Clock();
  session_->FireDue(Clock() + ms);
}

std::int64_t SimHost::Clock() const noexcept {
  return session_ != nullptr ? session_->Timers().Now() : 0;
}

std::int64_t SimHost::Fired(int timerId) const noexcept {
  return session_ != nullptr ? session_->Timers().Fired(timerId) : 0;
}

Form2Controls* SimHost::Form2() noexcept {
  return session_ != nullptr ? session_->Form2() : nullptr;
}

void SimHost::QueueRnd(double value) {
  if (session_ != nullptr) session_->Random().Queue(value);
}

void SimHost::QueueAnswer(std::string text) {
  answers_.emplace_back(std::move(text));
}

void SimHost::QueueCancel() {
  answers_.emplace_back(std::nullopt);
}

void SimHost::SetKeyHeld(int virtualKey, bool held) noexcept {
  if (session_ != nullptr) session_->Keys().SetHeld(virtualKey, held);
}

void SimHost::SetAutopilot(bool on) noexcept {
  if (session_ != nullptr) session_->SetAutopilot(on);
}

}  // namespace pellmora
