#include "posix/PosixFileOps.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>
#include <thread>

namespace pellmora {

namespace {

// Another copy's save takes milliseconds; one that holds the folder for this
// long is stopped, not saving, and the player is told instead of waiting.
constexpr std::chrono::milliseconds kLockPatience = std::chrono::seconds(20);

FileResult Failure(int error) {
  return FileResult{error, std::strerror(error)};
}

FileKind KindOf(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::Regular;
  if (S_ISDIR(mode)) return FileKind::Directory;
  if (S_ISFIFO(mode)) return FileKind::Fifo;
  if (S_ISSOCK(mode)) return FileKind::Socket;
  if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::Device;
  return FileKind::Other;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string RealPath(const std::string& path) {
  const std::unique_ptr<char, decltype(&::free)> real(::realpath(path.c_str(), nullptr), &::free);
  return real ? std::string(real.get()) : path;
}

// 0 when the lock is now held, EWOULDBLOCK while another copy holds it.
int TryLock(int fd) {
  while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EINTR) return errno;
  }
  return 0;
}

// The waiting of a host without an event loop: a few milliseconds at a time.
class SleepingWait final : public PosixFileOps::LockWait {
 public:
  int Until(const std::function<bool()>& tryLock, std::chrono::milliseconds patience) override {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    auto pause = std::chrono::microseconds(200);
    while (!tryLock()) {
      if (std::chrono::steady_clock::now() >= deadline) return ETIMEDOUT;
      std::this_thread::sleep_for(pause);
      pause = std::min(pause * 2, std::chrono::microseconds(5000));
    }
    return 0;
  }
};

struct FolderCloser {
  void operator()(DIR* dir) const noexcept { ::closedir(dir); }
};

// A process id of this machine that names no process.
bool ProcessGone(const std::string& tag) {
  if (tag.empty() || tag.size() > 9 || tag.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  const long pid = std::stol(tag);
  return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

}  // namespace

PosixFileOps::~PosixFileOps() {
  UnlockFolder();
}

bool PosixFileOps::Exists(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FileFacts PosixFileOps::Inspect(const std::string& name) {
  FileFacts facts;
  facts.target = name;
  struct stat st {};
  if (::lstat(name.c_str(), &st) != 0) {
    facts.kind = errno == ENOENT || errno == ENOTDIR ? FileKind::Absent : FileKind::Other;
    facts.folder = RealPath(FolderOf(name));
    return facts;
  }
  if (S_ISLNK(st.st_mode)) {
    facts.link = true;
    if (::stat(name.c_str(), &st) != 0) {
      facts.kind = errno == ELOOP                        ? FileKind::LinkLoop
                   : errno == ENOENT || errno == ENOTDIR ? FileKind::DanglingLink
                                                         : FileKind::Other;
      facts.folder = RealPath(FolderOf(name));
      return facts;
    }
    facts.target = RealPath(name);
  }
  facts.kind = KindOf(st.st_mode);
  facts.folder = RealPath(FolderOf(facts.target));
  facts.mode = st.st_mode & 07777;
  facts.writable = (facts.mode & 0222) != 0 && ::access(facts.target.c_str(), W_OK) == 0;
  return facts;
}

FileResult PosixFileOps::ReadAll(const std::string& name, std::string& bytes, std::size_t limit) {
  bytes.clear();
  // Non-blocking, so that a FIFO put in the file's place cannot stop the game.
  const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return Failure(errno);
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int error = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    return {error, "not a regular file"};
  }
  char buffer[8192];
  while (bytes.size() <= limit) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      const int error = errno;
      ::close(fd);
      return Failure(error);
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  if (bytes.size() > limit + 1) bytes.resize(limit + 1);
  ::close(fd);
  return {};
}

FileResult PosixFileOps::CreateNew(const std::string& name, unsigned mode, Handle& handle) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        static_cast<mode_t>(mode & 07777));
  if (fd < 0) return Failure(errno);
  // The creation mask may have taken bits the player gave the file.
  if (::fchmod(fd, static_cast<mode_t>(mode & 07777)) != 0) {
    const int error = errno;
    ::close(fd);
    ::unlink(name.c_str());
    return Failure(error);
  }
  handle = fd;
  return {};
}

