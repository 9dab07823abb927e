#include "engine/platform/file_access.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "engine/platform/small_file.h"

namespace zrb::platform {
namespace {

// Temporary files are named "<name>.new-" and six of these, beside the file they become.
constexpr const char* kUnfinishedMark = ".new-";
constexpr size_t kRandomLetters = 6;
constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kNameAttempts = 100;
constexpr auto kLockPatience = std::chrono::seconds(2);

std::string SystemText(int error) {
  return std::strerror(error);
}

std::string KindOf(mode_t mode) {
  if (S_ISFIFO(mode)) return "a FIFO";
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISLNK(mode)) return "a symbolic link";
  return "not a regular file";
}

std::string RandomLetters() {
  unsigned char noise[kRandomLetters] = {};
#ifdef __EMSCRIPTEN__
  const bool have_noise = ::getentropy(noise, sizeof noise) == 0;  // the browser's random source
#else
  const bool have_noise =
      ::getrandom(noise, sizeof noise, GRND_NONBLOCK) == static_cast<ssize_t>(sizeof noise);
#endif
  if (!have_noise) {
    // No entropy yet (very early boot): the clock and the process still make clashes rare,
    // and a clash only costs another attempt.
    static uint64_t counter = 0;
    uint64_t mix =
        static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()) ^
        (static_cast<uint64_t>(::getpid()) << 20) ^ (++counter * 2654435761u);
    for (unsigned char& c : noise) {
      c = static_cast<unsigned char>(mix);
      mix = mix * 6364136223846793005ull + 1442695040888963407ull;
      c ^= static_cast<unsigned char>(mix >> 56);
    }
  }
  std::string letters;
  for (unsigned char c : noise)
    letters += kLetters[c % (sizeof kLetters - 1)];
  return letters;
}

bool IsRandomLetters(std::string_view text) {
  if (text.size() != kRandomLetters) return false;
  for (char c : text) {
    if (std::strchr(kLetters, c) == nullptr || c == '\0') return false;
  }
  return true;
}

// The folder and the last component of a path; false when the path names no file.
bool SplitPath(const std::string& path, std::string* folder, std::string* base) {
  if (path.empty() || path.back() == '/' || path.find('\0') != std::string::npos) return false;
  const size_t slash = path.rfind('/');
  *folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  *base = slash == std::string::npos ? path : path.substr(slash + 1);
  return *base != "." && *base != "..";
}

// A folder opened for reading can be synced; one that may only be passed through still serves
// to create and rename in it.
UniqueFd OpenFolder(const std::string& folder) {
  UniqueFd fd(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd) fd = UniqueFd(::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  return fd;
}

bool WriteAll(int fd, std::span<const uint8_t> bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return false;
    if (put == 0) {
      errno = EIO;
      return false;
    }
    done += static_cast<size_t>(put);
  }
  return true;
}

// Removes the temporary files of saves that never finished: a process killed in the middle of
// one leaves its file behind. A save in progress holds a lock on its file, so only files no
// living process writes are taken, and only this user's own regular files.
void RemoveUnfinished(int folder, const std::string& base) {
  const std::string prefix = base + kUnfinishedMark;
  std::vector<std::string> candidates;
  {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
      ::close(listing);
      return;
    }
    while (const dirent* entry = ::readdir(dir)) {
      const std::string_view name = entry->d_name;
      if (name.substr(0, prefix.size()) == prefix && IsRandomLetters(name.substr(prefix.size()))) {
        candidates.emplace_back(name);
      }
    }
    ::closedir(dir);
  }
  for (const std::string& name : candidates) {
    UniqueFd fd(
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat opened {};
    struct stat named {};
    if (!fd || ::fstat(fd.Get(), &opened) != 0 || !S_ISREG(opened.st_mode) ||
        opened.st_uid != ::geteuid() || ::flock(fd.Get(), LOCK_EX | LOCK_NB) != 0) {
      continue;
    }
    if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_dev == opened.st_dev && named.st_ino == opened.st_ino) {
      ::unlinkat(folder, name.c_str(), 0);
    }
  }
}

// A complete, synced temporary file beside `base`, not yet in place.
class StagedFile {
 public:
  ~StagedFile() { Discard(); }

