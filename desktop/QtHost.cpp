#include "desktop/QtHost.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QString>
#include <QThread>
#include <algorithm>

#include "desktop/BoxLayout.h"
#include "desktop/DialogLook.h"
#include "desktop/GamepadRouting.h"
#include "desktop/VirtualKeys.h"
#include "game/Int16.h"
#include "host/Design.h"
#include "play/ReplayShelf.h"

namespace pellmora {

namespace {

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QElapsedTimer Started() {
  QElapsedTimer clock;
  clock.start();
  return clock;
}

// The keys a replay's watcher has: Space pauses, the right arrow plays four
// times as fast, Esc stops. 0 for any other key.
constexpr int kVirtualSpace = 32;
int WatchKeyOf(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Space:
      return kVirtualSpace;
    case Qt::Key_Right:
      return vbKeyRight;
    case Qt::Key_Escape:
      return vbKeyEscape;
    default:
      return 0;
  }
}

}  // namespace

QtHost::QtHost()
    : clock_(Started()),
      session_(*this, this, PlaySession::Seeding::Entropy),
      window_(std::make_unique<Form1Widget>(session_.Game())),
      zoom_(*window_),
      gameFocus_(*window_) {
  files_.SetLockWait(&saveWaiter_);
  shownCaption_.reserve(64);
  shownCaption_ = session_.Game().Caption;
  // Every game is recorded from its start to its game over, and kept beside
  // the score file for the ranking window to offer.
  session_.RecordGames(true);
  session_.KeepReplays("desktop");

  // One wake-up for the four timers: the session says when the next is due.
  wake_.setSingleShot(true);
  wake_.setTimerType(Qt::PreciseTimer);
  connect(&wake_, &QTimer::timeout, this, [this] {
    session_.FireDue(Now());
    emit Woke();
  });
  WakeAt(session_.Timers().NextDue());

  // A replay's wake-up, apart from the game's: the game's clock stands still
  // while a replay plays.
  watchWake_.setSingleShot(true);
  watchWake_.setTimerType(Qt::PreciseTimer);
  connect(&watchWake_, &QTimer::timeout, this, [this] { WatchStep(); });

  // While a replay plays, the buttons it shows are only its pictures.
  connect(&window_->Command(0), &QPushButton::clicked, this, [this] {
    if (player_ == nullptr) session_.Click(MenuButton::Command1);
  });
  connect(&window_->Command(1), &QPushButton::clicked, this, [this] {
    if (player_ == nullptr) session_.Click(MenuButton::Command2);
  });
  connect(&window_->Command(2), &QPushButton::clicked, this, [this] {
    if (player_ == nullptr) session_.Click(MenuButton::Command3);
  });
  // Closing the game window ends the game, the ranking window with it.
  connect(window_.get(), &Form1Widget::Closing, this, [this] { session_.CloseWindow(); });
  // The ranking window follows the game window's zoom.
  connect(window_.get(), &Form1Widget::ZoomChanged, this, [this](int factor) {
    if (form2Widget_ != nullptr) form2Widget_->SetZoom(factor);
    if (worldWidget_ != nullptr) worldWidget_->SetZoom(factor);
  });
  // No paddle may keep moving after the player switched away, nor a ball
  // be lost while they look elsewhere.
  connect(&gameFocus_, &GameFocus::Lost, this, [this] {
    session_.ReleaseAllKeys();
    PauseForFocusLoss();
  });
  connect(&gameFocus_, &GameFocus::Gained, this, [this] { pauseWhenResumed_ = false; });

  qApp->installEventFilter(this);
}

QtHost::~QtHost() {
  qApp->removeEventFilter(this);
  wake_.stop();
  watchWake_.stop();
  session_.Keys().AddSource(nullptr);
  delete form2Widget_.data();
  delete worldWidget_.data();
  window_.reset();
}

