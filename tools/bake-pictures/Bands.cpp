#include "tools/bake-pictures/Bands.h"

namespace pellmora::bake {

void DrawBands(QImage& image, std::span<const QRgb> bands) {
  const int right = image.width() - 1;
  const int bottom = image.height() - 1;
  for (int j = 0; j < static_cast<int>(bands.size()); ++j) {
    const QRgb colour = bands[j];
    for (int x = j; x <= right - j; ++x) {
      image.setPixel(x, j, colour);
      image.setPixel(x, bottom - j, colour);
    }
    for (int y = j; y <= bottom - j; ++y) {
      image.setPixel(j, y, colour);
      image.setPixel(right - j, y, colour);
    }
  }
}

}  // namespace pellmora::bake
