// The score file's folder in the browser: the POSIX calls land in Emscripten's
// file system, whose folder the page keeps in IndexedDB. Remembers that
// something was written, so that the host stores it before the next event.
#pragma once

#include "scores/PosixFileOps.h"

namespace pellmora {

class WebFileOps final : public PosixFileOps {
 public:
  FileResult Open(const std::string& name, bool createNew, Handle& handle) override {
    written_ = true;
    return PosixFileOps::Open(name, createNew, handle);
  }
  FileResult Rename(const std::string& from, const std::string& to) override {
    written_ = true;
    return PosixFileOps::Rename(from, to);
  }
  FileResult Remove(const std::string& name) override {
    written_ = true;
    return PosixFileOps::Remove(name);
  }

  // True once after anything was written since the last call.
  bool TakeWritten() noexcept {
    const bool was = written_;
    written_ = false;
    return was;
  }

 private:
  bool written_ = false;
};

}  // namespace pellmora
