// The file layer on POSIX calls: what every host that has a POSIX file
// system (the desktop, the headless runs, the browser's Emscripten file
// system) hands the game. Names are relative to the working directory.
#pragma once

#include <chrono>
#include <functional>

#include "host/FileOps.h"

namespace pellmora {

class PosixFileOps : public FileOps {
 public:
  // How a save waits while another copy holds the folder. Without one set,
  // the calling thread sleeps between tries; a host with a window waits in
  // its event loop instead, so that the window keeps answering.
  class LockWait {
   public:
    // Calls tryLock again and again until it returns true (then 0), or
    // until patience runs out (ETIMEDOUT) or the player stops waiting
    // (ECANCELED).
    virtual int Until(const std::function<bool()>& tryLock, std::chrono::milliseconds patience) = 0;

   protected:
    ~LockWait() = default;
  };

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
  // renameat2 with RENAME_NOREPLACE, or a hard link where that is missing.
  FileResult MoveToFreeName(const std::string& from, const std::string& to) override;
  // A tag that is the id of no process on this machine is gone.
  std::vector<std::string> Leftovers(const std::string& prefix) override;
  FileResult MakeFolder(const std::string& name) override;
  FileResult SyncFolder(const std::string& folder) override;
  // flock() on the folder itself: nothing is left behind, and the kernel
  // lets go when the process dies.
  FileResult LockFolder(const std::string& folder) override;
  void UnlockFolder() override;
  std::string CopyTag() override;

  void SetLockWait(LockWait* wait) noexcept { lockWait_ = wait; }

 private:
  int lockFd_ = -1;
  LockWait* lockWait_ = nullptr;
};

}  // namespace pellmora
