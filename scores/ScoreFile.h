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

// The longest name kept, in characters: what a text box takes. Each is at
// most two bytes in code page 932.
constexpr std::size_t kMaxNameChars = 32767;

// A longer file is taken as damaged rather than read. The largest file the
// writer makes (ten longest names, ten six-character scores) stays below it.
constexpr std::size_t kMaxScoreFileBytes = 1 << 20;
static_assert(10 * 7 + 1 + 10 * (2 * kMaxNameChars + 2) < kMaxScoreFileBytes);

struct ParsedScoreFile {
  bool ok = false;
  int failedLine = 0;  // 1-based line where reading stopped, when !ok
  int16_t scores[10] = {};
  std::string names[10];
};

// Ten number fields (ended by a comma or a line end, read across line ends,
// spaces around a number skipped), then ten lines of names up to their CR.
// The last line may lack its CR LF; anything after the eleventh line is ignored.
// A name longer than kMaxNameChars is no name this game wrote: damaged.
ParsedScoreFile ParseScoreFile(std::string_view bytes);

std::string FormatScoreFile(const int16_t* scores, const std::string* names);

// A typed name as the file will give it back: cleaned, cut to
// kMaxNameChars, and through code page 932 ("?" for what it cannot hold).
std::string NameAsStored(std::string_view typed);

struct SaveResult : FileResult {
  bool folderTakesNoFile = false;  // the folder refused the temporary file
  bool replaced = false;  // the target holds the new bytes (its folder's sync may have failed)
};

// Writes the new file beside the target, in the target's folder, with the
// given permission bits, and renames it over, so that an interruption at any
// point leaves either the whole old file or the whole new one. A folder that
// takes no new file refuses the save: the target is never written in place.
SaveResult SaveAtomically(FileOps& files, const std::string& target, std::string_view bytes,
                          unsigned mode = 0644);

}  // namespace pellmora
