// The file layer on POSIX calls: what every host that has a POSIX file
// system (the desktop, the headless runs, the browser's Emscripten file
// system) hands the game. Names are relative to the working directory.
#pragma once

#include "host/FileOps.h"

namespace pellmora {

class PosixFileOps : public FileOps {
 public:
  PosixFileOps() = default;
  PosixFileOps(const PosixFileOps&) = delete;
  PosixFileOps& operator=(const PosixFileOps&) = delete;
  ~PosixFileOps() override;

  bool Exists(const std::string& name) override;
  FileFacts Inspect(const std::string& name) override;
  FileResult ReadAll(const std::string& name, std::string& bytes, std::size_t limit) override;
  FileResult CreateNew(const std::string& name, unsigned mode, Handle& handle) override;
  FileResult Write(Handle handle, std::string_view bytes) override;
  FileResult Sync(Handle handle) override;
  FileResult Close(Handle handle) override;
  FileResult Rename(const std::string& from, const std::string& to) override;
  FileResult Remove(const std::string& name) override;
  FileResult SyncFolder(const std::string& folder) override;
  // flock() on the folder itself: nothing is left behind, and the kernel
  // lets go when the process dies.
  FileResult LockFolder(const std::string& folder) override;
  void UnlockFolder() override;
  std::string CopyTag() override;

 private:
  int lockFd_ = -1;
};

}  // namespace pellmora
