// The file layer of the working directory, in the small steps a save is made
// of, so that a test can fail any one of them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pellmora {

struct FileResult {
  int error = 0;       // errno-style code; 0 when the step succeeded
  std::string reason;  // the system's words for it
  bool Ok() const noexcept { return error == 0; }
};

class FileOps {
 public:
  using Handle = int;

  virtual ~FileOps() = default;
  // True when a regular file of that name is in the working directory.
  virtual bool Exists(const std::string& name) = 0;
  // Reads at most limit + 1 bytes, so that the caller can tell an oversized file.
  virtual FileResult ReadAll(const std::string& name, std::string& bytes, std::size_t limit) = 0;
  // createNew: fail if it exists; otherwise create or truncate.
  virtual FileResult Open(const std::string& name, bool createNew, Handle& handle) = 0;
  virtual FileResult Write(Handle handle, std::string_view bytes) = 0;
  virtual FileResult Sync(Handle handle) = 0;
  virtual FileResult Close(Handle handle) = 0;
  virtual FileResult Rename(const std::string& from, const std::string& to) = 0;
  virtual FileResult Remove(const std::string& name) = 0;
  // Makes the working directory's entries (a rename) durable.
  virtual FileResult SyncDirectory() = 0;
};

}  // namespace pellmora
