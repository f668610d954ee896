// What the game window's painter asks of a drawing surface. The desktop's
// window and the page's canvas implement it; a test records the calls.
#pragma once

namespace pellmora {

// The pictures the page holds, uploaded once at start-up.
enum class PictureId : int {
  Background = 0,
  PaddleUpright = 1,
  PaddleFlat = 2,
  Ball = 3,
  ItemPanel0 = 4,  // ItemPanel0 + k for item kind k = 0..5
  Button0 = 10,    // Button0 + n for menu button n = 0..2
  Icon = 13,       // the page's icon, never drawn on the field
  Count = 14,
};

// The two live texts of the game window.
enum class LabelId : int { Title = 0, Banner = 1 };

struct Rect {
  float left, top, width, height;
  bool operator==(const Rect&) const = default;
  bool Empty() const noexcept { return !(width > 0 && height > 0); }
};

class Canvas {
 public:
  // The picture stretched over the rectangle, pixel for pixel, no smoothing.
  virtual void DrawPicture(PictureId picture, const Rect& where) = 0;
  // The label's text, centred in the rectangle, lettering only.
  virtual void DrawLabel(LabelId label, const Rect& where) = 0;
  // A push button's face with its picture; `pressed` sinks it.
  virtual void DrawButton(int n, const Rect& where, bool pressed) = 0;
  // Where the label's lettering reaches when drawn in the rectangle: glyphs
  // may stand out of it.
  virtual Rect LabelInk(LabelId /*label*/, const Rect& where) const { return where; }

 protected:
  ~Canvas() = default;
};

}  // namespace pellmora