FileResult PosixFileOps::Write(Handle handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(handle, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failure(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return {};
}

FileResult PosixFileOps::Sync(Handle handle) {
  if (::fsync(handle) != 0) return Failure(errno);
  return {};
}

FileResult PosixFileOps::Close(Handle handle) {
  if (::close(handle) != 0) return Failure(errno);
  return {};
}

FileResult PosixFileOps::Rename(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return Failure(errno);
  return {};
}

FileResult PosixFileOps::Remove(const std::string& name) {
  if (::unlink(name.c_str()) != 0) return Failure(errno);
  return {};
}

FileResult PosixFileOps::MoveToFreeName(const std::string& from, const std::string& to) {
#if defined(RENAME_NOREPLACE) && !defined(__EMSCRIPTEN__)
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return {};
  if (errno != EINVAL && errno != ENOSYS) return Failure(errno);
#endif
  // Where the file system cannot refuse a rename over a name: the name is
  // taken by a link first, which fails on anything there.
  if (::link(from.c_str(), to.c_str()) == 0) {
    if (::unlink(from.c_str()) == 0) return {};
    const int error = errno;
    ::unlink(to.c_str());
    return Failure(error);
  }
  if (errno != EPERM && errno != ENOSYS && errno != EOPNOTSUPP && errno != EMLINK) {
    return Failure(errno);
  }
  // Nor links (the browser's storage, some removable media, a file linked too
  // often): a look, then the rename, both under the folder's lock.
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) return Failure(EEXIST);
  return Rename(from, to);
}

std::vector<std::string> PosixFileOps::Leftovers(const std::string& prefix) {
  std::vector<std::string> found;
  if (lockFd_ < 0) return found;
  const std::size_t slash = prefix.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : prefix.substr(0, slash + 1);
  const std::string start = slash == std::string::npos ? prefix : prefix.substr(slash + 1);
  const std::unique_ptr<DIR, FolderCloser> dir(::opendir(folder.c_str()));
  if (!dir) return found;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (!name.starts_with(start)) continue;
    const std::size_t dot = name.find('.', start.size());
    if (dot == std::string::npos || !ProcessGone(name.substr(start.size(), dot - start.size()))) {
      continue;
    }
    const std::string path = slash == std::string::npos ? name : folder + name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) found.push_back(path);
  }
  return found;
}

FileResult PosixFileOps::MakeFolder(const std::string& name) {
  if (::mkdir(name.c_str(), 0755) == 0) return {};
  const int error = errno;
  struct stat st {};
  if (error == EEXIST && ::stat(name.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return {};
  return Failure(error == EEXIST ? ENOTDIR : error);
}

FileResult PosixFileOps::SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Failure(errno);
  const int rc = ::fsync(fd);
  const int error = errno;
  ::close(fd);
  if (rc != 0) return Failure(error);
  return {};
}

FileResult PosixFileOps::LockFolder(const std::string& folder) {
  UnlockFolder();
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that may be entered but not listed cannot be locked; the save
  // still runs, as safe as a single copy's.
  if (fd < 0) return errno == EACCES ? FileResult{} : Failure(errno);
  int error = TryLock(fd);
  if (error == EWOULDBLOCK) {
    static SleepingWait sleeping;
    LockWait& wait = lockWait_ != nullptr ? *lockWait_ : sleeping;
    const int waited = wait.Until(
        [&] {
          error = TryLock(fd);
          return error != EWOULDBLOCK;
        },
        kLockPatience);
    if (waited != 0) error = waited;
  }
  if (error != 0) {
    ::close(fd);
    // A file system without locks (some network mounts): as above.
    return error == ENOLCK || error == EOPNOTSUPP ? FileResult{} : Failure(error);
  }
  lockFd_ = fd;
  return {};
}

void PosixFileOps::UnlockFolder() {
  if (lockFd_ < 0) return;
  ::close(lockFd_);  // closing the only descriptor lets go of the lock
  lockFd_ = -1;
}

std::string PosixFileOps::CopyTag() {
  return std::to_string(::getpid());
}

}  // namespace pellmora
