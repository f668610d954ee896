#include "desktop/QtHost.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QString>
#include <QThread>
#include <chrono>
#include <exception>
#include <utility>

#include "desktop/BoxLayout.h"
#include "desktop/DialogLook.h"
#include "game/Int16.h"
#include "host/Design.h"

namespace pellmora {

namespace {

using TimerHandler = void (Form1::*)();
constexpr TimerHandler kTimerHandlers[4] = {&Form1::Timer1_Timer, &Form1::Timer2_Timer,
                                            &Form1::Timer3_Timer, &Form1::Timer4_Timer};

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtHost::QtHost()
    : form_(*this),
      window_(std::make_unique<Form1Widget>(form_)),
      zoom_(*window_),
      gameFocus_(*window_) {
  shownCaption_.reserve(64);
  shownCaption_ = form_.Caption;

  Timer* timers[4] = {&form_.Timer1, &form_.Timer2, &form_.Timer3, &form_.Timer4};
  for (int i = 0; i < 4; ++i) {
    QTimer& qtTimer = timers_[i];
    qtTimer.setTimerType(Qt::PreciseTimer);
    qtTimer.setInterval(timers[i]->Interval);
    const TimerHandler handler = kTimerHandlers[i];
    connect(&qtTimer, &QTimer::timeout, this,
            [this, handler] { Dispatch([this, handler] { (form_.*handler)(); }); });
    timers[i]->AttachSink(this);
    if (timers[i]->Enabled()) qtTimer.start();
  }

  connect(&window_->Command(0), &QPushButton::clicked, this,
          [this] { Dispatch([this] { form_.Command1_Click(); }); });
  connect(&window_->Command(1), &QPushButton::clicked, this,
          [this] { Dispatch([this] { form_.Command2_Click(); }); });
  connect(&window_->Command(2), &QPushButton::clicked, this,
          [this] { Dispatch([this] { form_.Command3_Click(); }); });
  // Closing the game window ends the game, the ranking window with it.
  connect(window_.get(), &Form1Widget::Closing, this, [this] { Dispatch([this] { End(); }); });
  // The ranking window follows the game window's zoom.
  connect(window_.get(), &Form1Widget::ZoomChanged, this, [this](int factor) {
    if (form2Widget_ != nullptr) form2Widget_->SetZoom(factor);
  });
  // No paddle may keep moving after the player switched away, nor a ball
  // be lost while they look elsewhere.
  connect(&gameFocus_, &GameFocus::Lost, this, [this] {
    ReleaseAllKeys();
    PauseForFocusLoss();
  });
  connect(&gameFocus_, &GameFocus::Gained, this, [this] { pauseWhenResumed_ = false; });

  qApp->installEventFilter(this);
}

QtHost::~QtHost() {
  qApp->removeEventFilter(this);
  for (auto& timer : timers_) timer.stop();
  delete form2Widget_.data();
  window_.reset();
}

void QtHost::SetPreferences(const Preferences& preferences) {
  zoom_.SetFullscreen(preferences.fullscreen);
  zoom_.SetScale(preferences.scale);
  focusPause_ = preferences.focusPause;
}

Preferences QtHost::CurrentPreferences() const {
  return Preferences{zoom_.Scale(), zoom_.Fullscreen(), focusPause_};
}

void QtHost::EnableGamepad() {
  if (gamepad_ != nullptr) return;
  gamepad_ = std::make_unique<Gamepad>();
  // Queued, so that a box a press opens never runs inside the pad's reading.
  connect(
      gamepad_.get(), &Gamepad::EscapePressed, this, [this] { PadKey(Qt::Key_Escape); },
      Qt::QueuedConnection);
  connect(
      gamepad_.get(), &Gamepad::ConfirmPressed, this, [this] { PadConfirm(); },
      Qt::QueuedConnection);
  connect(
      gamepad_.get(), &Gamepad::DirectionPressed, this,
      [this](int virtualKey) { PadDirection(virtualKey); }, Qt::QueuedConnection);
}

void QtHost::Start() {
  Dispatch([this] { form_.Form_Load(); });
  if (ended_) return;
  zoom_.Show();
}

// Every event runs its handler to the end, then the window shows what the
// handler changed. An exception the game does not catch ends the program
// with its words rather than unwinding through Qt.
template <typename Handler>
void QtHost::Dispatch(Handler&& handler) {
  if (ended_) return;
  ++dispatching_;
  try {
    std::forward<Handler>(handler)();
  } catch (const std::exception& error) {
    --dispatching_;
    Fail(error.what());
    return;
  }
  --dispatching_;
  if (ended_) return;
  AfterEvent();
}

void QtHost::AfterEvent() {
  window_->UpdateChanged();
  // The tick rewrites the caption every 10 ms, mostly with the same text.
  if (form_.Caption != shownCaption_) {
    shownCaption_ = form_.Caption;
    window_->setWindowTitle(FromUtf8(shownCaption_));
  }
  window_->SyncButtons();
}

void QtHost::SyncForm2() {
  if (form2_ != nullptr && form2Widget_ != nullptr) form2Widget_->Sync(*form2_);
}

void QtHost::TimerSwitched(Timer& timer) {
  QTimer& qtTimer = timers_[timer.Id() - 1];
  if (timer.Enabled()) {
    // A running timer keeps its schedule; a stopped one starts a full interval.
    if (!qtTimer.isActive()) qtTimer.start(timer.Interval);
    if (&timer == &form_.Timer2 && pauseWhenResumed_) {
      pauseWhenResumed_ = false;
      // After the handler that resumed play has run to its end.
      QTimer::singleShot(0, this, [this] {
        if (!gameFocus_.Held()) PauseForFocusLoss();
      });
    }
  } else {
    // Stopped at once, so that a box opened later in the same handler sees
    // no further event from it.
    qtTimer.stop();
  }
}

void QtHost::ShowCurrentFrame() {
  AfterEvent();
  window_->repaint();
}

void QtHost::MsgBox(const std::string& text, const std::string& title) {
  ReleaseAllKeys();
  ShowCurrentFrame();
  QMessageBox box(QMessageBox::NoIcon, FromUtf8(title), FromUtf8(text), QMessageBox::Ok,
                  window_.get());
  box.setTextFormat(Qt::PlainText);
  dialoglook::Apply(box);
  BoxLayout::Arrange(box, window_->Placement().factor);
  box.exec();
}

std::string QtHost::InputBox(const std::string& prompt, const std::string& title) {
  ReleaseAllKeys();
  ShowCurrentFrame();
  QInputDialog dialog(window_.get());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(FromUtf8(title));
  dialog.setLabelText(FromUtf8(prompt));
  dialog.setTextValue(QString());
  dialoglook::Apply(dialog);
  BoxLayout::Arrange(dialog, window_->Placement().factor);
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue().toStdString();
}

int16_t QtHost::GetAsyncKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= virtualkeys::kCount) return 0;
  const bool padHeld = gamepad_ != nullptr && gamepad_->Held(virtualKey);
  return held_[virtualKey] || padHeld ? int16_t{-32767} : int16_t{0};
}

