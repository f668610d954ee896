#include "desktop/WindowZoom.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QSize>
#include <QStyle>
#include <QWidget>
#include <algorithm>

#include "desktop/FieldPlacement.h"
#include "host/Design.h"

namespace pellmora {

namespace {

constexpr QSize kField(design::kForm1ClientWidth, design::kForm1ClientHeight);

}  // namespace

ZoomKey ZoomKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) noexcept {
  // The keypad's plus and minus count too; Shift is how many layouts type
  // the plus at all.
  const Qt::KeyboardModifiers held =
      modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  if (held == Qt::ControlModifier) {
    switch (qtKey) {
      case Qt::Key_Plus:
      case Qt::Key_Equal:
        return ZoomKey::ZoomIn;
      case Qt::Key_Minus:
      case Qt::Key_Underscore:
        return ZoomKey::ZoomOut;
      case Qt::Key_0:
        return ZoomKey::ZoomReset;
      default:
        return ZoomKey::None;
    }
  }
  if (held == Qt::NoModifier && qtKey == Qt::Key_F11 && !(modifiers & Qt::ShiftModifier)) {
    return ZoomKey::ToggleFullscreen;
  }
  if (held == Qt::AltModifier && (qtKey == Qt::Key_Return || qtKey == Qt::Key_Enter)) {
    return ZoomKey::ToggleFullscreen;
  }
  return ZoomKey::None;
}

int WindowZoom::MaxScale() const {
  const QScreen* screen = window_.screen();
  if (screen == nullptr) return 1;
  // The frame is known once the window manager has framed the window.
  const QSize frame = window_.frameGeometry().size() - window_.geometry().size();
  return LargestFieldFactor(screen->availableGeometry().size() - frame);
}

void WindowZoom::SetScale(int scale) {
  scale_ = std::clamp(scale, 1, MaxScale());
  if (!fullscreen_) FitWindow(false);
}

void WindowZoom::SetFullscreen(bool on) {
  if (on == fullscreen_) return;
  fullscreen_ = on;
  if (!window_.isVisible()) return;
  if (on) {
    ShowFullScreen();
  } else {
    window_.showNormal();
    FitWindow(false);
  }
}

void WindowZoom::Show() {
  scale_ = std::clamp(scale_, 1, MaxScale());
  if (fullscreen_) {
    ShowFullScreen();
    return;
  }
  FitWindow(true);
  window_.show();
}

void WindowZoom::ShowFullScreen() {
  // A window of fixed size tells the window manager it cannot grow.
  window_.setMinimumSize(kField);
  window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
  window_.showFullScreen();
  // An X server without a window manager (a kiosk, a test display) has no one
  // to act on the request: the window covers the screen itself. A window
  // manager that does act gives it the same place.
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    if (const QScreen* screen = window_.screen()) window_.setGeometry(screen->geometry());
  }
}

void WindowZoom::FitWindow(bool centreOnScreen) {
  const QSize size = kField * scale_;
  const QScreen* screen = window_.screen();
  QRect place(window_.geometry().topLeft(), size);
  if (screen != nullptr) {
    // The client area goes where the old one's centre was (or the screen's),
    // inside the available area; the frame, unknown before the window manager
    // has framed the window, takes its share around it. A Wayland compositor
    // places windows itself and ignores this.
    const QRect available = screen->availableGeometry();
    if (centreOnScreen) {
      place = QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size, available);
    } else {
      place.moveCenter(window_.geometry().center());
      place.moveLeft(std::clamp(place.left(), available.left(),
                                std::max(available.left(), available.right() + 1 - size.width())));
      place.moveTop(std::clamp(place.top(), available.top(),
                               std::max(available.top(), available.bottom() + 1 - size.height())));
    }
  }
  window_.setFixedSize(size);
  window_.setGeometry(place);
}

}  // namespace pellmora
