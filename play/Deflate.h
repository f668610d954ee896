// The deflate streams a replay's events are stored in since format 2: ten
// minutes of key reads pack five times smaller, so that a game fits a file
// and a link.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pellmora {

std::string Deflate(const std::vector<std::uint8_t>& raw);
// False unless `packed` unpacks to exactly `rawSize` bytes.
bool Inflate(std::string_view packed, std::size_t rawSize, std::vector<std::uint8_t>& raw);

}  // namespace pellmora
