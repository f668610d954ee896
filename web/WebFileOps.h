// The score file's folder in the browser: the POSIX calls land in Emscripten's
// file system, whose folder the page keeps in IndexedDB. Other tabs of the
// game store into the same IndexedDB: a look at the folder fetches it afresh
// from there first, and the folder's lock is a Web Lock that one tab holds
// at a time, taken with a fresh fetch and given back once what was written
// is stored.
#pragma once

#include <string>

#include "posix/PosixFileOps.h"

namespace pellmora {

class WebFileOps final : public PosixFileOps {
 public:
  WebFileOps();

  bool Exists(const std::string& name) override;
  FileFacts Inspect(const std::string& name) override;
  FileResult ReadAll(const std::string& name, std::string& bytes, std::size_t limit) override;
  FileResult LockFolder(const std::string& folder) override;
  void UnlockFolder() override;
  // This tab's own mark for a save's temporary file.
  std::string CopyTag() override { return tag_; }

  // An event is over: the next one's first look at the folder fetches it
  // afresh; the looks of one handler share that fetch.
  void EventDone() noexcept { fetched_ = false; }

 private:
  void FetchUnlessLocked();

  std::string tag_;
  bool locked_ = false;
  bool fetched_ = true;  // the page fetched the folder when it mounted it
};

}  // namespace pellmora
