#include <atomic>
#include <cerrno>

#include "scores/ScoreFile.h"

namespace pellmora {

namespace {

// Tried one after another when a name is taken by a leftover of any kind.
constexpr int kTempNameTries = 64;

std::atomic<unsigned> tempCounter{0};

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

FileResult WriteAndClose(FileOps& files, FileOps::Handle handle, std::string_view bytes) {
  FileResult result = files.Write(handle, bytes);
  if (result.Ok()) result = files.Sync(handle);
  const FileResult closed = files.Close(handle);
  return result.Ok() ? closed : result;
}

}  // namespace

SaveResult SaveAtomically(FileOps& files, const std::string& target, std::string_view bytes,
                          unsigned mode) {
  SaveResult saved;
  // The temporary file is this save's own: a name no other save uses,
  // created only where nothing stands, so that nothing of another copy's
  // save is ever removed or renamed.
  const std::string prefix = target + ".tmp." + files.CopyTag() + ".";
  std::string temp;
  FileOps::Handle handle = -1;
  for (int i = 0; i < kTempNameTries; ++i) {
    temp = prefix + std::to_string(tempCounter++);
    static_cast<FileResult&>(saved) = files.CreateNew(temp, mode, handle);
    if (saved.error != EEXIST) break;
  }
  if (!saved.Ok()) {
    // Never written over in place: a cut write would lose the table.
    saved.folderTakesNoFile = saved.error == EACCES || saved.error == EPERM || saved.error == EROFS;
    return saved;
  }
  static_cast<FileResult&>(saved) = WriteAndClose(files, handle, bytes);
  if (saved.Ok()) static_cast<FileResult&>(saved) = files.Rename(temp, target);
  if (!saved.Ok()) {
    files.Remove(temp);
    return saved;
  }
  saved.replaced = true;
  static_cast<FileResult&>(saved) = files.SyncFolder(FolderOf(target));
  return saved;
}

}  // namespace pellmora
