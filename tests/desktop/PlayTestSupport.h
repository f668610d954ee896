// Shared by the tests that play the real game window: waiting on the event
// loop, real key and mouse events, a watcher for the modal boxes, the menu
// and the colours of the drawn objects.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "QtHostTestSupport.h"
#include "game/Int16.h"

namespace pellmora {

namespace playtest {

// Runs the event loop until `done` holds or `timeoutMs` have passed; true
// when it holds. The machine may be busy, so callers give generous limits.
// A native Wayland client: the compositor gives no keyboard focus on a
// headless seat, and no client may read the screen.
inline bool OnWayland() {
  return QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Runs the event loop for about `ms` milliseconds.
inline void RunFor(int ms) {
  QElapsedTimer clock;
  clock.start();
  WaitUntil([&] { return clock.elapsed() >= ms; }, ms + 1000);
}

// A key or mouse event as the window system delivers it: to the window's
// QWindow, from where Qt routes it to the focus widget or to the widget under
// the pointer, just as for the player's own keys and clicks.
inline QObject* EventTarget(QWidget& window) {
  if (QWindow* handle = window.windowHandle()) return handle;
  return &window;
}

inline void SendKey(QObject* target, QEvent::Type type, int key, bool autoRepeat = false,
                    const QString& text = QString()) {
  QKeyEvent event(type, key, Qt::NoModifier, text, autoRepeat);
  QApplication::sendEvent(target, &event);
}

inline void PressKey(QWidget& window, int key, bool autoRepeat = false) {
  SendKey(EventTarget(window), QEvent::KeyPress, key, autoRepeat);
}

inline void ReleaseKey(QWidget& window, int key, bool autoRepeat = false) {
  SendKey(EventTarget(window), QEvent::KeyRelease, key, autoRepeat);
}

// A left click at `pos` of the top-level `window`, handed to whatever
// visible widget lies there, as the mouse would.
inline void ClickAt(QWidget& window, QPoint pos) {
  const QPointF local(pos);
  const QPointF global = window.mapToGlobal(local);
  QObject* target = EventTarget(window);
  QMouseEvent press(QEvent::MouseButtonPress, local, local, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, local, local, global, Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

// Hands every modal box that opens, one after another, to `handle`, from
// inside the box's own event loop; a box the handler left open is rejected,
// so that no test waits on a box. Counts the boxes seen. Ends with the object.
class ModalWatcher {
 public:
  explicit ModalWatcher(std::function<void(QWidget&)> handle) : handle_(std::move(handle)) {
    poll_.setInterval(10);
    QObject::connect(&poll_, &QTimer::timeout, [this] { Poll(); });
    poll_.start();
  }
  ModalWatcher(const ModalWatcher&) = delete;
  ModalWatcher& operator=(const ModalWatcher&) = delete;

  int Seen() const noexcept { return seen_; }

 private:
  void Poll() {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr || box == last_) return;
    last_ = box;
    ++seen_;
    handle_(*box);
    if (QApplication::activeModalWidget() == box) {
      if (auto* dialog = qobject_cast<QDialog*>(box)) dialog->reject();
    }
  }

  std::function<void(QWidget&)> handle_;
  QTimer poll_;
  QPointer<QWidget> last_;
  int seen_ = 0;
};

// Colours of the drawn objects.
constexpr QRgb kBallYellow = 0xFCFE04;
// Pixel i across a paddle's thickness: 24 wide, stretched over 25 (upright)
// or 27 (flat) steps of the ramp.
inline QRgb PaddleRamp(int i, int over) {
  const int grey = 255 * i / over;
  return qRgb(grey, grey, 128 + 127 * i / over) & 0xFFFFFFu;
}

inline int CountColour(const QImage& image, const QRect& area, QRgb colour) {
  int count = 0;
  const QRect clipped = area & image.rect();
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x) {
      if (qthosttest::ColourAt(image, x, y) == colour) ++count;
    }
  }
  return count;
}

// The whole pixel rows that hold a dark pixel (every channel below 0x60) in
// `area`: the height of the lettering drawn there.
inline int InkHeight(const QImage& image, const QRect& area) {
  int top = -1;
  int bottom = -1;
  const QRect clipped = area & image.rect();
  for (int y = clipped.top(); y <= clipped.bottom(); ++y) {
    for (int x = clipped.left(); x <= clipped.right(); ++x) {
      const QRgb c = image.pixel(x, y);
      if (qRed(c) < 0x60 && qGreen(c) < 0x60 && qBlue(c) < 0x60) {
        if (top < 0) top = y;
        bottom = y;
        break;
      }
    }
  }
  return top < 0 ? 0 : bottom - top + 1;
}

inline QRect RectOf(const ScreenObject& object) {
  return QRect(qRound(object.Left), qRound(object.Top), qRound(object.Width),
               qRound(object.Height));
}

inline bool Visible(QPushButton& button, QWidget& window) {
  return button.isVisibleTo(&window);
}

// A started host whose title has run its course, with the menu up.
class MenuHost : public qthosttest::StartedHost {
 protected:
  void SetUp() override {
    StartedHost::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(WaitForMenu()) << "the menu buttons did not come up";
  }

  bool WaitForMenu() {
    return WaitUntil(
        [this] {
          return Visible(Window().Command(0), Window()) && Visible(Window().Command(2), Window());
        },
        15000);
  }

  bool Running(const Timer& timer) { return host->Session().Timers().Running((timer).Id()); }

  // Makes all four paddles cover every place the ball can reach while it
  // bounces, so that a test can let real time pass without losing the ball.
  void MakePaddlesSafe() {
    Game().Image1.Top = Game().Image2.Top = 20;
    Game().Image1.Height = Game().Image2.Height = 440;
    Game().Image3.Left = Game().Image4.Left = 20;
    Game().Image3.Width = Game().Image4.Width = 600;
  }

  // Puts the ball on its way out past the right paddle, which no longer
  // covers it: the game ends within a few ticks.
  void LoseTheBallOnTheRight() {
    Game().Image2.Top = 0;
    Game().Image2.Height = 10;
    Game().Image5.Left = 605;
    Game().Image5.Top = 300;
    Game().ballDX = 3;
    Game().ballDY = 0;
  }

  // Rebuilds the host in the same scratch folder, after `prepare` has put
  // files there, so that start-up sees them.
  void RestartWith(const std::function<void()>& prepare) {
    host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    prepare();
    host = std::make_unique<QtHost>();
    host->Start();
    ASSERT_TRUE(WaitForMenu()) << "the menu buttons did not come up after the restart";
  }
};

inline bool WriteFile(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  return file.write(bytes) == bytes.size();
}

inline QByteArray ReadFile(const QString& name) {
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.readAll();
}

}  // namespace playtest

}  // namespace pellmora
