// The window background's tile: a small green ramp, repeated over both
// windows by the hosts.
#include "tools/bake-pictures/DrawnPictures.h"

namespace pellmora::bake {

namespace {

constexpr int kTileSize = 8;

// Colour of a tile pixel by s = x + y, 0..14.
constexpr QRgb kRampBySum[2 * kTileSize - 1] = {
    0x00EB00, 0x00EB00, 0x08EB08, 0x18EB18, 0x18EB18, 0x29EF29, 0x39EF39, 0x39EF39,
    0x4AEE4A, 0x5AF35A, 0x6BF36B, 0x6BF36B, 0x7BF77B, 0x8CF78C, 0x8CF78C,
};

}  // namespace

QImage BackgroundTile() {
  QImage tile(kTileSize, kTileSize, QImage::Format_RGB32);
  for (int y = 0; y < kTileSize; ++y) {
    for (int x = 0; x < kTileSize; ++x) tile.setPixel(x, y, 0xFF000000u | kRampBySum[x + y]);
  }
  return tile;
}

}  // namespace pellmora::bake
