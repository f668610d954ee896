#include "play/ChangedPlaces.h"

#include <algorithm>

#include "play/Form1Painter.h"

namespace pellmora {

namespace {

Rect Union(const Rect& a, const Rect& b) {
  const float left = std::min(a.left, b.left);
  const float top = std::min(a.top, b.top);
  const float right = std::max(a.left + a.width, b.left + b.width);
  const float bottom = std::max(a.top + a.height, b.top + b.height);
  return Rect{left, top, right - left, bottom - top};
}

Rect RectOf(const ScreenObject& object) {
  return Rect{object.Left, object.Top, object.Width, object.Height};
}

}  // namespace

Rect ChangedPlaces::PlaceOf(const Form1Controls& controls, const Canvas& canvas, int object) {
  switch (object) {
    case 0:
    case 6: {
      const ScreenObject& label = object == 0 ? controls.Label1 : controls.Label2;
      if (!label.Visible) return Rect{};
      const LabelId id = object == 0 ? LabelId::Title : LabelId::Banner;
      return Union(RectOf(label), canvas.LabelInk(id, RectOf(label)));
    }
    case 1:
    case 2:
    case 3:
    case 4:
    case 5: {
      const ScreenObject* images[5] = {&controls.Image1, &controls.Image2, &controls.Image3,
                                       &controls.Image4, &controls.Image5};
      const ScreenObject& image = *images[object - 1];
      return image.Visible ? RectOf(image) : Rect{};
    }
    default: {
      const ScreenObject& item = controls.Image6[object - 7];
      return item.Visible ? ItemPanelPlace(item) : Rect{};
    }
  }
}

void ChangedPlaces::Remember(const Form1Controls& controls, const Canvas& canvas) {
  for (int object = 0; object < kObjects; ++object) {
    drawn_[object] = PlaceOf(controls, canvas, object);
  }
}

}  // namespace pellmora
