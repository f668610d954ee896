#include "scores/PosixFileOps.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace pellmora {

namespace {

FileResult Failure(int error) {
  return FileResult{error, std::strerror(error)};
}

}  // namespace

bool PosixFileOps::Exists(const std::string& name) {
  struct stat st {};
  return ::stat(name.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

FileResult PosixFileOps::ReadAll(const std::string& name, std::string& bytes, std::size_t limit) {
  bytes.clear();
  const int fd = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Failure(errno);
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

FileResult PosixFileOps::Open(const std::string& name, bool createNew, Handle& handle) {
  const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (createNew ? O_EXCL : O_TRUNC);
  const int fd = ::open(name.c_str(), flags, 0644);
  if (fd < 0) return Failure(errno);
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

FileResult PosixFileOps::SyncDirectory() {
  const int fd = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return Failure(errno);
  const int rc = ::fsync(fd);
  const int error = errno;
  ::close(fd);
  if (rc != 0) return Failure(error);
  return {};
}

}  // namespace pellmora