void QtHost::SetPreferences(const Preferences& preferences) {
  zoom_.SetFullscreen(preferences.fullscreen);
  zoom_.SetScale(preferences.scale);
  focusPause_ = preferences.focusPause;
  world_.SetServer(preferences.rankingServer);
}

Preferences QtHost::CurrentPreferences() const {
  return Preferences{zoom_.Scale(), zoom_.Fullscreen(), focusPause_, world_.Server()};
}

void QtHost::EnableGamepad() {
  if (gamepad_ != nullptr) return;
  gamepad_ = std::make_unique<Gamepad>();
  session_.Keys().AddSource(gamepad_.get());
  RouteGamepad(
      *gamepad_, *window_, [this] { return session_.Game().playing == VbTrue; },
      [this] { return ended_; });
}

void QtHost::Start() {
  session_.Load();
  if (ended_) return;
  zoom_.Show();
}

std::int64_t QtHost::Now() {
  return clock_.nsecsElapsed() / 1000;
}

void QtHost::WakeAt(std::int64_t due) {
  // While a replay plays, the game's clock waits for its end.
  if (ended_ || player_ != nullptr || due == TimerDispatch::kNever) {
    wake_.stop();
    return;
  }
  // Whole milliseconds, rounded up: never woken before the event is due.
  const std::int64_t waitUs = std::max<std::int64_t>(0, due - Now());
  wake_.start(static_cast<int>(std::min<std::int64_t>((waitUs + 999) / 1000, 1 << 30)));
}

// After every handler the window shows what it changed.
void QtHost::EventDone() {
  if (ended_) return;
  AfterEvent();
  if (pauseWhenResumed_ && session_.Game().Timer2.Enabled()) {
    pauseWhenResumed_ = false;
    // After the handler that resumed play has run to its end.
    QTimer::singleShot(0, this, [this] {
      if (!gameFocus_.Held()) PauseForFocusLoss();
    });
  }
}

void QtHost::AfterEvent() {
  window_->UpdateChanged();
  ShowCaption();
  window_->SyncButtons();
}

void QtHost::ShowCaption() {
  // The tick rewrites the caption every 10 ms, mostly with the same text.
  if (player_ == nullptr) {
    const std::string& caption = session_.Game().Caption;
    if (caption == shownCaption_) return;
    shownCaption_ = caption;
  } else {
    std::string caption = player_->Caption() + " - " + player_->Game().Caption;
    if (caption == shownCaption_) return;
    shownCaption_ = std::move(caption);
  }
  window_->setWindowTitle(FromUtf8(shownCaption_));
}

void QtHost::ShowCurrentFrame() {
  AfterEvent();
  window_->repaint();
}

void QtHost::MsgBox(const std::string& text, const std::string& title) {
  session_.ReleaseAllKeys();
  ShowCurrentFrame();
  QMessageBox box(QMessageBox::NoIcon, FromUtf8(title), FromUtf8(text), QMessageBox::Ok,
                  window_.get());
  box.setTextFormat(Qt::PlainText);
  dialoglook::Apply(box);
  BoxLayout::Arrange(box, window_->Placement().factor);
  box.exec();
}

