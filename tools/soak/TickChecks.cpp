#include "tools/soak/TickChecks.h"

#include <cstdlib>
#include <string>

#include "game/Int16.h"
#include "tools/soak/SoakFailure.h"
#include "tools/soak/TableChecks.h"

namespace pellmora {

namespace {

bool IsFlag(int16_t value) {
  return value == VbFalse || value == VbTrue;
}

}  // namespace

void CheckTick(const Form1& form, bool titleDone) {
  if (form.score < 0) Fail("negative score " + std::to_string(form.score));
  if (form.titlePhase < 0 || form.titlePhase > 5) {
    Fail("titlePhase " + std::to_string(form.titlePhase));
  }
  Expect(!titleDone || form.titlePhase == 5, "title not settled");
  if (!IsFlag(form.playing)) Fail("playing " + std::to_string(form.playing));
  if (!IsFlag(form.pausing)) Fail("pausing " + std::to_string(form.pausing));
  for (int k = 0; k < 6; ++k) {
    if (!IsFlag(form.itemActive[k])) {
      Fail("itemActive(" + std::to_string(k) + ") " + std::to_string(form.itemActive[k]));
    }
  }
  Expect(form.baseSpeedX == 3 && form.baseSpeedY == 3, "base speed changed");
  CheckTableShape(form);

  // The tick and the item timer run only in play, never under the banner.
  if (form.Timer2.Enabled() || form.Timer4.Enabled()) {
    Expect(form.playing == VbTrue, "play timers running outside a game");
    Expect(form.pausing == VbFalse && !form.Timer3.Enabled(), "play timers running in a pause");
  }
  Expect(form.playing == VbTrue || !form.Timer3.Enabled(), "banner moving outside a game");

  // Paddle pairs move together and stay on the field's near sides.
  Expect(form.Image1.Top == form.Image2.Top && form.Image1.Height == form.Image2.Height,
         "left and right paddles apart");
  Expect(form.Image3.Left == form.Image4.Left && form.Image3.Width == form.Image4.Width,
         "top and bottom paddles apart");
  Expect(form.Image1.Top >= 0 && form.Image3.Left >= 0, "paddle past the top or left edge");

  if (form.playing == VbTrue) {
    const int dx = std::abs(static_cast<int>(form.ballDX));
    const int dy = std::abs(static_cast<int>(form.ballDY));
    Expect(dx >= 3 && dy >= 3, "ball slower than the start speed");
    // A ball still in play is at most a step or two past a miss line.
    const float slackX = static_cast<float>(2 * dx + 2);
    const float slackY = static_cast<float>(2 * dy + 2);
    if (form.Image5.Left < 1 - slackX || form.Image5.Left > 620 + slackX ||
        form.Image5.Top < 1 - slackY || form.Image5.Top > 460 + slackY) {
      Fail("ball in play outside the field at " + std::to_string(form.Image5.Left) + ", " +
           std::to_string(form.Image5.Top));
    }
  }
}

}  // namespace pellmora
