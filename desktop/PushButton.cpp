#include "desktop/PushButton.h"

#include <QKeyEvent>

#include "desktop/WidgetZoom.h"

namespace pellmora {

PushButton::PushButton(int focusInset, QWidget* parent)
    : QPushButton(parent), focusInset_(focusInset) {
  // Enter is handled below for this button alone, never as a window's
  // default button.
  setAutoDefault(false);
}

QRect PushButton::FocusMarkRect() const {
  const int inset = focusInset_ * widgetzoom::Of(this);
  return rect().adjusted(inset, inset, -inset, -inset);
}

void PushButton::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
    // One press, one click: a held Enter does not go on clicking whatever
    // button comes up next.
    if (!event->isAutoRepeat() && isEnabled()) click();
    event->accept();
    return;
  }
  QPushButton::keyPressEvent(event);
}

}  // namespace pellmora
