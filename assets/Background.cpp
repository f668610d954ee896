// The window background: a small green ramp tile, repeated.
#include "assets/Pictures.h"

namespace pictures {

namespace {

constexpr int kTileSize = 8;
constexpr int kBackgroundWidth = 640;   // 80 tiles across
constexpr int kBackgroundHeight = 480;  // 60 tiles down

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

QImage Background() {
  const QImage tile = BackgroundTile();
  QImage background(kBackgroundWidth, kBackgroundHeight, QImage::Format_RGB32);
  for (int y = 0; y < kBackgroundHeight; ++y) {
    for (int x = 0; x < kBackgroundWidth; ++x) {
      background.setPixel(x, y, tile.pixel(x % kTileSize, y % kTileSize));
    }
  }
  return background;
}

}  // namespace pictures
