// Feeds arbitrary bytes to the score-file reader. Besides what the sanitizers
// catch, a file the reader accepts must give the same table back once written
// and read again (its bytes may change where the code page has two codes for
// one character; after that first write they stay the same), and a file it
// rejects must name a line the file actually has, or the one just past its end.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "scores/ScoreFile.h"

using namespace pellmora;

namespace {

[[noreturn]] void Fail(const char* what, int index, const std::string& detail) {
  std::fprintf(stderr, "score file fuzzer: %s (entry %d): %s\n", what, index, detail.c_str());
  std::abort();
}

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (unsigned char c : bytes) {
    out += kDigits[c >> 4];
    out += kDigits[c & 15];
    out += ' ';
  }
  return out;
}

// A line ends at a CR (an LF after it belongs to that end); an LF alone does
// not end a line.
int LineEnds(std::string_view bytes) {
  int count = 0;
  for (char c : bytes) count += c == '\r' ? 1 : 0;
  return count;
}

void CheckSame(const ParsedScoreFile& a, const ParsedScoreFile& b, const char* what) {
  for (int i = 0; i < 10; ++i) {
    if (a.scores[i] != b.scores[i]) {
      Fail(what, i, std::to_string(a.scores[i]) + " became " + std::to_string(b.scores[i]));
    }
    if (a.names[i] != b.names[i]) Fail(what, i, Hex(a.names[i]) + "became " + Hex(b.names[i]));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const ParsedScoreFile parsed = ParseScoreFile(bytes);
  if (!parsed.ok) {
    const int lastLine = LineEnds(bytes) + 1;
    if (parsed.failedLine < 1 || parsed.failedLine > lastLine) {
      Fail("rejected at a line the file does not have", parsed.failedLine,
           "the file has " + std::to_string(lastLine) + " lines");
    }
    return 0;
  }

  // Every character the reader decodes has a code the writer uses, so the
  // table comes back whole, names included.
  const std::string written = FormatScoreFile(parsed.scores, parsed.names);
  const ParsedScoreFile reread = ParseScoreFile(written);
  if (!reread.ok) Fail("the written file is rejected", reread.failedLine, Hex(written));
  CheckSame(parsed, reread, "table changed by a write");

  // From then on the bytes stay the same.
  const std::string rewritten = FormatScoreFile(reread.scores, reread.names);
  if (rewritten != written) Fail("a second write differs", 0, Hex(written) + "| " + Hex(rewritten));
  return 0;
}
