// Reading a PNG file's bytes into a plain picture, without a toolkit.
#pragma once

#include <cstdint>
#include <span>

#include "assets/Picture.h"

namespace pellmora {

// The picture in `png`, every colour type and depth expanded to 8-bit
// 0xAARRGGBB as Picture holds it; alpha 255 where the file has none. A null
// picture when the bytes are not a PNG or are damaged.
Picture DecodePng(std::span<const std::uint8_t> png);

}  // namespace pellmora
