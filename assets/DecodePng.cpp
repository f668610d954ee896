#include "assets/DecodePng.h"

#include <climits>
#include <memory>

// stb_image, PNG only, from memory only: the pictures are in the binary.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#include <stb_image.h>

namespace pellmora {

namespace {

struct StbFree {
  void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

Picture DecodePng(std::span<const std::uint8_t> png) {
  if (png.empty() || png.size() > static_cast<std::size_t>(INT_MAX)) return {};
  int width = 0;
  int height = 0;
  int channelsInFile = 0;
  constexpr int kRgba = 4;
  const std::unique_ptr<stbi_uc, StbFree> rgba(stbi_load_from_memory(
      png.data(), static_cast<int>(png.size()), &width, &height, &channelsInFile, kRgba));
  if (rgba == nullptr || width <= 0 || height <= 0) return {};

  Picture picture;
  picture.width = width;
  picture.height = height;
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  picture.argb.resize(count);
  for (std::size_t i = 0; i < count; ++i) {
    const stbi_uc* p = rgba.get() + kRgba * i;
    picture.argb[i] = std::uint32_t{p[3]} << 24 | std::uint32_t{p[0]} << 16 |
                      std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]};
  }
  return picture;
}

}  // namespace pellmora
