// The paddles' ramps: navy at the outer edge of the thickness, pale towards
// the field. Stretched over a paddle, they run across its thickness.
#include "tools/bake-pictures/DrawnPictures.h"

namespace pellmora::bake {

namespace {

constexpr int kRampLength = 24;

// Pixel i of a ramp whose full range would span `steps` pixels; the ramp
// stops short of white because it has only 24 of them.
QRgb RampColour(int i, int steps) {
  const int grey = 255 * i / steps;
  const int blue = 128 + 127 * i / steps;
  return qRgb(grey, grey, blue);
}

}  // namespace

QImage PaddleUpright() {
  QImage strip(kRampLength, 1, QImage::Format_RGB32);
  for (int i = 0; i < kRampLength; ++i) strip.setPixel(i, 0, RampColour(i, 25));
  return strip;
}

QImage PaddleFlat() {
  QImage strip(1, kRampLength, QImage::Format_RGB32);
  for (int i = 0; i < kRampLength; ++i) strip.setPixel(0, i, RampColour(i, 27));
  return strip;
}

}  // namespace pellmora::bake
