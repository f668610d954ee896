// A button as the home platform has it: Enter presses it like Space, and
// while it holds the keyboard focus a dotted mark runs inside its edge
// (drawn by ClassicStyle).
#pragma once

#include <QPushButton>

namespace pellmora {

class PushButton : public QPushButton {
  Q_OBJECT

 public:
  // The focus mark lies `focusInset` design pixels inside the button's edge.
  PushButton(int focusInset, QWidget* parent);

  // The outline of the focus mark in the button's own pixels, at its zoom.
  QRect FocusMarkRect() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  int focusInset_;
};

}  // namespace pellmora
