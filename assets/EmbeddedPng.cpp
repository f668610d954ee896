#include "assets/EmbeddedPngs.h"

namespace pellmora::pictures {

std::span<const std::uint8_t> EmbeddedPng(std::string_view name) {
  for (const EmbeddedFile& file : EmbeddedPngs()) {
    if (file.name == name) return file.bytes;
  }
  return {};
}

}  // namespace pellmora::pictures
