#include "desktop/PushButton.h"

#include <QKeyEvent>
#include <QPainter>

#include "desktop/ClassicEdges.h"

namespace pellmora {

PushButton::PushButton(int focusInset, QWidget* parent)
    : QPushButton(parent), focusInset_(focusInset) {
  // Enter is handled below for this button alone, never as a window's
  // default button.
  setAutoDefault(false);
}

QRect PushButton::FocusMarkRect() const {
  return rect().adjusted(focusInset_, focusInset_, -focusInset_, -focusInset_);
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

void PushButton::paintEvent(QPaintEvent* event) {
  QPushButton::paintEvent(event);
  if (!hasFocus()) return;
  QPainter painter(this);
  edges::DrawFocusMark(painter, FocusMarkRect());
}

}  // namespace pellmora
