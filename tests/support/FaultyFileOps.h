// The real file layer with one step made to fail: the n-th write, sync,
// close, rename, move aside, creation or folder sync, counted from 1 (0: none fails). A
// failing write first writes half of its bytes, as a full disk would.
#pragma once

#include <cerrno>
#include <string>
#include <string_view>

#include "posix/PosixFileOps.h"

namespace pellmora {

class FaultyFileOps : public FileOps {
 public:
  int failAt = 0;
  int steps = 0;
  int failError = ENOSPC;
  bool refuseNewFiles = false;  // the folder takes no new file (EACCES)

  bool Exists(const std::string& name) override { return real_.Exists(name); }
  FileFacts Inspect(const std::string& name) override { return real_.Inspect(name); }
  FileResult ReadAll(const std::string& name, std::string& bytes, std::size_t limit) override {
    return real_.ReadAll(name, bytes, limit);
  }
  FileResult CreateNew(const std::string& name, unsigned mode, Handle& handle) override {
    if (refuseNewFiles) return {EACCES, "Permission denied"};
    if (Fails()) return Injected();
    return real_.CreateNew(name, mode, handle);
  }
  FileResult Write(Handle handle, std::string_view bytes) override {
    if (Fails()) {
      real_.Write(handle, bytes.substr(0, bytes.size() / 2));
      return Injected();
    }
    return real_.Write(handle, bytes);
  }
  FileResult Sync(Handle handle) override { return Fails() ? Injected() : real_.Sync(handle); }
  FileResult Close(Handle handle) override {
    const FileResult closed = real_.Close(handle);  // the handle is gone either way
    return Fails() ? Injected() : closed;
  }
  FileResult Rename(const std::string& from, const std::string& to) override {
    return Fails() ? Injected() : real_.Rename(from, to);
  }
  FileResult Remove(const std::string& name) override { return real_.Remove(name); }
  FileResult MoveToFreeName(const std::string& from, const std::string& to) override {
    return Fails() ? Injected() : real_.MoveToFreeName(from, to);
  }
  std::vector<std::string> Leftovers(const std::string& prefix) override {
    return real_.Leftovers(prefix);
  }
  FileResult SyncFolder(const std::string& folder) override {
    return Fails() ? Injected() : real_.SyncFolder(folder);
  }
  FileResult LockFolder(const std::string& folder) override { return real_.LockFolder(folder); }
  void UnlockFolder() override { real_.UnlockFolder(); }
  std::string CopyTag() override { return real_.CopyTag(); }

 private:
  bool Fails() { return ++steps == failAt; }
  FileResult Injected() const { return {failError, "injected failure"}; }

  PosixFileOps real_;
};

}  // namespace pellmora
