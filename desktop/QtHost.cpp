#include "desktop/QtHost.h"

#include <QApplication>
#include <QEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QScreen>
#include <QString>
#include <QStyle>
#include <QThread>
#include <chrono>
#include <exception>
#include <utility>

#include "desktop/DialogLook.h"
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

QtHost::QtHost() : form_(*this), window_(std::make_unique<Form1Widget>(form_)) {
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

  qApp->installEventFilter(this);
}

QtHost::~QtHost() {
  qApp->removeEventFilter(this);
  for (auto& timer : timers_) timer.stop();
  delete form2Widget_.data();
  window_.reset();
}

void QtHost::Start() {
  Dispatch([this] { form_.Form_Load(); });
  if (ended_) return;
  // The client area centred; the frame, unknown before the window manager
  // has framed the window, takes its share around it.
  if (const QScreen* screen = window_->screen()) {
    window_->setGeometry(QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, window_->size(),
                                             screen->availableGeometry()));
  }
  window_->show();
}

// Every event runs its handler to the end, then the window shows what the
// handler changed. An exception the game does not catch ends the program
// with its words rather than unwinding through Qt.
template <typename Handler>
void QtHost::Dispatch(Handler&& handler) {
  if (ended_) return;
  try {
    std::forward<Handler>(handler)();
  } catch (const std::exception& error) {
    Fail(error.what());
    return;
  }
  if (ended_) return;
  AfterEvent();
}

void QtHost::AfterEvent() {
  window_->update();
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
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue().toStdString();
}

int16_t QtHost::GetAsyncKeyState(int virtualKey) {
  if (virtualKey < 0 || virtualKey >= virtualkeys::kCount) return 0;
  return held_[virtualKey] ? int16_t{-32767} : int16_t{0};
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
      // A key let go in another window is never seen here: no paddle may
      // keep moving after the player switched away.
      if (watched == window_.get()) ReleaseAllKeys();
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
  if (widget->window() != window_.get()) return;
  // A key the focused button ignores travels on to the window; it is one
  // key-down all the same, counted where Qt first delivers it.
  const QWidget* focus = window_->focusWidget();
  if (widget != (focus != nullptr ? focus : window_.get())) return;
  const int code = virtualkeys::VirtualKeyOf(key.key());
  if (code == 0) return;
  if (!key.isAutoRepeat()) held_[code] = true;
  // Every key-down counts, the repeats of a held key included; the event
  // goes on to the button afterwards (Space and Return still press it).
  ++keyDownsDelivered_;
  Dispatch([this, code] { form_.Form_KeyDown(code); });
}

void QtHost::ReleaseAllKeys() noexcept {
  for (bool& held : held_) held = false;
}

}  // namespace pellmora
