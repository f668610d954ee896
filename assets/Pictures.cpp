#include "assets/Pictures.h"

#include <cstddef>
#include <string_view>

#include "assets/DecodePng.h"
#include "assets/EmbeddedPngs.h"
#include "assets/PictureFiles.h"

namespace pellmora::pictures {

namespace {

constexpr int kBackgroundWidth = 640;   // 80 tiles across
constexpr int kBackgroundHeight = 480;  // 60 tiles down

Picture FromFile(std::string_view name) {
  return DecodePng(EmbeddedPng(name));
}

}  // namespace

Picture BackgroundTile() {
  return FromFile(kBackgroundTileFile);
}

Picture Background() {
  const Picture tile = BackgroundTile();
  if (tile.IsNull()) return {};
  Picture background;
  background.width = kBackgroundWidth;
  background.height = kBackgroundHeight;
  background.argb.reserve(static_cast<std::size_t>(kBackgroundWidth) * kBackgroundHeight);
  for (int y = 0; y < kBackgroundHeight; ++y) {
    for (int x = 0; x < kBackgroundWidth; ++x) {
      background.argb.push_back(tile.At(x % tile.width, y % tile.height));
    }
  }
  return background;
}

Picture Icon() {
  return FromFile(kIconFile);
}

Picture PaddleUpright() {
  return FromFile(kPaddleUprightFile);
}

Picture PaddleFlat() {
  return FromFile(kPaddleFlatFile);
}

Picture Ball() {
  return FromFile(kBallFile);
}

Picture ItemPanel(int k) {
  if (k < 0 || k > 5) return {};
  return FromFile(kItemPanelFiles[k]);
}

Picture ButtonPicture(int n) {
  if (n < 0 || n > 2) return {};
  return FromFile(kButtonFiles[n]);
}

}  // namespace pellmora::pictures
