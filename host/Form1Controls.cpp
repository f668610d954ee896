#include "host/Form1Controls.h"

#include "host/Design.h"

namespace pellmora {

namespace {

ScreenObject Design(float left, float top, float width, float height, bool visible) {
  return ScreenObject{left, top, width, height, visible};
}

}  // namespace

Form1Controls::Form1Controls()
    : Caption(design::kGameName),
      // The title is parked above the field with only its bottom 9 rows showing;
      // the banner is parked below it with only its top 8 rows inside.
      Label1(Design(0, -88, 641, 97, true)),
      Label2(Design(0, 472, 641, 105, true)),
      Command1(Design(208, 304, 201, 41, false)),
      Command2(Design(208, 360, 201, 41, false)),
      Command3(Design(208, 416, 201, 41, false)),
      Image1(Design(16, 152, 24, 153, false)),
      Image2(Design(600, 152, 24, 153, false)),
      Image3(Design(56, 16, 152, 25, false)),
      Image4(Design(56, 432, 152, 25, false)),
      Image5(Design(480, 192, 16, 16, false)),
      Image6{Design(152, 144, 100, 50, false), Design(272, 144, 100, 50, false),
             Design(392, 144, 100, 50, false), Design(152, 208, 100, 50, false),
             Design(272, 208, 100, 50, false), Design(392, 208, 100, 50, false)},
      Timer1(1, 15, true),
      Timer2(2, 10, false),
      Timer3(3, 15, false),
      Timer4(4, 10000, false) {}

}  // namespace pellmora