  bool Write(int folder, const std::string& base, std::span<const uint8_t> bytes,
             std::string* problem) {
    folder_ = folder;
    RemoveUnfinished(folder, base);
    for (int attempt = 0; attempt < kNameAttempts && !file_; ++attempt) {
      name_ = base + kUnfinishedMark + RandomLetters();
      file_ = UniqueFd(::openat(folder, name_.c_str(),
                                O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
      if (!file_ && errno != EEXIST) break;
    }
    if (!file_) {
      *problem = "cannot create a temporary file beside it: " + SystemText(errno);
      name_.clear();
      return false;
    }
    // Held until the file is in place, so that no other save takes it for a leftover.
    ::flock(file_.Get(), LOCK_EX | LOCK_NB);
    if (!WriteAll(file_.Get(), bytes)) {
      *problem = "writing failed: " + SystemText(errno);
      return false;
    }
    // The data must be on the disk before the name points at it: otherwise a power cut soon
    // after the rename can leave an empty file under the old name.
    if (::fsync(file_.Get()) != 0) {
      *problem = "syncing failed: " + SystemText(errno);
      return false;
    }
    return true;
  }

  const std::string& Name() const { return name_; }
  // The file now has its final name.
  void Placed() {
    name_.clear();
    file_.Reset();
  }
  // Only the file this object created is ever removed.
  void Discard() {
    if (!name_.empty()) ::unlinkat(folder_, name_.c_str(), 0);
    name_.clear();
    file_.Reset();
  }

 private:
  int folder_ = -1;
  std::string name_;
  UniqueFd file_;
};

// The rename itself is only durable once the folder is synced. A folder that could only be
// opened as a path cannot be; the file is in place all the same.
void SyncFolder(int folder) {
  ::fsync(folder);
}

struct Target {
  UniqueFd folder;
  std::string base;
};

bool OpenTarget(const std::string& path, Target* target, std::string* problem) {
  std::string folder;
  if (!SplitPath(path, &folder, &target->base)) {
    *problem = "not a file name";
    return false;
  }
  target->folder = OpenFolder(folder);
  if (!target->folder) {
    *problem = "cannot open its folder: " + SystemText(errno);
    return false;
  }
  return true;
}

// The folder of a file ReplaceFile may put in place: anything at the name but a regular file
// or a link is refused.
bool OpenReplaceableTarget(const std::string& path, Target* target, std::string* problem) {
  if (!OpenTarget(path, target, problem)) return false;
  struct stat existing {};
  if (::fstatat(target->folder.Get(), target->base.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 &&
      !S_ISREG(existing.st_mode) && !S_ISLNK(existing.st_mode)) {
    *problem = KindOf(existing.st_mode) + " is there, not a regular file; it is left alone";
    return false;
  }
  return true;
}

bool PutInPlace(const Target& target, std::span<const uint8_t> bytes, std::string* problem) {
  StagedFile staged;
  if (!staged.Write(target.folder.Get(), target.base, bytes, problem)) return false;
  if (::renameat(target.folder.Get(), staged.Name().c_str(), target.folder.Get(),
                 target.base.c_str()) != 0) {
    *problem = "cannot replace the old file: " + SystemText(errno);
    return false;
  }
  staged.Placed();
  SyncFolder(target.folder.Get());
  return true;
}

// Renames within one folder only while `to` is free; fails with EEXIST when it is taken.
int RenameIfNameFree(int folder, const char* from, const char* to) {
#ifdef __EMSCRIPTEN__
  // A page's files belong to that page alone: nothing takes the name between check and rename.
  struct stat existing {};
  if (::fstatat(folder, to, &existing, AT_SYMLINK_NOFOLLOW) == 0) {
    errno = EEXIST;
    return -1;
  }
  return ::renameat(folder, from, folder, to);
#else
  return ::renameat2(folder, from, folder, to, RENAME_NOREPLACE);
#endif
}

}  // namespace

OpenedFile OpenRegularFile(const std::string& path) {
  OpenedFile result;
  if (path.empty() || path.find('\0') != std::string::npos) return result;
  // Without O_NONBLOCK, opening a FIFO waits for a writer, for ever if none comes.
  result.fd = UniqueFd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (!result.fd) {
    const int error = errno;
    if (error == ENOENT || error == ENOTDIR) return result;
    result.outcome = error == ENXIO ? OpenOutcome::kNotRegularFile : OpenOutcome::kCannotRead;
    result.problem = error == ENXIO ? "not a regular file" : SystemText(error);
    return result;
  }
  struct stat info {};
  if (::fstat(result.fd.Get(), &info) != 0) {
    result.outcome = OpenOutcome::kCannotRead;
    result.problem = SystemText(errno);
    result.fd.Reset();
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    result.outcome = OpenOutcome::kNotRegularFile;
    result.problem = "not a regular file (" + KindOf(info.st_mode) + ")";
    result.folder = S_ISDIR(info.st_mode);
    result.fd.Reset();
    return result;
  }
  // Reads from a regular file never wait anyway; the flag goes so nothing has to think of it.
  const int flags = ::fcntl(result.fd.Get(), F_GETFL);
  if (flags >= 0) ::fcntl(result.fd.Get(), F_SETFL, flags & ~O_NONBLOCK);
  result.outcome = OpenOutcome::kOpened;
  return result;
}

bool ReplaceFile(const std::string& path, std::span<const uint8_t> bytes, std::string* problem) {
  std::string ignored;
  if (!problem) problem = &ignored;
  Target target;
  return OpenReplaceableTarget(path, &target, problem) && PutInPlace(target, bytes, problem);
}

bool UpdateFile(const std::string& path, size_t maxBytes,
                const std::function<std::vector<uint8_t>(const std::optional<std::string>&)>& make,
                std::string* problem) {
  std::string ignored;
  if (!problem) problem = &ignored;
  Target target;
  if (!OpenReplaceableTarget(path, &target, problem)) return false;
  // Released with the folder's handle. A folder opened only as a path cannot be locked; a lock
  // kept too long is another program's fault, and the update goes ahead without it.
  const auto giveUp = std::chrono::steady_clock::now() + kLockPatience;
  while (::flock(target.folder.Get(), LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK &&
         std::chrono::steady_clock::now() < giveUp) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return PutInPlace(target, make(ReadSmallFile(path, maxBytes)), problem);
}

CreateOutcome CreateNewFile(const std::string& path, std::span<const uint8_t> bytes,
                            std::string* problem) {
  std::string ignored;
  if (!problem) problem = &ignored;
  Target target;
  if (!OpenTarget(path, &target, problem)) return CreateOutcome::kFailed;
  const int folder = target.folder.Get();
  const char* base = target.base.c_str();
  struct stat existing {};
  if (::fstatat(folder, base, &existing, AT_SYMLINK_NOFOLLOW) == 0) {
    return CreateOutcome::kNameTaken;
  }
  StagedFile staged;
  if (!staged.Write(folder, target.base, bytes, problem)) return CreateOutcome::kFailed;
  const char* temporary = staged.Name().c_str();
  // The name is taken only if it is still free: a link planted meanwhile stays as it is.
  if (RenameIfNameFree(folder, temporary, base) != 0) {
    if (errno == EEXIST) return CreateOutcome::kNameTaken;
    if (errno != EINVAL && errno != ENOSYS) {
      *problem = "cannot give the file its name: " + SystemText(errno);
      return CreateOutcome::kFailed;
    }
    // A file system without exclusive renames: a hard link is just as exclusive.
    if (::linkat(folder, temporary, folder, base, 0) != 0) {
      if (errno == EEXIST) return CreateOutcome::kNameTaken;
      *problem = "cannot give the file its name: " + SystemText(errno);
      return CreateOutcome::kFailed;
    }
    staged.Discard();  // the temporary name only; the file lives on under its own
  } else {
    staged.Placed();
  }
  SyncFolder(folder);
  return CreateOutcome::kCreated;
}

AppendFile OpenOwnFileForAppending(const std::string& path) {
  AppendFile result;
  result.fd = UniqueFd(
      ::open(path.c_str(),
             O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644));
  if (!result.fd) {
    const int error = errno;
    struct stat there {};
    const bool somethingThere = ::lstat(path.c_str(), &there) == 0;
    result.outcome = somethingThere ? AppendOutcome::kNotOurs : AppendOutcome::kFailed;
    if (!somethingThere) {
      result.problem = SystemText(error);
    } else if (S_ISREG(there.st_mode)) {
      result.problem = "a file that cannot be opened for writing (" + SystemText(error) + ")";
    } else {
      result.problem = KindOf(there.st_mode);
    }
    return result;
  }
  struct stat info {};
  if (::fstat(result.fd.Get(), &info) != 0) {
    result.problem = SystemText(errno);
    result.fd.Reset();
    return result;
  }
  std::string why;
  if (!S_ISREG(info.st_mode)) {
    why = KindOf(info.st_mode);
  } else if (info.st_uid != ::geteuid()) {
    why = "a file of another user";
  } else if (info.st_nlink != 1) {
    why = "a file with other names";
  }
  if (!why.empty()) {
    result.outcome = AppendOutcome::kNotOurs;
    result.problem = why;
    result.fd.Reset();
    return result;
  }
  result.outcome = AppendOutcome::kOpened;
  return result;
}

UniqueFd CreateUniqueFile(const std::string& folder, const std::string& prefix,
                          const std::string& suffix, std::string* path, std::string* problem) {
  std::string ignored;
  if (!problem) problem = &ignored;
  const std::string start = folder.empty() || folder.back() == '/' ? folder : folder + "/";
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = start + prefix + RandomLetters() + suffix;
    UniqueFd fd(
        ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0600));
    if (fd) {
      if (path) *path = name;
      return fd;
    }
    if (errno != EEXIST) break;
  }
  *problem = SystemText(errno);
  return {};
}

void RemoveOwnFile(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode) && info.st_uid == ::geteuid()) {
    ::unlink(path.c_str());
  }
}

}  // namespace zrb::platform
