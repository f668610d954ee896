// The game icon: the field seen from above, with its four paddles, the ball
// and a cross through the middle, in a handful of flat colours.
#include <cstdlib>

#include "tools/bake-pictures/DrawnPictures.h"

namespace pellmora::bake {

namespace {

constexpr int kIconSize = 32;
constexpr int kLast = kIconSize - 1;
constexpr int kBevel = 4;  // corner pixels with x + y < kBevel are cut off
constexpr int kCentre = 15;
constexpr int kDiamondRadius = 4;

constexpr QRgb kField = 0xFFA6CAF0;
constexpr QRgb kPaddle = 0xFF3FBF3F;
constexpr QRgb kPaddleOutline = 0xFF008000;
constexpr QRgb kBall = 0xFFFFFF3F;
constexpr QRgb kCross = 0xFF000000;

bool InField(int x, int y) {
  return x + y >= kBevel && (kLast - x) + y >= kBevel && x + (kLast - y) >= kBevel &&
         (kLast - x) + (kLast - y) >= kBevel;
}

// A filled bar with a one-pixel outline, corners inclusive.
void DrawBar(QImage& icon, int left, int top, int right, int bottom) {
  for (int y = top; y <= bottom; ++y) {
    for (int x = left; x <= right; ++x) {
      const bool edge = x == left || x == right || y == top || y == bottom;
      icon.setPixel(x, y, edge ? kPaddleOutline : kPaddle);
    }
  }
}

}  // namespace

QImage Icon() {
  QImage icon(kIconSize, kIconSize, QImage::Format_ARGB32);
  icon.fill(Qt::transparent);
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) {
      if (!InField(x, y)) continue;
      const int fromCentre = std::abs(x - kCentre) + std::abs(y - kCentre);
      const bool cross = x == kCentre || y == kCentre || fromCentre == kDiamondRadius;
      icon.setPixel(x, y, cross ? kCross : kField);
    }
  }

  // The paddles, 12 pixels long and 4 thick, one pixel in from each edge.
  DrawBar(icon, 1, 10, 4, 21);
  DrawBar(icon, 27, 10, 30, 21);
  DrawBar(icon, 10, 1, 21, 4);
  DrawBar(icon, 10, 27, 21, 30);

  // The ball, a 5 x 5 disc up and to the left of the centre.
  for (int y = 7; y <= 11; ++y) {
    const int inset = (y == 7 || y == 11) ? 1 : 0;
    for (int x = 7 + inset; x <= 11 - inset; ++x) icon.setPixel(x, y, kBall);
  }
  return icon;
}

}  // namespace pellmora::bake
