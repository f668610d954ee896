#include "play/PlaySession.h"

#include <exception>
#include <utility>

#include "game/Int16.h"
#include "play/ReplayShelf.h"

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
void PlaySession::Dispatch(ReplayEventKind kind, std::int32_t arg, Handler&& handler) {
  if (ended_) return;
  // Only the outermost event is the game's: one that a box's wait lets in
  // belongs to the event that opened the box.
  const bool recorded = recorder_.Recording() && dispatching_ == 0;
  if (recorded) recorder_.EventStarting(kind, arg, timers_.EventTimeMs());
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
  if (recorded) {
    const std::uint64_t kept = recorder_.GamesKept();
    recorder_.EventDone(form_);
    if (!keepHost_.empty() && recorder_.GamesKept() != kept) {
      shelfProblem_ = KeepReplay(frontend_.Files(), recorder_.LastGame(keepHost_)).problem;
    }
  }
  frontend_.EventDone();
}

void PlaySession::Load() {
  Dispatch(ReplayEventKind::Click, -1, [this] { form_.Form_Load(); });
}

void PlaySession::FireDue(std::int64_t until) {
  if (!ended_) timers_.FireDue(until);
}

bool PlaySession::TimerFired(int timerId) {
  FireTimer(timerId);
  return !ended_;
}

void PlaySession::FireTimer(int timerId) {
  const auto kind = static_cast<ReplayEventKind>(timerId);
  switch (timerId) {
    case 1:
      Dispatch(kind, 0, [this] { form_.Timer1_Timer(); });
      break;
    case 2:
      Dispatch(kind, 0, [this] { form_.Timer2_Timer(); });
      break;
    case 3:
      Dispatch(kind, 0, [this] { form_.Timer3_Timer(); });
      break;
    default:
      Dispatch(kind, 0, [this] { form_.Timer4_Timer(); });
      break;
  }
}

void PlaySession::ReplayEvent(const RecordedEvent& event) {
  keys_.ReplayReads(event.reads, event.readCount);
  for (int i = 0; i < event.rndCount; ++i) luck_.Queue(event.rnd[i]);
  switch (event.kind) {
    case ReplayEventKind::Timer1:
    case ReplayEventKind::Timer2:
    case ReplayEventKind::Timer3:
    case ReplayEventKind::Timer4:
      FireTimer(static_cast<int>(event.kind));
      break;
    case ReplayEventKind::KeyDown:
      KeyDown(event.arg, false);
      break;
    case ReplayEventKind::Click:
      if (event.arg >= 0 && event.arg <= 2) Click(static_cast<MenuButton>(event.arg));
      break;
    case ReplayEventKind::Form2Close:
      ClickForm2Close();
      break;
    case ReplayEventKind::Form2Closed:
      CloseForm2();
      break;
  }
}

void PlaySession::KeyDown(int virtualKey, bool marksHeld) {
  if (ended_) return;
  if (marksHeld) keys_.SetHeld(virtualKey, true);
  ++keyDowns_;
  Dispatch(ReplayEventKind::KeyDown, virtualKey,
           [this, virtualKey] { form_.Form_KeyDown(virtualKey); });
}

void PlaySession::PauseAsEsc() {
  if (form_.playing == VbTrue && form_.Timer2.Enabled()) {
    Dispatch(ReplayEventKind::KeyDown, vbKeyEscape, [this] { form_.Form_KeyDown(vbKeyEscape); });
  }
}

bool PlaySession::Click(MenuButton button) {
  if (ended_) return false;
  switch (button) {
    case MenuButton::Command1:
      if (!form_.Command1.Visible) return false;
      // A game starts: from here to its game over it is recorded.
      if (recordGames_ && dispatching_ == 0 && form_.playing != VbTrue) {
        recorder_.GameStarting(form_, luck_.Save(), timers_.EventTimeMs());
      }
      Dispatch(ReplayEventKind::Click, 0, [this] { form_.Command1_Click(); });
      return true;
    case MenuButton::Command2:
      if (!form_.Command2.Visible) return false;
      Dispatch(ReplayEventKind::Click, 1, [this] { form_.Command2_Click(); });
      return true;
    case MenuButton::Command3:
      if (!form_.Command3.Visible) return false;
      Dispatch(ReplayEventKind::Click, 2, [this] { form_.Command3_Click(); });
      return true;
  }
  return false;
}

bool PlaySession::ClickForm2Close() {
  if (ended_ || form2_ == nullptr) return false;
  Dispatch(ReplayEventKind::Form2Close, 0, [this] { Form2_Command1_Click(*this); });
  return true;
}

void PlaySession::CloseForm2() {
  if (form2_ != nullptr) Dispatch(ReplayEventKind::Form2Closed, 0, [this] { UnloadForm2(); });
}

void PlaySession::CloseWindow() {
  Dispatch(ReplayEventKind::Click, 2, [this] { End(); });
}

// Once the program has ended nothing more happens, not even a box that a
// handler opens on its way out: the real program would be gone.
void PlaySession::MsgBox(const std::string& text, const std::string& title) {
  if (!ended_) frontend_.MsgBox(text, title);
}

std::string PlaySession::InputBox(const std::string& prompt, const std::string& title) {
  if (ended_) return {};
  std::string answer = frontend_.InputBox(prompt, title);
  if (recorder_.Recording()) recorder_.NameAnswered(answer);
  return answer;
}

int16_t PlaySession::GetAsyncKeyState(int virtualKey) {
  if (keys_.Replaying()) return keys_.ReadReplayed();
  const int16_t state = keys_.Read(virtualKey);
  recorder_.KeyRead(state != 0);
  return state;
}

double PlaySession::Rnd() {
  bool scripted = false;
  const double value = luck_.Next(&scripted);
  if (scripted) recorder_.ScriptedValue(value);
  return value;
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
  recorder_.Abandon();
  // No timer fires again, whatever a handler switches on its way out.
  timers_.Detach();
  keys_.ReleaseAll();
  UnloadForm2();
  frontend_.ProgramEnded();
}

}  // namespace pellmora
