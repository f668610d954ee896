// The file layer of the score file's folder, in the small steps a save is
// made of, so that a test can fail any one of them, and with the lock that
// keeps several copies of the game from saving at the same time.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pellmora {

struct FileResult {
  int error = 0;       // errno-style code; 0 when the step succeeded
  std::string reason;  // the system's words for it
  bool Ok() const noexcept { return error == 0; }
};

// What a name stands for, a symbolic link followed to its end.
enum class FileKind {
  Absent,
  Regular,
  Directory,
  Fifo,
  Socket,
  Device,
  DanglingLink,  // a link whose end is missing
  LinkLoop,      // links that never reach an end
  Other,
};

struct FileFacts {
  FileKind kind = FileKind::Absent;
  bool link = false;     // the name itself is a symbolic link
  std::string target;    // the regular file to replace: the name, or the link's end
  std::string folder;    // the folder that holds target, as the player would find it
  unsigned mode = 0644;  // the target's permission bits
  bool writable = true;  // the player allows writing the target, and this user may
};

class FileOps {
 public:
  using Handle = int;

  virtual ~FileOps() = default;
  // True when the name is, or links to, a regular file.
  virtual bool Exists(const std::string& name) = 0;
  // Never opens the name: safe on a FIFO or a device.
  virtual FileFacts Inspect(const std::string& name) = 0;
  // Reads at most limit + 1 bytes, so that the caller can tell an oversized
  // file. Anything but a regular file is refused without waiting on it.
  virtual FileResult ReadAll(const std::string& name, std::string& bytes, std::size_t limit) = 0;
  // Creates a file that did not exist (not even as a link), with exactly
  // these permission bits.
  virtual FileResult CreateNew(const std::string& name, unsigned mode, Handle& handle) = 0;
  virtual FileResult Write(Handle handle, std::string_view bytes) = 0;
  virtual FileResult Sync(Handle handle) = 0;
  virtual FileResult Close(Handle handle) = 0;
  virtual FileResult Rename(const std::string& from, const std::string& to) = 0;
  virtual FileResult Remove(const std::string& name) = 0;
  // Moves a file to a free name in its own folder; EEXIST when anything
  // stands there already: nothing is ever replaced.
  virtual FileResult MoveToFreeName(const std::string& from, const std::string& to) = 0;
  // The regular files named prefix + a copy's tag + "." + ..., whose copy is
  // gone: what its killed saves left behind. Empty unless this copy holds the
  // folder's lock, as then no other save can be writing there.
  virtual std::vector<std::string> Leftovers(const std::string& prefix) = 0;
  // Makes a folder where nothing stands; a folder already there is fine.
  // Layers that keep no folders of their own need not.
  virtual FileResult MakeFolder(const std::string& name) {
    return FileResult{95, "no folder can be made here: " + name};
  }
  // Makes the folder's entries (a rename) durable.
  virtual FileResult SyncFolder(const std::string& folder) = 0;
  // Waits until no other copy of the game holds the folder, then holds it
  // until UnlockFolder. A copy that dies lets go at once. One at a time.
  virtual FileResult LockFolder(const std::string& folder) = 0;
  virtual void UnlockFolder() = 0;
  // Sets the name of a save's own temporary file apart from every other
  // copy's: the process, or the browser tab.
  virtual std::string CopyTag() = 0;
};

// Holds a folder's lock for one scope.
class FolderLock {
 public:
  FolderLock(FileOps& files, const std::string& folder)
      : files_(files), result_(files.LockFolder(folder)) {}
  ~FolderLock() {
    if (result_.Ok()) files_.UnlockFolder();
  }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  const FileResult& Result() const noexcept { return result_; }

 private:
  FileOps& files_;
  FileResult result_;
};

}  // namespace pellmora