void QtHost::Randomize() {
  std::random_device device;
  const auto now = static_cast<std::uint64_t>(
      std::chrono::high_resolution_clock::now().time_since_epoch().count());
  std::seed_seq seed{static_cast<std::uint32_t>(now), static_cast<std::uint32_t>(now >> 32),
                     device(), device()};
  random_.seed(seed);
}

double QtHost::Rnd() {
  if (!queuedRnd_.empty()) {
    const double value = queuedRnd_.front();
    queuedRnd_.pop_front();
    return value;
  }
  // The top 53 bits make a double in [0, 1).
  return static_cast<double>(random_() >> 11) * 0x1.0p-53;
}

Form2Controls& QtHost::ShowForm2() {
  if (form2_ == nullptr) {
    form2_ = std::make_unique<Form2Controls>();
    // A fresh QIcon each time would leave its pixmaps in Qt's pixmap cache
    // under a new key at every opening.
    auto* widget = new Form2Widget(window_->windowIcon());
    form2Widget_ = widget;
    widget->SetZoom(window_->Placement().factor);
    gameFocus_.SetCompanion(widget);
    connect(widget, &Form2Widget::Closing, this, [this] { Dispatch([this] { UnloadForm2(); }); });
    connect(&widget->Command1(), &QPushButton::clicked, this,
            [this] { Dispatch([this] { Form2_Command1_Click(*this); }); });
    SyncForm2();
    // Modeless and with no owner: both windows stay usable.
    widget->show();
  } else if (form2Widget_ != nullptr) {
    // Asked for again while it is open, the same window comes to the front
    // with the focus, so that the player sees the list that is refilled.
    form2Widget_->raise();
    form2Widget_->activateWindow();
  }
  return *form2_;
}

