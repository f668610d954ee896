// Where each object of the game window was last drawn, in game pixels, so
// that a host which repaints only what changed knows the places to draw
// again. The objects are the painter's, in its order.
#pragma once

#include "host/Form1Controls.h"
#include "play/Canvas.h"

namespace pellmora {

class ChangedPlaces {
 public:
  // The title, the four paddles, the ball, the banner and the six items.
  static constexpr int kObjects = 13;

  // Calls report(before, now) for every object whose place changed since
  // the last call, or that was shown or hidden; a hidden object's place is
  // empty. A label's place takes in its lettering.
  template <typename Report>
  void Update(const Form1Controls& controls, const Canvas& canvas, Report&& report) {
    for (int object = 0; object < kObjects; ++object) {
      const Rect now = PlaceOf(controls, canvas, object);
      if (now == drawn_[object]) continue;
      report(drawn_[object], now);
      drawn_[object] = now;
    }
  }

  // Takes the places as they are without reporting: the whole window is
  // drawn anew anyway.
  void Remember(const Form1Controls& controls, const Canvas& canvas);

  static Rect PlaceOf(const Form1Controls& controls, const Canvas& canvas, int object);

 private:
  Rect drawn_[kObjects] = {};
};

}  // namespace pellmora
