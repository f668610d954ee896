// The ball: a yellow disc on a transparent square.
#include "tools/bake-pictures/DrawnPictures.h"

namespace pellmora::bake {

namespace {

constexpr int kBallSize = 16;
constexpr QRgb kBallColour = 0xFFFCFE04;

struct Span {
  int first;
  int last;
};

// Opaque columns of each row, top to bottom. The disc is one pixel taller at
// the top (row 0 holds a single pixel) and widest on row 8.
constexpr Span kRows[kBallSize] = {
    {8, 8},  {5, 11}, {3, 13}, {2, 14}, {2, 14}, {1, 15}, {1, 15}, {1, 15},
    {0, 15}, {1, 15}, {1, 15}, {1, 15}, {2, 14}, {2, 14}, {3, 13}, {5, 11},
};

}  // namespace

QImage Ball() {
  QImage ball(kBallSize, kBallSize, QImage::Format_ARGB32);
  ball.fill(Qt::transparent);
  for (int y = 0; y < kBallSize; ++y) {
    for (int x = kRows[y].first; x <= kRows[y].last; ++x) ball.setPixel(x, y, kBallColour);
  }
  return ball;
}

}  // namespace pellmora::bake