std::string QtHost::InputBox(const std::string& prompt, const std::string& title) {
  session_.ReleaseAllKeys();
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

void QtHost::Form2Opened(Form2Controls& boxes) {
  // A fresh QIcon each time would leave its pixmaps in Qt's pixmap cache
  // under a new key at every opening.
  auto* widget = new Form2Widget(window_->windowIcon());
  form2Widget_ = widget;
  widget->SetZoom(window_->Placement().factor);
  gameFocus_.SetCompanion(widget);
  connect(widget, &Form2Widget::Closing, this, [this] { session_.CloseForm2(); });
  widget->SetWatchOffer([this](int rank) { return WatchOfferFor(rank); });
  connect(widget, &Form2Widget::WatchAsked, this, [this](int rank) { WatchRank(rank); });
  widget->SetWorldOffer([this](int rank) { return WorldOfferFor(rank); });
  connect(widget, &Form2Widget::SendAsked, this, [this](int rank) { SendRank(rank); });
  connect(widget, &Form2Widget::WorldRankingAsked, this, [this] { ShowWorldRanking(); });
  connect(&widget->Command1(), &QPushButton::clicked, this, [this] { session_.ClickForm2Close(); });
  widget->Sync(boxes);
  // Modeless and with no owner: both windows stay usable.
  widget->show();
}

// Asked for again while it is open, the same window comes to the front with
// the focus, so that the player sees the list that is refilled.
void QtHost::Form2Raised() {
  if (form2Widget_ != nullptr) {
    form2Widget_->raise();
    form2Widget_->activateWindow();
  }
}

void QtHost::Form2Changed(const Form2Controls& boxes) {
  if (form2Widget_ != nullptr) form2Widget_->Sync(boxes);
}

void QtHost::Form2Closed() {
  CloseRankingWindow();
}

void QtHost::CloseRankingWindow() {
  if (Form2Widget* widget = form2Widget_.data()) {
    form2Widget_ = nullptr;
    widget->disconnect(this);
    widget->Command1().disconnect(this);
    // The focus goes back to the game window rather than out of the game.
    if (widget->isActiveWindow() && window_->isVisible()) window_->activateWindow();
    widget->hide();
    widget->deleteLater();
  }
}

void QtHost::ProgramEnded() {
  if (ended_) return;
  Stop(0);
  CloseEverything();
}

void QtHost::ProgramFailed(const char* what) {
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
  wake_.stop();
  watchWake_.stop();
  session_.ReleaseAllKeys();
}

void QtHost::CloseEverything() {
  CloseRankingWindow();
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
      // While a replay plays, its keys are the watcher's and nothing
      // reaches the game.
      if (player_ != nullptr) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        const int code = WatchKeyOf(key.key());
        if (code == 0 || !watched->isWidgetType()) break;
        const QWidget* window = static_cast<const QWidget*>(watched)->window();
        if (window != window_.get() && window != form2Widget_.data()) break;
        // Where Qt first delivers it, once; a held key's repeats toggle nothing.
        const QWidget* focus = window->focusWidget();
        if (watched == (focus != nullptr ? focus : window) && !key.isAutoRepeat()) {
          OnWatchKey(code);
        }
        return true;
      }
      OnKeyPress(watched, *static_cast<QKeyEvent*>(event));
      break;
    case QEvent::KeyRelease: {
      // Wherever it lands: a key may be let go after the focus moved on.
      const auto& key = *static_cast<QKeyEvent*>(event);
      const int code = virtualkeys::VirtualKeyOf(key.key());
      if (code != 0 && !key.isAutoRepeat()) session_.KeyUp(code);
      break;
    }
    case QEvent::WindowDeactivate:
      // A key let go in another window is never seen here. The ranking
      // window is the exception: the game's own, it sees the release.
      if (watched == window_.get() &&
          !(gameFocus_.Held() && QApplication::activeWindow() != window_.get())) {
        session_.ReleaseAllKeys();
      }
      break;
    case QEvent::ApplicationStateChange:
      if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
          Qt::ApplicationActive) {
        session_.ReleaseAllKeys();
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
    if (code != vbKeyEscape && !key.isAutoRepeat()) session_.Keys().SetHeld(code, true);
    return;
  }
  // Every key-down counts, the repeats of a held key included; the event
  // goes on to the button afterwards (Space and Return still press it).
  session_.KeyDown(code, !key.isAutoRepeat());
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
  const Form1& game = session_.Game();
  if (!focusPause_ || ended_ || session_.Dispatching() || game.playing != VbTrue) return;
  if (game.Timer2.Enabled()) {
    session_.PauseAsEsc();
  } else if (game.pausing == VbFalse && game.Timer3.Enabled()) {
    pauseWhenResumed_ = true;
  }
}

}  // namespace pellmora
