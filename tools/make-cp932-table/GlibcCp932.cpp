#include "tools/make-cp932-table/GlibcCp932.h"

#include <cerrno>

namespace pellmora {

namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Converts all of `in` with `cd` into `out`; the strings here are a few bytes.
Outcome Convert(iconv_t cd, std::string_view in, std::string& out) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  char* inPtr = const_cast<char*>(in.data());
  std::size_t inLeft = in.size();
  char buffer[64];
  char* outPtr = buffer;
  std::size_t outLeft = sizeof buffer;
  std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  if (rc != static_cast<std::size_t>(-1)) rc = iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.assign(buffer, sizeof buffer - outLeft);
  if (rc != static_cast<std::size_t>(-1)) return Outcome::kConverted;
  return errno == EINVAL ? Outcome::kCutShort : Outcome::kRefused;
}

}  // namespace

GlibcCp932::GlibcCp932()
    : toCodePoints_(iconv_open("UTF-32LE", "WINDOWS-31J")),
      toBytes_(iconv_open("WINDOWS-31J", "UTF-32LE")),
      ready_(toCodePoints_ != kNoConverter && toBytes_ != kNoConverter) {}

GlibcCp932::~GlibcCp932() {
  if (toCodePoints_ != kNoConverter) iconv_close(toCodePoints_);
  if (toBytes_ != kNoConverter) iconv_close(toBytes_);
}

Outcome GlibcCp932::Decode(std::string_view bytes, std::u32string& out) {
  std::string raw;
  const Outcome outcome = Convert(toCodePoints_, bytes, raw);
  out.clear();
  for (std::size_t i = 0; i + 4 <= raw.size(); i += 4) {
    char32_t c = 0;
    for (int k = 3; k >= 0; --k) c = (c << 8) | static_cast<unsigned char>(raw[i + k]);
    out += c;
  }
  return outcome;
}

Outcome GlibcCp932::Encode(char32_t codePoint, std::string& out) {
  char in[4];
  for (int k = 0; k < 4; ++k) in[k] = static_cast<char>((codePoint >> (8 * k)) & 0xFF);
  return Convert(toBytes_, std::string_view(in, 4), out);
}

}  // namespace pellmora
