#include "desktop/GamepadRouting.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QKeyEvent>
#include <QPushButton>
#include <QWidget>
#include <utility>

#include "desktop/Gamepad.h"
#include "host/Host.h"

namespace pellmora {

namespace {

// The box in front, else the active window, else the game window.
QWidget* FrontWindow(QWidget& gameWindow) {
  QWidget* window = QApplication::activeModalWidget();
  if (window == nullptr) window = QApplication::activeWindow();
  return window != nullptr ? window : &gameWindow;
}

// A pad's button as the key it stands for, delivered where that key would
// go: the focused widget of the window in front.
void SendKey(QWidget& gameWindow, int qtKey) {
  QWidget* target = FrontWindow(gameWindow);
  if (QWidget* focus = target->focusWidget()) target = focus;
  QKeyEvent press(QEvent::KeyPress, qtKey, Qt::NoModifier);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, qtKey, Qt::NoModifier);
  QApplication::sendEvent(target, &release);
}

// A presses the focused button; in a box with the focus on its text, the
// box's default button, as Enter would.
void Confirm(QWidget& gameWindow) {
  QWidget* window = FrontWindow(gameWindow);
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

}  // namespace

void RouteGamepad(Gamepad& pad, QWidget& gameWindow, std::function<bool()> inPlay,
                  std::function<bool()> ended) {
  // Queued, so that a box a press opens never runs inside the pad's reading.
  QObject::connect(
      &pad, &Gamepad::EscapePressed, &gameWindow,
      [&gameWindow, ended] {
        if (!ended()) SendKey(gameWindow, Qt::Key_Escape);
      },
      Qt::QueuedConnection);
  QObject::connect(
      &pad, &Gamepad::ConfirmPressed, &gameWindow,
      [&gameWindow, ended] {
        if (!ended()) Confirm(gameWindow);
      },
      Qt::QueuedConnection);
  // Outside play the D-pad walks the buttons, as Tab and Shift+Tab do; in
  // play it only moves the paddles.
  QObject::connect(
      &pad, &Gamepad::DirectionPressed, &gameWindow,
      [&gameWindow, inPlay = std::move(inPlay), ended](int virtualKey) {
        if (ended() || (inPlay() && QApplication::activeModalWidget() == nullptr)) return;
        SendKey(gameWindow, virtualKey == vbKeyDown || virtualKey == vbKeyRight ? Qt::Key_Tab
                                                                                : Qt::Key_Backtab);
      },
      Qt::QueuedConnection);
}

}  // namespace pellmora