void QtHost::UnloadForm2() {
  if (Form2Widget* widget = form2Widget_.data()) {
    form2Widget_ = nullptr;
    widget->disconnect(this);
    widget->Command1().disconnect(this);
    // The focus goes back to the game window rather than out of the game.
    if (widget->isActiveWindow() && window_->isVisible()) window_->activateWindow();
    widget->hide();
    widget->deleteLater();
  }
  form2_.reset();
}

void QtHost::Form2Changed() {
  SyncForm2();
}

void QtHost::End() {
  if (ended_) return;
  Stop(0);
  CloseEverything();
}

void QtHost::Fail(const char* what) {
  if (ended_) return;
  Stop(1);
  ShowCurrentFrame();
  QMessageBox box(QMessageBox::Critical, QString::fromUtf8(design::kGameName),
                  QString::fromUtf8(what), QMessageBox::Ok, window_.get());
  dialoglook::Apply(box);
  box.exec();
  CloseEverything();
}

void QtHost::Stop(int exitCode) {
  ended_ = true;
  exitCode_ = exitCode;
  for (auto& timer : timers_) timer.stop();
  ReleaseAllKeys();
}

void QtHost::CloseEverything() {
  UnloadForm2();
  QApplication::closeAllWindows();
  window_->hide();
  // Before the event loop runs, exit() would only make every later loop,
  // a box's included, return at once; main looks at Ended() instead.
  if (QThread::currentThread()->loopLevel() > 0) QCoreApplication::exit(exitCode_);
}

bool QtHost::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      if (OnZoomKey(watched, *static_cast<QKeyEvent*>(event))) return true;
      OnKeyPress(watched, *static_cast<QKeyEvent*>(event));
      break;
    case QEvent::KeyRelease: {
      // Wherever it lands: a key may be let go after the focus moved on.
      const auto& key = *static_cast<QKeyEvent*>(event);
      const int code = virtualkeys::VirtualKeyOf(key.key());
      if (code != 0 && !key.isAutoRepeat()) held_[code] = false;
      break;
    }
    case QEvent::WindowDeactivate:
      // A key let go in another window is never seen here. The ranking
      // window is the exception: the game's own, it sees the release.
      if (watched == window_.get() &&
          !(gameFocus_.Held() && QApplication::activeWindow() != window_.get())) {
        ReleaseAllKeys();
      }
      break;
    case QEvent::ApplicationStateChange:
      if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
          Qt::ApplicationActive) {
        ReleaseAllKeys();
      }
      break;
    default:
      break;
  }
  return false;
}

void QtHost::OnKeyPress(QObject* watched, const QKeyEvent& key) {
  if (ended_ || !watched->isWidgetType()) return;
  const auto* widget = static_cast<const QWidget*>(watched);
  const QWidget* window = widget->window();
  const bool ranking = form2Widget_ != nullptr && window == form2Widget_.data();
  if (window != window_.get() && !ranking) return;
  // A key the focused button ignores travels on to the window; it is one
  // key-down all the same, counted where Qt first delivers it.
  const QWidget* focus = window->focusWidget();
  if (widget != (focus != nullptr ? focus : window)) return;
  const int code = virtualkeys::VirtualKeyOf(key.key());
  if (code == 0) return;
  // The paddles read the arrows whichever of the game's windows has the
  // focus; Esc is the game window's key alone.
  if (ranking) {
    if (code != vbKeyEscape && !key.isAutoRepeat()) held_[code] = true;
    return;
  }
  if (!key.isAutoRepeat()) held_[code] = true;
  // Every key-down counts, the repeats of a held key included; the event
  // goes on to the button afterwards (Space and Return still press it).
  ++keyDownsDelivered_;
  Dispatch([this, code] { form_.Form_KeyDown(code); });
}

