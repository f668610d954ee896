#include "headless/SimHost.h"

#include <ostream>
#include <utility>

#include "headless/SimFormat.h"
#include "host/Form1Controls.h"

namespace pellmora {

namespace {

// What GetAsyncKeyState reports for a held key: the top bit, as Windows does.
constexpr int16_t kKeyHeld = INT16_MIN;

}  // namespace

SimHost::SimHost(std::ostream& out, std::uint64_t seed) : out_(out), generator_(seed) {}

void SimHost::WriteLine(const std::string& line) {
  out_.write(line.data(), static_cast<std::streamsize>(line.size()));
  out_.put('\n');
}

// Once the program has ended nothing more happens, not even a box that a
// handler opens on its way out: the real program would be gone.
void SimHost::MsgBox(const std::string& text, const std::string& title) {
  if (ended_) return;
  std::string line = "msgbox title=";
  AppendQuoted(line, title);
  line += " text=";
  AppendQuoted(line, text);
  WriteLine(line);
}

std::string SimHost::InputBox(const std::string& prompt, const std::string& title) {
  if (ended_) return {};
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

int16_t SimHost::GetAsyncKeyState(int virtualKey) {
  if (autopilot_) return AutopilotHolds(virtualKey) ? kKeyHeld : int16_t{0};
  if (virtualKey < 0 || virtualKey >= kKeyCodes) return 0;
  return held_[static_cast<std::size_t>(virtualKey)] ? kKeyHeld : int16_t{0};
}

// A player who keeps both paddle pairs centred on the ball, within 2 pixels.
// Sums of floats are exact in double, so no rounding decides a key.
bool SimHost::AutopilotHolds(int virtualKey) const noexcept {
  if (ball_ == nullptr) return false;
  switch (virtualKey) {
    case vbKeyUp:
    case vbKeyDown: {
      const double b = static_cast<double>(ball_->Top) + static_cast<double>(ball_->Height) / 2;
      const double c =
          static_cast<double>(leftPaddle_->Top) + static_cast<double>(leftPaddle_->Height) / 2;
      return virtualKey == vbKeyDown ? c < b - 2 : c > b + 2;
    }
    case vbKeyLeft:
    case vbKeyRight: {
      const double b = static_cast<double>(ball_->Left) + static_cast<double>(ball_->Width) / 2;
      const double c =
          static_cast<double>(topPaddle_->Left) + static_cast<double>(topPaddle_->Width) / 2;
      return virtualKey == vbKeyRight ? c < b - 2 : c > b + 2;
    }
    default:
      return false;
  }
}

// The seed given at start decides every value, so that a script replays the
// same way each time; seeding from the clock would defeat that.
void SimHost::Randomize() {}

double SimHost::Rnd() {
  if (rndNext_ < rndQueue_.size()) {
    const double value = rndQueue_[rndNext_++];
    if (rndNext_ == rndQueue_.size()) {
      rndQueue_.clear();
      rndNext_ = 0;
    }
    return value;
  }
  // The top 53 bits as a fraction: the same on every standard library.
  return static_cast<double>(generator_() >> 11) * 0x1.0p-53;
}

FileOps& SimHost::Files() {
  return *files_;
}

Form2Controls& SimHost::ShowForm2() {
  if (!form2_) form2_ = std::make_unique<Form2Controls>();
  return *form2_;
}

void SimHost::UnloadForm2() {
  form2_.reset();
}

void SimHost::Form2Changed() {}

void SimHost::End() {
  if (ended_) return;
  ended_ = true;
  WriteLine("end");
}

void SimHost::TimerSwitched(Timer& timer) {
  const int index = timer.Id() - 1;
  if (index < 0 || index >= kTimerCount || timers_[index] != &timer) return;
  // An interval of 0 or less never fires: it would hold the clock still.
  due_[index] = timer.Enabled() && timer.Interval > 0 ? clock_ + timer.Interval : kNever;
}

void SimHost::Attach(Form1Controls& window, SimTimerTarget& target) {
  Timer* timers[kTimerCount] = {&window.Timer1, &window.Timer2, &window.Timer3, &window.Timer4};
  for (int i = 0; i < kTimerCount; ++i) {
    timers_[i] = timers[i];
    timers_[i]->AttachSink(this);
    TimerSwitched(*timers_[i]);
  }
  target_ = &target;
  ball_ = &window.Image5;
  leftPaddle_ = &window.Image1;
  topPaddle_ = &window.Image3;
}

void SimHost::Detach() noexcept {
  for (Timer*& timer : timers_) {
    if (timer != nullptr) timer->AttachSink(nullptr);
    timer = nullptr;
  }
  for (std::int64_t& due : due_) due = kNever;
  target_ = nullptr;
  ball_ = leftPaddle_ = topPaddle_ = nullptr;
}

void SimHost::Wait(std::int64_t ms) {
  if (ms < 0) ms = 0;
  if (ms > kClockLimit - clock_) ms = kClockLimit - clock_;
  const std::int64_t until = clock_ + ms;
  while (!ended_) {
    // The earliest due timer; at equal times the lowest number goes first.
    int next = 0;
    for (int i = 1; i < kTimerCount; ++i) {
      if (due_[i] < due_[next]) next = i;
    }
    if (due_[next] > until) break;
    clock_ = due_[next];
    // The next event is scheduled before the handler runs, so that a handler
    // switching its own timer off and on again starts a full interval anew.
    const int interval = timers_[next]->Interval;
    due_[next] = interval > 0 ? clock_ + interval : kNever;
    ++fired_[next];
    target_->TimerFired(next + 1);
  }
  if (!ended_) clock_ = until;
}

void SimHost::QueueRnd(double value) {
  rndQueue_.push_back(value);
}

void SimHost::QueueAnswer(std::string text) {
  answers_.emplace_back(std::move(text));
}

void SimHost::QueueCancel() {
  answers_.emplace_back(std::nullopt);
}

void SimHost::SetKeyHeld(int virtualKey, bool held) noexcept {
  if (virtualKey >= 0 && virtualKey < kKeyCodes) held_[static_cast<std::size_t>(virtualKey)] = held;
}

}  // namespace pellmora
