#include "desktop/GameFocus.h"

#include <QApplication>
#include <QWindow>

namespace pellmora {

GameFocus::GameFocus(QWidget& gameWindow) : game_(gameWindow), held_(Held()) {
  // Emitted once the application's active window has followed the focus.
  connect(qApp, &QGuiApplication::focusWindowChanged, this, [this] { FocusWindowChanged(); });
}

bool GameFocus::Held() const {
  const QWidget* active = QApplication::activeWindow();
  if (active == nullptr) return false;
  if (active == &game_ || (companion_ != nullptr && active == companion_.data())) return true;
  // The boxes the game window opens are owned by it.
  const QWidget* owner = active->parentWidget();
  return owner != nullptr && owner->window() == &game_;
}

void GameFocus::FocusWindowChanged() {
  const bool held = Held();
  if (held == held_) return;
  held_ = held;
  if (held) {
    emit Gained();
  } else {
    emit Lost();
  }
}

}  // namespace pellmora
