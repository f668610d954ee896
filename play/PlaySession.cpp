#include "play/PlaySession.h"

#include <exception>
#include <utility>

#include "game/Int16.h"

namespace pellmora {

PlaySession::PlaySession(Frontend& frontend, RealClock* realClock, Seeding seeding,
                         std::uint64_t seed)
    : frontend_(frontend), seeding_(seeding), form_(*this), timers_(*this, realClock), luck_(seed) {
  timers_.Attach(form_);
}

PlaySession::~PlaySession() {
  timers_.Detach();
}

// An exception the game does not catch ends the program with its words
// rather than unwinding through the host's toolkit.
template <typename Handler>
void PlaySession::Dispatch(Handler&& handler) {
  if (ended_) return;
  ++dispatching_;
  try {
    std::forward<Handler>(handler)();
  } catch (const std::exception& error) {
    --dispatching_;
    ended_ = true;
    timers_.Detach();
    keys_.ReleaseAll();
    frontend_.ProgramFailed(error.what());
    return;
  }
  --dispatching_;
  frontend_.EventDone();
}

void PlaySession::Load() {
  Dispatch([this] { form_.Form_Load(); });
}

void PlaySession::FireDue(std::int64_t until) {
  if (!ended_) timers_.FireDue(until);
}

bool PlaySession::TimerFired(int timerId) {
  switch (timerId) {
    case 1:
      Dispatch([this] { form_.Timer1_Timer(); });
      break;
    case 2:
      Dispatch([this] { form_.Timer2_Timer(); });
      break;
    case 3:
      Dispatch([this] { form_.Timer3_Timer(); });
      break;
    default:
      Dispatch([this] { form_.Timer4_Timer(); });
      break;
  }
  return !ended_;
}

void PlaySession::KeyDown(int virtualKey, bool marksHeld) {
  if (ended_) return;
  if (marksHeld) keys_.SetHeld(virtualKey, true);
  ++keyDowns_;
  Dispatch([this, virtualKey] { form_.Form_KeyDown(virtualKey); });
}

void PlaySession::PauseAsEsc() {
  if (form_.playing == VbTrue && form_.Timer2.Enabled()) {
    Dispatch([this] { form_.Form_KeyDown(vbKeyEscape); });
  }
}

bool PlaySession::Click(MenuButton button) {
  if (ended_) return false;
  switch (button) {
    case MenuButton::Command1:
      if (!form_.Command1.Visible) return false;
      Dispatch([this] { form_.Command1_Click(); });
      return true;
    case MenuButton::Command2:
      if (!form_.Command2.Visible) return false;
      Dispatch([this] { form_.Command2_Click(); });
      return true;
    case MenuButton::Command3:
      if (!form_.Command3.Visible) return false;
      Dispatch([this] { form_.Command3_Click(); });
      return true;
  }
  return false;
}

bool PlaySession::ClickForm2Close() {
  if (ended_ || form2_ == nullptr) return false;
  Dispatch([this] { Form2_Command1_Click(*this); });
  return true;
}

void PlaySession::CloseForm2() {
  if (form2_ != nullptr) Dispatch([this] { UnloadForm2(); });
}

void PlaySession::CloseWindow() {
  Dispatch([this] { End(); });
}

// Once the program has ended nothing more happens, not even a box that a
// handler opens on its way out: the real program would be gone.
void PlaySession::MsgBox(const std::string& text, const std::string& title) {
  if (!ended_) frontend_.MsgBox(text, title);
}

std::string PlaySession::InputBox(const std::string& prompt, const std::string& title) {
  if (ended_) return {};
  return frontend_.InputBox(prompt, title);
}

void PlaySession::Randomize() {
  // A fixed seed decides every value, so that a script replays the same way
  // each time; seeding from the clock would defeat that.
  if (seeding_ == Seeding::Entropy) luck_.Restore(Luck::State{Luck::EntropySeed(), 0});
}

Form2Controls& PlaySession::ShowForm2() {
  if (form2_ == nullptr) {
    form2_ = std::make_unique<Form2Controls>();
    frontend_.Form2Opened(*form2_);
  } else {
    frontend_.Form2Raised();
  }
  return *form2_;
}

void PlaySession::UnloadForm2() {
  if (form2_ == nullptr) return;
  frontend_.Form2Closed();
  form2_.reset();
}

void PlaySession::Form2Changed() {
  if (form2_ != nullptr) frontend_.Form2Changed(*form2_);
}

void PlaySession::End() {
  if (ended_) return;
  ended_ = true;
  // No timer fires again, whatever a handler switches on its way out.
  timers_.Detach();
  keys_.ReleaseAll();
  UnloadForm2();
  frontend_.ProgramEnded();
}

}  // namespace pellmora
