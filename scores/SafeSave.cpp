#include <cerrno>

#include "scores/ScoreFile.h"

namespace pellmora {

namespace {

FileResult WriteAndClose(FileOps& files, FileOps::Handle handle, std::string_view bytes) {
  FileResult result = files.Write(handle, bytes);
  if (result.Ok()) result = files.Sync(handle);
  const FileResult closed = files.Close(handle);
  return result.Ok() ? closed : result;
}

}  // namespace

FileResult SaveAtomically(FileOps& files, const std::string& name, std::string_view bytes) {
  const std::string temp = name + ".tmp";
  files.Remove(temp);  // a leftover of an interrupted save; usually absent
  FileOps::Handle handle = -1;
  FileResult result = files.Open(temp, true, handle);
  if (result.error == EACCES || result.error == EPERM) {
    // The folder takes no new file; the file itself may still be writable.
    result = files.Open(name, false, handle);
    if (!result.Ok()) return result;
    return WriteAndClose(files, handle, bytes);
  }
  if (!result.Ok()) return result;
  result = WriteAndClose(files, handle, bytes);
  if (result.Ok()) result = files.Rename(temp, name);
  if (!result.Ok()) {
    files.Remove(temp);
    return result;
  }
  return files.SyncDirectory();
}

}  // namespace pellmora
