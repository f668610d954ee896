// The game window: draws the game's screen objects from their plain members,
// through the shared painter, and holds the three menu buttons. The field
// takes the largest whole zoom that fits the client area, centred (see
// FieldPlacement).
#pragma once

#include <QFont>
#include <QPixmap>
#include <QPushButton>
#include <QStaticText>
#include <QWidget>

#include "desktop/FieldPlacement.h"
#include "host/Form1Controls.h"
#include "play/Canvas.h"
#include "play/ChangedPlaces.h"

class QPainter;

namespace pellmora {

class Form1Widget : public QWidget, private Canvas {
  Q_OBJECT

 public:
  explicit Form1Widget(const Form1Controls& controls);

  // Command1..Command3 for n = 0..2.
  QPushButton& Command(int n) { return *commands_[n]; }

  // Puts the buttons where Command1..Command3 say and shows or hides them.
  void SyncButtons();

  // Asks for a repaint of what the game moved, showed or hid since the last
  // call: only those places are drawn again.
  void UpdateChanged();

  // Where the field is drawn now.
  const FieldPlacement& Placement() const noexcept { return placement_; }

  // Draws another game's objects from now on (a replay's, and the session's
  // again afterwards): the whole field is drawn anew.
  void ShowGame(const Form1Controls& controls);
  const Form1Controls& Shown() const noexcept { return *controls_; }

 signals:
  // The player closed the window by its title bar.
  void Closing();
  // The field is now drawn at `factor` screen pixels per game pixel.
  void ZoomChanged(int factor);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Canvas: the field's pictures from their zoomed copies; the buttons are
  // widgets of their own, drawn by Qt above the field.
  void DrawPicture(PictureId picture, const Rect& where) override;
  void DrawLabel(LabelId label, const Rect& where) override;
  void DrawButton(int /*n*/, const Rect& /*where*/, bool /*pressed*/) override {}
  Rect LabelInk(LabelId label, const Rect& where) const override;

  void DrawPaddle(const QRect& place, const QPixmap& picture, QPixmap& stretched, QPixmap& zoomed);
  void PaintField(QPainter& painter);
  void Place();
  // A place of the field in client pixels, with room for rounding.
  QRect AreaOf(const Rect& game) const;

  const Form1Controls* controls_;
  QPushButton* commands_[3] = {};

  // Built once, so that a repaint only draws.
  QPixmap background_;
  QPixmap paddleUpright_;
  QPixmap paddleFlat_;
  QPixmap ball_;
  QPixmap itemPanels_[6];
  QPixmap buttonPictures_[3];
  QFont labelFont_;
  QStaticText title_;
  QStaticText banner_;

  FieldPlacement placement_;
  // The paddles' pictures stretched to their present lengths at one screen
  // pixel per game pixel, remade only when a length changes.
  QPixmap stretchedUpright_;
  QPixmap stretchedFlat_;
  // Every picture at the present zoom, made when the zoom changes, so that
  // a repaint copies pixels rather than scaling them.
  struct {
    QPixmap background;
    QPixmap ball;
    QPixmap items[6];
    QPixmap upright;
    QPixmap flat;
  } zoomed_;
  // Where each object was last asked to be drawn.
  ChangedPlaces drawn_;
  QPainter* painter_ = nullptr;  // while a paint event draws
};

}  // namespace pellmora
