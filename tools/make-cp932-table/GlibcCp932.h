// Asks glibc's "WINDOWS-31J" converter, one character at a time, what code
// page 932 holds: the converter the score names went through on Linux.
#pragma once

#include <iconv.h>

#include <string>
#include <string_view>

namespace pellmora {

// How glibc took a byte string: all of it, a sequence it refuses, or a
// sequence cut short at the end.
enum class Outcome { kConverted, kRefused, kCutShort };

class GlibcCp932 {
 public:
  GlibcCp932();
  ~GlibcCp932();
  GlibcCp932(const GlibcCp932&) = delete;
  GlibcCp932& operator=(const GlibcCp932&) = delete;

  // False when this C library has no such converter.
  bool Ready() const { return ready_; }
  // `bytes` in code page 932 to code points (UTF-32, little-endian) in `out`.
  Outcome Decode(std::string_view bytes, std::u32string& out);
  // One code point to code page 932's bytes; kRefused when it has none.
  Outcome Encode(char32_t codePoint, std::string& out);

 private:
  iconv_t toCodePoints_;
  iconv_t toBytes_;
  bool ready_;
};

}  // namespace pellmora