bool QtHost::OnZoomKey(QObject* watched, const QKeyEvent& key) {
  if (ended_ || !watched->isWidgetType()) return false;
  const auto* widget = static_cast<const QWidget*>(watched);
  if (widget->window() != window_.get()) return false;
  const ZoomKey command = ZoomKeyOf(key.key(), key.modifiers());
  if (command == ZoomKey::None) return false;
  // Taken where Qt first delivers the key, and never passed on: Alt+Enter
  // must not press a button, nor Ctrl+0 reach the game.
  const QWidget* focus = window_->focusWidget();
  if (widget != (focus != nullptr ? focus : window_.get())) return false;
  // The whole screen always takes the largest zoom; the keys change the
  // window's.
  const bool zooming = command != ZoomKey::ToggleFullscreen;
  if (zooming && zoom_.Fullscreen()) return true;
  const Preferences before = CurrentPreferences();
  switch (command) {
    case ZoomKey::ZoomIn:
      zoom_.SetScale(zoom_.Scale() + 1);
      break;
    case ZoomKey::ZoomOut:
      zoom_.SetScale(zoom_.Scale() - 1);
      break;
    case ZoomKey::ZoomReset:
      zoom_.SetScale(1);
      break;
    default:
      zoom_.SetFullscreen(!zoom_.Fullscreen());
      break;
  }
  const Preferences now = CurrentPreferences();
  if (now.scale != before.scale || now.fullscreen != before.fullscreen) {
    emit PreferencesChanged(now);
  }
  return true;
}

// Losing the focus in play is the player's Esc: the same pause, banner and
// all, which only their own Esc ends. A pause under way is left alone.
void QtHost::PauseForFocusLoss() {
  if (!focusPause_ || ended_ || dispatching_ > 0 || form_.playing != VbTrue) return;
  if (form_.Timer2.Enabled()) {
    Dispatch([this] { form_.Form_KeyDown(vbKeyEscape); });
  } else if (form_.pausing == VbFalse && form_.Timer3.Enabled()) {
    pauseWhenResumed_ = true;
  }
}

// A pad's button as the key it stands for, delivered where that key would
// go: the box in front, else the focused widget of the active window, else
// the game window.
void QtHost::PadKey(int qtKey) {
  if (ended_) return;
  QWidget* target = QApplication::activeModalWidget();
  if (target == nullptr) target = QApplication::activeWindow();
  if (target == nullptr) target = window_.get();
  if (QWidget* focus = target->focusWidget()) target = focus;
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

// A presses the focused button; in a box with the focus on its text, the
// box's default button, as Enter would.
void QtHost::PadConfirm() {
  if (ended_) return;
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr) window = QApplication::activeWindow();
  if (window == nullptr) window = window_.get();
  QWidget* focus = window->focusWidget();
  if (auto* button = qobject_cast<QAbstractButton*>(focus);
      button != nullptr && button->isVisible()) {
    button->click();
    return;
  }
  if (qobject_cast<QDialog*>(window) == nullptr) return;
  for (QPushButton* button : window->findChildren<QPushButton*>()) {
    if (button->isDefault() && button->isVisible()) {
      button->click();
      return;
    }
  }
}

// Outside play the D-pad walks the buttons, as Tab and Shift+Tab do; in play
// it only moves the paddles.
void QtHost::PadDirection(int virtualKey) {
  if (ended_ || (form_.playing == VbTrue && QApplication::activeModalWidget() == nullptr)) return;
  PadKey(virtualKey == vbKeyDown || virtualKey == vbKeyRight ? Qt::Key_Tab : Qt::Key_Backtab);
}

void QtHost::ReleaseAllKeys() noexcept {
  for (bool& held : held_) held = false;
}

}  // namespace pellmora
