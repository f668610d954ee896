#include "tools/screenshots/ItemDraw.h"

namespace pellmora {

namespace {

// The value whose Int(v * n) is i: the middle of its step, so that rounding
// never moves it into the next one.
double Step(int i, int n) {
  return (i + 0.5) / n;
}

}  // namespace

bool QueueItemDraw(QtHost& host, ItemKind k, int left, int top) {
  if (k < 0 || k > 5 || left < 75 || left > 399) return false;
  double band = 0;
  double place = 0;
  if (top >= 50 && top <= 124) {
    band = Step(1, 2);  // the upper band
    place = Step(top - 50, 75);
  } else if (top >= 250 && top <= 349) {
    band = Step(0, 2);  // the lower band
    place = Step(top - 250, 100);
  } else {
    return false;
  }
  host.Session().Random().Queue(Step(k, 6));
  host.Session().Random().Queue(band);
  host.Session().Random().Queue(Step(left - 75, 325));
  host.Session().Random().Queue(place);
  return true;
}

}  // namespace pellmora
