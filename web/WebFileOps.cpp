#include "web/WebFileOps.h"

#include <cstdio>
#include <random>

#include "web/Page.h"

namespace pellmora {

WebFileOps::WebFileOps() {
  // Every tab has the same process id, so the tag is drawn instead.
  std::random_device device;
  char tag[24];
  std::snprintf(tag, sizeof tag, "tab%08x%08x", device(), device());
  tag_ = tag;
}

void WebFileOps::FetchUnlessLocked() {
  // Under the lock the folder was fetched when the lock was taken, and only
  // this tab writes it.
  if (locked_ || fetched_) return;
  page::FetchScores();
  fetched_ = true;
}

bool WebFileOps::Exists(const std::string& name) {
  FetchUnlessLocked();
  return PosixFileOps::Exists(name);
}

FileFacts WebFileOps::Inspect(const std::string& name) {
  FetchUnlessLocked();
  return PosixFileOps::Inspect(name);
}

FileResult WebFileOps::ReadAll(const std::string& name, std::string& bytes, std::size_t limit) {
  FetchUnlessLocked();
  return PosixFileOps::ReadAll(name, bytes, limit);
}

FileResult WebFileOps::LockFolder(const std::string& folder) {
  // First the file system's own lock (it lets go of any earlier one), then
  // the tabs' lock.
  FileResult result = PosixFileOps::LockFolder(folder);
  if (!result.Ok()) return result;
  page::LockScores();
  locked_ = true;
  fetched_ = true;
  return result;
}

void WebFileOps::UnlockFolder() {
  PosixFileOps::UnlockFolder();
  if (!locked_) return;
  locked_ = false;
  page::UnlockScores();
}

}  // namespace pellmora
