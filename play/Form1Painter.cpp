#include "play/Form1Painter.h"

namespace pellmora {

namespace {

Rect RectOf(const ScreenObject& object) {
  return Rect{object.Left, object.Top, object.Width, object.Height};
}

const ScreenObject* MenuButton(const Form1Controls& controls, int n) {
  const ScreenObject* buttons[3] = {&controls.Command1, &controls.Command2, &controls.Command3};
  return buttons[n];
}

}  // namespace

Rect ItemPanelPlace(const ScreenObject& item) {
  return Rect{item.Left, item.Top, 100, 50};
}

void PaintForm1(const Form1Controls& controls, Canvas& canvas, int pressedButton) {
  canvas.DrawPicture(PictureId::Background, Rect{0, 0, 640, 480});
  if (controls.Label1.Visible) canvas.DrawLabel(LabelId::Title, RectOf(controls.Label1));

  // A paddle's ramp runs across its thickness whatever its length.
  const ScreenObject* upright[2] = {&controls.Image1, &controls.Image2};
  for (const ScreenObject* paddle : upright) {
    if (paddle->Visible) canvas.DrawPicture(PictureId::PaddleUpright, RectOf(*paddle));
  }
  const ScreenObject* flat[2] = {&controls.Image3, &controls.Image4};
  for (const ScreenObject* paddle : flat) {
    if (paddle->Visible) canvas.DrawPicture(PictureId::PaddleFlat, RectOf(*paddle));
  }
  if (controls.Image5.Visible) canvas.DrawPicture(PictureId::Ball, RectOf(controls.Image5));

  // Parked below the field, only the part of the banner inside is seen.
  if (controls.Label2.Visible) canvas.DrawLabel(LabelId::Banner, RectOf(controls.Label2));

  // Item panels keep their own size: 100 x 50 wherever they are placed.
  for (int k = 0; k < 6; ++k) {
    const ScreenObject& item = controls.Image6[k];
    if (item.Visible) {
      canvas.DrawPicture(static_cast<PictureId>(static_cast<int>(PictureId::ItemPanel0) + k),
                         ItemPanelPlace(item));
    }
  }

  for (int n = 0; n < 3; ++n) {
    const ScreenObject& button = *MenuButton(controls, n);
    if (button.Visible) canvas.DrawButton(n, RectOf(button), n == pressedButton);
  }
}

int MenuButtonAt(const Form1Controls& controls, float x, float y) {
  for (int n = 0; n < 3; ++n) {
    const ScreenObject& b = *MenuButton(controls, n);
    if (b.Visible && x >= b.Left && x < b.Left + b.Width && y >= b.Top && y < b.Top + b.Height) {
      return n;
    }
  }
  return -1;
}

}  // namespace pellmora
