#include "tools/pellmora-sim/ScriptFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

namespace pellmora {

bool ReadScript(const std::string& path, std::string& text, std::string& why) {
  const bool fromStdin = path == "-";
  std::FILE* file = fromStdin ? stdin : std::fopen(path.c_str(), "rb");
  if (file == nullptr) {
    why = std::strerror(errno);
    return false;
  }
  text.clear();
  char buffer[65536];
  std::size_t n = 0;
  // /dev/zero or an endless pipe stops here, not at the end of memory.
  while (text.size() <= kMaxScriptBytes && (n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
    text.append(buffer, n);
  }
  const bool failed = std::ferror(file) != 0;
  const int error = errno;
  if (!fromStdin) std::fclose(file);
  if (failed) {
    why = std::strerror(error);
    return false;
  }
  if (text.size() > kMaxScriptBytes) {
    text.clear();
    why = "larger than " + std::to_string(kMaxScriptBytes >> 20) + " MiB";
    return false;
  }
  return true;
}

std::vector<std::string_view> ScriptLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

}  // namespace pellmora
