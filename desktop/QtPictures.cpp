#include "desktop/QtPictures.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace pellmora {

QImage QtImage(const Picture& picture) {
  if (picture.IsNull()) return {};
  // Both formats hold a pixel as the 32-bit value 0xAARRGGBB that Picture
  // holds, so each row is copied as it is.
  QImage image(picture.width, picture.height,
               picture.IsOpaque() ? QImage::Format_RGB32 : QImage::Format_ARGB32);
  const std::size_t rowBytes = static_cast<std::size_t>(picture.width) * sizeof(std::uint32_t);
  for (int y = 0; y < picture.height; ++y) {
    std::memcpy(image.scanLine(y), &picture.argb[static_cast<std::size_t>(y) * picture.width],
                rowBytes);
  }
  return image;
}

QPixmap QtPixmap(const Picture& picture) {
  return QPixmap::fromImage(QtImage(picture));
}

}  // namespace pellmora
