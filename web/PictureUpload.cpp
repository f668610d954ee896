// The game's pictures, decoded from the PNG files built into the module,
// handed to the page once at start-up.
#include <cstdint>
#include <vector>

#include "assets/Pictures.h"
#include "web/Page.h"
#include "web/PageCanvas.h"

namespace pellmora {

namespace {

// 0xAARRGGBB pixels become the canvas's straight R, G, B, A bytes.
void Upload(PictureId id, const Picture& picture) {
  std::vector<std::uint8_t> rgba(picture.argb.size() * 4);
  for (std::size_t i = 0; i < picture.argb.size(); ++i) {
    const std::uint32_t p = picture.argb[i];
    rgba[i * 4 + 0] = static_cast<std::uint8_t>(p >> 16);
    rgba[i * 4 + 1] = static_cast<std::uint8_t>(p >> 8);
    rgba[i * 4 + 2] = static_cast<std::uint8_t>(p);
    rgba[i * 4 + 3] = static_cast<std::uint8_t>(p >> 24);
  }
  page::UploadPicture(static_cast<int>(id), rgba.data(), picture.width, picture.height);
}

PictureId Offset(PictureId first, int n) {
  return static_cast<PictureId>(static_cast<int>(first) + n);
}

}  // namespace

void UploadPictures() {
  Upload(PictureId::Background, pictures::Background());
  Upload(PictureId::PaddleUpright, pictures::PaddleUpright());
  Upload(PictureId::PaddleFlat, pictures::PaddleFlat());
  Upload(PictureId::Ball, pictures::Ball());
  for (int k = 0; k < 6; ++k) Upload(Offset(PictureId::ItemPanel0, k), pictures::ItemPanel(k));
  for (int n = 0; n < 3; ++n) Upload(Offset(PictureId::Button0, n), pictures::ButtonPicture(n));
  Upload(PictureId::Icon, pictures::Icon());
}

}  // namespace pellmora
