#include "desktop/CaretLineEdit.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleHints>
#include <QStyleOptionFrame>
#include <QTimerEvent>

#include "desktop/WidgetZoom.h"

namespace pellmora {

CaretLineEdit::CaretLineEdit(QWidget* parent) : QLineEdit(parent) {}

QRect CaretLineEdit::LockedCaret() const {
  if (!isReadOnly() || !hasFocus() || !caretOn_) return QRect();
  // Qt's cursor rectangle reaches 5 pixels left of the caret and one row
  // below the line.
  const QRect around = cursorRect();
  QStyleOptionFrame frame;
  initStyleOption(&frame);
  // A line taller than the box is cut off by its edge, as the lettering is.
  const QRect field = style()->subElementRect(QStyle::SE_LineEditContents, &frame, this);
  return QRect(around.left() + 5, around.top(), widgetzoom::Of(this), around.height() - 1) & field;
}

void CaretLineEdit::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  caretOn_ = true;
  // A flash time of 0 asks for a caret that does not blink.
  const int flash = QGuiApplication::styleHints()->cursorFlashTime();
  if (flash > 0) blink_.start(flash / 2, this);
  update();
}

void CaretLineEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  caretOn_ = false;
  blink_.stop();
  update();
}

void CaretLineEdit::paintEvent(QPaintEvent* event) {
  QLineEdit::paintEvent(event);
  const QRect caret = LockedCaret();
  if (caret.isEmpty()) return;
  QPainter painter(this);
  painter.fillRect(caret, palette().color(QPalette::Text));
}

void CaretLineEdit::timerEvent(QTimerEvent* event) {
  if (event->timerId() != blink_.timerId()) {
    QLineEdit::timerEvent(event);
    return;
  }
  caretOn_ = !caretOn_;
  if (isReadOnly()) update();
}

}  // namespace pellmora
