#include "engine/platform/file_calls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace zrb::platform {

UniqueFd CreateExclusiveFile(const std::string& path, unsigned mode) {
  return UniqueFd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                         static_cast<mode_t>(mode)));
}

UniqueFd OpenFileForWriting(const std::string& path, bool append) {
  if (append) {
    UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));
    if (fd && ::lseek(fd.Get(), 0, SEEK_END) < 0) fd.Reset();
    return fd;
  }
  ::unlink(path.c_str());
  return UniqueFd(::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
}

UniqueFd OpenFileForReading(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (fd && ::fstat(fd.Get(), &info) == 0 && S_ISDIR(info.st_mode)) {
    fd.Reset();
    errno = EISDIR;
  }
  return fd;
}

bool ReadFileAt(int fd, int64_t offset, void* buffer, size_t count) {
  if (offset < 0) return false;
  auto* out = static_cast<unsigned char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t got = ::pread(fd, out + done, count - done,
                                static_cast<off_t>(offset) + static_cast<off_t>(done));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    done += static_cast<size_t>(got);
  }
  return true;
}

bool SyncFile(int fd) {
  return ::fsync(fd) == 0;
}

bool TryLockFile(int fd) {
  return ::flock(fd, LOCK_EX | LOCK_NB) == 0;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool FolderIsWritable(const std::string& folder) {
  return ::access(folder.c_str(), W_OK) == 0;
}

UniqueFd HoldFolder(const std::string& path) {
  return UniqueFd(::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
}

bool EnterHeldFolder(const UniqueFd& folder, const std::string& path, bool checkOnly) {
  if (!checkOnly) return ::fchdir(folder.Get()) == 0;
  UniqueFd here(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (::fchdir(folder.Get()) != 0) return false;
  if (here && ::fchdir(here.Get()) != 0) return false;
  return true;
}

}  // namespace zrb::platform
