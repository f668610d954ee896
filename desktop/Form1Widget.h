// The game window: draws the game's screen objects from their plain members
// and holds the three menu buttons.
#pragma once

#include <QFont>
#include <QPixmap>
#include <QPushButton>
#include <QStaticText>
#include <QWidget>

#include "host/Form1Controls.h"

class QPainter;

namespace pellmora {

class Form1Widget : public QWidget {
  Q_OBJECT

 public:
  explicit Form1Widget(const Form1Controls& controls);

  // Command1..Command3 for n = 0..2.
  QPushButton& Command(int n) { return *commands_[n]; }

  // Puts the buttons where Command1..Command3 say and shows or hides them.
  void SyncButtons();

 signals:
  // The player closed the window by its title bar.
  void Closing();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void DrawLabel(QPainter& painter, const ScreenObject& label, const QStaticText& text);

  const Form1Controls& controls_;
  QPushButton* commands_[3] = {};

  // Built once, so that a repaint only draws.
  QPixmap background_;
  QPixmap paddleUpright_;
  QPixmap paddleFlat_;
  QPixmap ball_;
  QPixmap itemPanels_[6];
  QFont labelFont_;
  QStaticText title_;
  QStaticText banner_;
};

}  // namespace pellmora
