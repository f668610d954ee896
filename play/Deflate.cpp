#include "play/Deflate.h"

#include <climits>
#include <cstdlib>

// stb's zlib coder, kept to this file: the picture decoder has a copy of
// its own, so neither is exported.
#define STB_IMAGE_STATIC
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_NO_FAILURE_STRINGS
#define STB_IMAGE_WRITE_STATIC
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
#pragma GCC diagnostic ignored "-Wsign-compare"
#pragma GCC diagnostic ignored "-Wshadow"
#include <stb_image.h>
#include <stb_image_write.h>
#pragma GCC diagnostic pop

namespace pellmora {

namespace {
constexpr int kQuality = 8;  // stb's window search depth: small files, still fast
}

std::string Deflate(const std::vector<std::uint8_t>& raw) {
  if (raw.size() > INT_MAX) return {};
  int packedSize = 0;
  unsigned char* packed = stbi_zlib_compress(const_cast<unsigned char*>(raw.data()),
                                             static_cast<int>(raw.size()), &packedSize, kQuality);
  if (packed == nullptr) return {};
  std::string out(reinterpret_cast<const char*>(packed), static_cast<std::size_t>(packedSize));
  STBIW_FREE(packed);
  return out;
}

bool Inflate(std::string_view packed, std::size_t rawSize, std::vector<std::uint8_t>& raw) {
  if (packed.size() > INT_MAX || rawSize > INT_MAX - 1) return false;
  // One byte of room past the size the header gives tells a stream that
  // unpacks longer.
  raw.assign(rawSize + 1, 0);
  const int got =
      stbi_zlib_decode_buffer(reinterpret_cast<char*>(raw.data()), static_cast<int>(raw.size()),
                              packed.data(), static_cast<int>(packed.size()));
  if (got < 0 || static_cast<std::size_t>(got) != rawSize || packed.size() < 4) return false;
  raw.resize(rawSize);
  // The decoder skips the stream's own check: a changed byte must not
  // unpack to a replay that still plays.
  std::uint32_t a = 1;
  std::uint32_t b = 0;
  for (const std::uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  const auto* tail = reinterpret_cast<const std::uint8_t*>(packed.data() + packed.size() - 4);
  const std::uint32_t stored = std::uint32_t{tail[0]} << 24 | std::uint32_t{tail[1]} << 16 |
                               std::uint32_t{tail[2]} << 8 | std::uint32_t{tail[3]};
  return stored == (b << 16 | a);
}

}  // namespace pellmora
