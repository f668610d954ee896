#include "web/WebHost.h"

#include <chrono>
#include <cstdlib>
#include <exception>
#include <utility>

#include "game/Int16.h"
#include "host/Design.h"
#include "scores/ScoreFile.h"
#include "web/Autopilot.h"
#include "web/FirstVisit.h"
#include "web/Form1Painter.h"
#include "web/PageCanvas.h"
#include "web/RankingWindow.h"

namespace pellmora {

namespace {

using TimerHandler = void (Form1::*)();
constexpr TimerHandler kTimerHandlers[4] = {&Form1::Timer1_Timer, &Form1::Timer2_Timer,
                                            &Form1::Timer3_Timer, &Form1::Timer4_Timer};

// What the key-state service reports for a held key: the top bit, as Windows does.
constexpr int16_t kKeyHeld = INT16_MIN;

}  // namespace

WebHost::WebHost() : form_(*this) {
  shownCaption_.reserve(64);
  Timer* timers[4] = {&form_.Timer1, &form_.Timer2, &form_.Timer3, &form_.Timer4};
  const double now = page::Now();
  for (int i = 0; i < 4; ++i) {
    timers[i]->AttachSink(this);
    schedule_.Switched(i, timers[i]->Enabled(), timers[i]->Interval, now);
  }
}

void WebHost::Run() {
  UploadPictures();
  DefineLabels();
  autopilot_ = page::AutopilotWanted();
  // As the desktop launcher does: a first start finds the empty table.
  if (!files_.Exists(kHiScoreFileName)) {
    const FolderLock lock(files_, ".");
    PutEmptyTableIfMissing(files_);
  }

  Dispatch([this] { form_.Form_Load(); });
  while (!ended_) {
    // Every timer event that is due goes first, in time order.
    for (int index = schedule_.TakeDue(page::Now()); index >= 0 && !ended_;
         index = schedule_.TakeDue(page::Now())) {
      FireTimer(index);
    }
    if (ended_) break;
    Handle(page::WaitEvent(schedule_.NextDue()));
  }
}

// Every event runs its handler to the end, then the page shows what it
// changed. An exception the game does not catch ends the program with its words.
template <typename Handler>
void WebHost::Dispatch(Handler&& handler) {
  if (ended_) return;
  try {
    std::forward<Handler>(handler)();
  } catch (const std::exception& error) {
    Fail(error.what());
    return;
  }
  files_.EventDone();
  if (ended_) return;
  AfterEvent();
}

void WebHost::AfterEvent() {
  if (form_.Caption != shownCaption_) {
    shownCaption_ = form_.Caption;
    page::SetTitle(shownCaption_);
  }
  if (!paintAsked_) {
    paintAsked_ = true;
    page::RequestPaint();
  }
}

void WebHost::FireTimer(int index) {
  if (index == 1) page::NoteTick();
  Dispatch([this, index] { (form_.*kTimerHandlers[index])(); });
}

void WebHost::Handle(const page::Event& event) {
  using page::EventKind;
  switch (event.kind) {
    case EventKind::TimeReached:
      break;
    case EventKind::KeyDown:
      if (event.a <= 0 || event.a >= kKeyCodes) break;
      if (event.b == 0) held_[event.a] = true;
      // Every key-down counts, the repeats of a held key included.
      Dispatch([this, code = event.a] { form_.Form_KeyDown(code); });
      break;
    case EventKind::KeyUp:
      if (event.a > 0 && event.a < kKeyCodes) held_[event.a] = false;
      break;
    case EventKind::PointerDown:
      pressedButton_ =
          MenuButtonAt(form_, static_cast<float>(event.a), static_cast<float>(event.b));
      if (pressedButton_ >= 0) AfterEvent();
      break;
    case EventKind::PointerUp:
      PointerUp(static_cast<float>(event.a), static_cast<float>(event.b));
      break;
    case EventKind::FocusLost:
      ReleaseAllKeys();
      break;
    case EventKind::Hidden:
      ReleaseAllKeys();
      // A hidden tab would leave the ball flying unseen: the game pauses as
      // if Esc had been pressed, and only the player's Esc resumes it.
      if (form_.playing == VbTrue && form_.Timer2.Enabled()) {
        Dispatch([this] { form_.Form_KeyDown(vbKeyEscape); });
      }
      break;
    case EventKind::Paint:
      paintAsked_ = false;
      Paint();
      break;
    case EventKind::RankingClose:
      if (form2_ != nullptr) Dispatch([this] { Form2_Command1_Click(*this); });
      break;
    case EventKind::RankingClosed:
      if (form2_ != nullptr) Dispatch([this] { UnloadForm2(); });
      break;
    case EventKind::Import: {
      char* bytes = reinterpret_cast<char*>(static_cast<std::uintptr_t>(event.a));
      std::string copy(bytes, static_cast<std::size_t>(event.b));
      std::free(bytes);
      Import(std::move(copy));
      break;
    }
  }
}

// A click is a press and a release on the same visible button.
void WebHost::PointerUp(float x, float y) {
  const int pressed = pressedButton_;
  pressedButton_ = -1;
  if (pressed < 0) return;
  AfterEvent();
  if (MenuButtonAt(form_, x, y) != pressed) return;
  switch (pressed) {
    case 0:
      Dispatch([this] { form_.Command1_Click(); });
      break;
    case 1:
      Dispatch([this] { form_.Command2_Click(); });
      break;
    default:
      Dispatch([this] { form_.Command3_Click(); });
      break;
  }
}

// An imported file is checked as start-up reads it; a good one replaces the
// stored table and the game starts again so that start-up reads it.
void WebHost::Import(std::string bytes) {
  if (ended_) return;
  const ParsedScoreFile parsed = ParseScoreFile(bytes);
  if (bytes.size() > kMaxScoreFileBytes || !parsed.ok) {
    const std::string problem =
        bytes.size() > kMaxScoreFileBytes
            ? "が大きすぎます（1 MiB を超えています）。"
            : "の " + std::to_string(parsed.failedLine) + " 行目が読み取れません。";
    MsgBox("「" + std::string(kHiScoreFileName) + "」" + problem +
               "このファイルは取り込みませんでした。",
           design::kGameName);
    AfterEvent();
    return;
  }
  SaveResult saved;
  {
    const FolderLock lock(files_, ".");
    saved = SaveAtomically(files_, kHiScoreFileName, bytes);
  }
  if (!saved.Ok()) {
    MsgBox(
        "「" + std::string(kHiScoreFileName) + "」に保存できませんでした（" + saved.reason + "）。",
        design::kGameName);
    AfterEvent();
    return;
  }
  ended_ = true;
  page::Restart();
}

void WebHost::Paint() {
  PageCanvas canvas;
  PaintForm1(form_, canvas, pressedButton_);
}

void WebHost::TimerSwitched(Timer& timer) {
  schedule_.Switched(timer.Id() - 1, timer.Enabled(), timer.Interval, page::Now());
}

void WebHost::MsgBox(const std::string& text, const std::string& title) {
  if (ended_) return;
  ReleaseAllKeys();
  pressedButton_ = -1;
  page::MessageBox(text, title);
}

std::string WebHost::InputBox(const std::string& prompt, const std::string& title) {
  if (ended_) return {};
  ReleaseAllKeys();
  pressedButton_ = -1;
  std::string answer;
  if (!page::InputBox(prompt, title, answer)) return {};
  return answer;
}

int16_t WebHost::GetAsyncKeyState(int virtualKey) {
  if (autopilot_) return AutopilotHolds(form_, virtualKey) ? kKeyHeld : int16_t{0};
  if (virtualKey < 0 || virtualKey >= kKeyCodes) return 0;
  return held_[virtualKey] ? kKeyHeld : int16_t{0};
}

void WebHost::Randomize() {
  std::random_device device;
  const auto now =
      static_cast<std::uint64_t>(std::chrono::system_clock::now().time_since_epoch().count());
  std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                     device(), device()};
  random_.seed(seed);
}

double WebHost::Rnd() {
  // The top 53 bits make a double in [0, 1).
  return static_cast<double>(random_() >> 11) * 0x1.0p-53;
}

Form2Controls& WebHost::ShowForm2() {
  if (form2_ == nullptr) {
    form2_ = std::make_unique<Form2Controls>();
    OpenRankingWindow();
    SyncRankingWindow(*form2_);
  } else {
    // Asked for again while it is open, the same window comes to the front.
    OpenRankingWindow();
  }
  return *form2_;
}

void WebHost::UnloadForm2() {
  if (form2_ == nullptr) return;
  form2_.reset();
  page::CloseRanking();
}

void WebHost::Form2Changed() {
  if (form2_ != nullptr) SyncRankingWindow(*form2_);
}

void WebHost::End() {
  if (ended_) return;
  ended_ = true;
  ReleaseAllKeys();
  UnloadForm2();
  page::Ended(false);
}

void WebHost::Fail(const char* what) {
  if (ended_) return;
  ended_ = true;
  ReleaseAllKeys();
  page::MessageBox(what, design::kGameName);
  UnloadForm2();
  page::Ended(true);
}

void WebHost::ReleaseAllKeys() noexcept {
  for (bool& held : held_) held = false;
}

}  // namespace pellmora
