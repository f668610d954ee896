// The file layer on POSIX calls in the working directory: what every host
// that has a POSIX file system (the desktop, the headless runs, the browser's
// Emscripten file system) hands the game.
#pragma once

#include "host/FileOps.h"

namespace pellmora {

class PosixFileOps : public FileOps {
 public:
  bool Exists(const std::string& name) override;
  FileResult ReadAll(const std::string& name, std::string& bytes, std::size_t limit) override;
  FileResult Open(const std::string& name, bool createNew, Handle& handle) override;
  FileResult Write(Handle handle, std::string_view bytes) override;
  FileResult Sync(Handle handle) override;
  FileResult Close(Handle handle) override;
  FileResult Rename(const std::string& from, const std::string& to) override;
  FileResult Remove(const std::string& name) override;
  FileResult SyncDirectory() override;
};

}  // namespace pellmora
