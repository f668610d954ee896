// A text box that shows its blinking caret while it holds the focus, also
// when it is read-only, as the home platform's locked boxes do: the player
// sees where the focus is.
#pragma once

#include <QBasicTimer>
#include <QLineEdit>

namespace pellmora {

class CaretLineEdit : public QLineEdit {
  Q_OBJECT

 public:
  explicit CaretLineEdit(QWidget* parent);

  // Where the read-only box draws its caret now; empty while it shows none.
  QRect LockedCaret() const;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  QBasicTimer blink_;
  bool caretOn_ = false;
};

}  // namespace pellmora
