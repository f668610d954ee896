#include "scores/ShiftJis.h"

#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <utility>

#include "scores/Utf8.h"

namespace pellmora {

namespace {

// The Microsoft table, so that "①" and "～" round-trip.
constexpr const char* kCodePage = "WINDOWS-31J";

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of `in`; false on a sequence the table does not hold.
  bool Convert(std::string_view in, std::string& out) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[256];
    while (inLeft > 0) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      const std::size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, sizeof buffer - outLeft);
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return false;
    }
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd_, nullptr, nullptr, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
      return false;
    out.append(buffer, sizeof buffer - outLeft);
    return true;
  }

 private:
  iconv_t cd_;
};

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

char32_t Decode(std::string_view s) {
  const auto b = [&](std::size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(s[i]));
  };
  switch (s.size()) {
    case 2:
      return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
    case 3:
      return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
    case 4:
      return ((b(0) & 0x07) << 18) | ((b(1) & 0x3F) << 12) | ((b(2) & 0x3F) << 6) | (b(3) & 0x3F);
    default:
      return b(0);
  }
}

// Code points Linux input methods produce where code page 932 holds a twin.
constexpr std::pair<char32_t, char32_t> kTwins[] = {
    {0x301C, 0xFF5E},  // wave dash → fullwidth tilde
    {0x2016, 0x2225},  // double vertical line → parallel to
    {0x2212, 0xFF0D},  // minus sign → fullwidth hyphen-minus
    {0x00A2, 0xFFE0},  // cent
    {0x00A3, 0xFFE1},  // pound
    {0x00AC, 0xFFE2},  // not sign
    {0x00A6, 0xFFE4},  // broken bar
    {0x2014, 0x2015},  // em dash → horizontal bar
};

}  // namespace

std::string Utf8ToShiftJis(std::string_view utf8) {
  Converter converter(kCodePage, "UTF-8");
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size();) {
    std::size_t n = SequenceLength(static_cast<unsigned char>(utf8[i]));
    if (i + n > utf8.size()) n = utf8.size() - i;
    if (!converter.Convert(utf8.substr(i, n), out)) out += '?';
    i += n;
  }
  return out;
}

std::optional<std::string> ShiftJisToUtf8(std::string_view shiftJis) {
  Converter converter("UTF-8", kCodePage);
  std::string out;
  if (!converter.Convert(shiftJis, out)) return std::nullopt;
  return out;
}

std::string CleanTypedName(std::string_view typed) {
  std::string out;
  out.reserve(typed.size());
  for (std::size_t i = 0; i < typed.size();) {
    std::size_t n = SequenceLength(static_cast<unsigned char>(typed[i]));
    if (i + n > typed.size()) n = typed.size() - i;
    const char32_t c = Decode(typed.substr(i, n));
    char32_t twin = c;
    for (const auto& [from, to] : kTwins) {
      if (c == from) twin = to;
    }
    if (c < 0x20 || c == 0x7F) {
      out += ' ';  // a name stays one line
    } else if (twin != c) {
      AppendUtf8(out, twin);
    } else {
      out.append(typed.substr(i, n));  // as typed
    }
    i += n;
  }
  return out;
}

}  // namespace pellmora
