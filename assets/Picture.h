// A picture as plain pixels, the same for every host: the desktop wraps it in
// a QImage, the browser hands it to a canvas.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pellmora {

// Row by row from the top-left corner, each pixel one 32-bit value
// 0xAARRGGBB: alpha in the top byte, then red, green and blue, alpha not
// premultiplied (QImage::Format_ARGB32's layout). A transparent pixel keeps
// the colour it was stored with. A null picture has no pixels.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> argb;

  bool IsNull() const { return argb.empty(); }
  std::uint32_t At(int x, int y) const {
    return argb[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                static_cast<std::size_t>(x)];
  }
  // True when every pixel's alpha is 255.
  bool IsOpaque() const;

  bool operator==(const Picture&) const = default;
};

}  // namespace pellmora
