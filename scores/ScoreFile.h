// The score file's format: eleven CR LF lines, the ten scores on the first,
// one name per line after it, names in code page 932.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/FileOps.h"

namespace pellmora {

// The score file's name, in the working directory.
constexpr const char* kHiScoreFileName = "HiScore.dat";

// A longer file is taken as damaged rather than read.
constexpr std::size_t kMaxScoreFileBytes = 1 << 20;

struct ParsedScoreFile {
  bool ok = false;
  int failedLine = 0;  // 1-based line where reading stopped, when !ok
  int16_t scores[10] = {};
  std::string names[10];
};

// Ten number fields (ended by a comma or a line end, read across line ends,
// spaces around a number skipped), then ten lines of names up to their CR.
// The last line may lack its CR LF; anything after the eleventh line is ignored.
ParsedScoreFile ParseScoreFile(std::string_view bytes);

std::string FormatScoreFile(const int16_t* scores, const std::string* names);

// Writes the new file beside the old one and renames it over, so that an
// interruption at any point leaves either the whole old file or the whole new
// one. Where the folder allows no new file, writes in place instead.
FileResult SaveAtomically(FileOps& files, const std::string& name, std::string_view bytes);

}  // namespace pellmora
