// The real file layer with one step made to fail: the n-th write, sync,
// close, rename, open or directory sync, counted from 1 (0: none fails). A
// failing write first writes half of its bytes, as a full disk would.
#pragma once

#include <cerrno>
#include <string>
#include <string_view>

#include "scores/PosixFileOps.h"

namespace pellmora {

class FaultyFileOps : public FileOps {
 public:
  int failAt = 0;
  int steps = 0;
  int failError = ENOSPC;
  std::string refuseCreating;  // a name whose creation is refused (EACCES)

  bool Exists(const std::string& name) override { return real_.Exists(name); }
  FileResult ReadAll(const std::string& name, std::string& bytes, std::size_t limit) override {
    return real_.ReadAll(name, bytes, limit);
  }
  FileResult Open(const std::string& name, bool createNew, Handle& handle) override {
    if (createNew && name == refuseCreating) return {EACCES, "Permission denied"};
    if (Fails()) return Injected();
    return real_.Open(name, createNew, handle);
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
  FileResult SyncDirectory() override { return Fails() ? Injected() : real_.SyncDirectory(); }

 private:
  bool Fails() { return ++steps == failAt; }
  FileResult Injected() const { return {failError, "injected failure"}; }

  PosixFileOps real_;
};

}  // namespace pellmora
