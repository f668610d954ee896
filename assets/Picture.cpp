#include "assets/Picture.h"

#include <algorithm>

namespace pellmora {

bool Picture::IsOpaque() const {
  return std::all_of(argb.begin(), argb.end(), [](std::uint32_t p) { return (p >> 24) == 0xFF; });
}

}  // namespace pellmora
