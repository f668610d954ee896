// The PNG files of assets/, built into the binary: the build turns each into
// a byte array (assets/EmbedPngs.cmake), so that no host reads a file for its
// pictures.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace pellmora::pictures {

struct EmbeddedFile {
  std::string_view name;  // the file's name in assets/, e.g. "ball.png"
  std::span<const std::uint8_t> bytes;
};

// Every embedded file, sorted by name.
std::span<const EmbeddedFile> EmbeddedPngs();

// The bytes of the embedded file called `name`; empty when there is none.
std::span<const std::uint8_t> EmbeddedPng(std::string_view name);

}  // namespace pellmora::pictures
