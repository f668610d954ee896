// pellmora-make-cp932-table [OUTPUT]
// Writes the code page 932 tables the game converts names with, as glibc's
// "WINDOWS-31J" converter has them, to OUTPUT (scores/Cp932Table.inc) or to
// standard output. Builds without glibc compile the committed file, so every
// build reads and writes score files alike.
#include <cstdio>
#include <exception>
#include <string>

#include "tools/make-cp932-table/Cp932Tables.h"
#include "tools/make-cp932-table/GlibcCp932.h"
#include "tools/make-cp932-table/TableSource.h"

namespace pellmora {
namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "pellmora-make-cp932-table: %s\n", message.c_str());
  return 1;
}

int Run(int argc, char* argv[]) {
  if (argc > 2) return Fail("usage: pellmora-make-cp932-table [OUTPUT]");
  GlibcCp932 glibc;
  if (!glibc.Ready()) return Fail("this C library has no WINDOWS-31J converter");
  const Cp932Tables tables = AskGlibc(glibc);
  const std::string source = TableSource(tables);

  std::FILE* out = argc == 2 ? std::fopen(argv[1], "wb") : stdout;
  if (out == nullptr) return Fail(std::string("cannot write ") + argv[1]);
  const bool written = std::fwrite(source.data(), 1, source.size(), out) == source.size();
  if ((argc == 2 ? std::fclose(out) : std::fflush(out)) != 0 || !written) {
    return Fail("writing the table failed");
  }
  std::size_t singles = 0;
  for (const auto codePoint : tables.single) singles += codePoint != kNoChar ? 1 : 0;
  std::size_t pairs = 0;
  for (const auto& row : tables.pairs) {
    for (const auto codePoint : row) pairs += codePoint != kNoChar ? 1 : 0;
  }
  std::fprintf(stderr,
               "pellmora-make-cp932-table: %zu single bytes, %zu lead bytes, %zu pairs, "
               "%zu code points\n",
               singles, tables.leads.size(), pairs, tables.codes.size());
  return 0;
}

}  // namespace
}  // namespace pellmora

int main(int argc, char* argv[]) {
  try {
    return pellmora::Run(argc, argv);
  } catch (const std::exception& e) {
    return pellmora::Fail(e.what());
  }
}
