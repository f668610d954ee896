#include "server/SiteFiles.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <optional>

namespace pellmora::ranking {

namespace {

namespace fs = std::filesystem;

const std::map<std::string, std::string> kTypes = {
    {".html", "text/html; charset=utf-8"},
    {".js", "text/javascript; charset=utf-8"},
    {".mjs", "text/javascript; charset=utf-8"},
    {".css", "text/css; charset=utf-8"},
    {".wasm", "application/wasm"},
    {".woff2", "font/woff2"},
    {".ttf", "font/ttf"},
    {".txt", "text/plain; charset=utf-8"},
    {".png", "image/png"},
    {".ico", "image/x-icon"},
    {".dat", "application/octet-stream"},
    {".webmanifest", "application/manifest+json"},
};

std::optional<std::string> ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool Accepts(const httplib::Request& request, const std::string& encoding) {
  const std::string accepted = request.get_header_value("Accept-Encoding");
  std::size_t at = 0;
  while (at <= accepted.size()) {
    std::size_t end = accepted.find(',', at);
    if (end == std::string::npos) end = accepted.size();
    std::string item = accepted.substr(at, end - at);
    item.erase(0, item.find_first_not_of(' '));
    item = item.substr(0, item.find(';'));
    while (!item.empty() && item.back() == ' ') item.pop_back();
    if (item == encoding) return true;
    at = end + 1;
  }
  return false;
}

}  // namespace

void ServeSite(httplib::Server& server, const std::string& folder) {
  const fs::path root = fs::weakly_canonical(folder);
  server.Get(
      R"(/(?!api/).*)", [root](const httplib::Request& request, httplib::Response& response) {
        // Only paths inside the site: no "..", no absolute tricks.
        fs::path file = (root / fs::path(request.path).relative_path()).lexically_normal();
        const auto [rootEnd, fileAt] =
            std::mismatch(root.begin(), root.end(), file.begin(), file.end());
        std::error_code error;
        if (rootEnd != root.end() || request.path.find("..") != std::string::npos) {
          response.status = 404;
          return;
        }
        if (fs::is_directory(file, error)) file /= "index.html";
        std::optional<std::string> body;
        for (const auto& [encoding, suffix] : {std::pair{"br", ".br"}, std::pair{"gzip", ".gz"}}) {
          if (!Accepts(request, encoding)) continue;
          if ((body = ReadWhole(fs::path(file.string() + suffix)))) {
            response.set_header("Content-Encoding", encoding);
            break;
          }
        }
        if (!body) {
          if (fs::is_regular_file(file, error)) body = ReadWhole(file);
          if (!body) {
            response.status = 404;
            response.set_content("not found\n", "text/plain");
            return;
          }
        }
        const auto type = kTypes.find(file.extension().string());
        response.set_header("Cache-Control", "no-cache");
        response.set_header("Vary", "Accept-Encoding");
        // Handed over as content of a known length, which the library sends as
        // it is: a body it would compress again on its own.
        auto bytes = std::make_shared<std::string>(std::move(*body));
        response.set_content_provider(
            bytes->size(), type == kTypes.end() ? "application/octet-stream" : type->second,
            [bytes](std::size_t offset, std::size_t length, httplib::DataSink& sink) {
              return sink.write(bytes->data() + offset, length);
            });
        response.status = 200;
      });
}

}  // namespace pellmora::ranking
