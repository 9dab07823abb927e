// Loaded with LD_PRELOAD into a program under test, to give it the faults and races of a
// hostile machine on demand, without root and without a second user. Each fault is switched on
// by an environment variable; names are matched by their last path component.
//
//   FAULT_LOG=FILE               appends "fsync PATH" and "rename FROM TO" lines to FILE
//   FAULT_WRITE_ENOSPC=PREFIX    writes to files whose name starts with PREFIX fail: disk full
//   FAULT_READ_EACCES=NAME       opening NAME for reading fails: permission denied
//   FAULT_READ_EIO=NAME          reading from NAME fails: an input/output error
//   FAULT_ENTER_EACCES=NAME      entering the folder NAME fails: permission denied
//   FAULT_PLANT_LINK=PREFIX:DEST the first time a file whose name starts with PREFIX is
//                                created, a symbolic link to DEST is put at its name just
//                                before: the race another user of a shared folder can win
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>

static const char* LastComponent(const char* path) {
  const char* slash = strrchr(path, '/');
  return slash ? slash + 1 : path;
}

static int StartsWith(const char* text, const char* prefix) {
  return strncmp(text, prefix, strlen(prefix)) == 0;
}

// The path an open descriptor stands for ("" when unknown).
static void PathOfFd(int fd, char* out, size_t size) {
  char link[64];
  snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  const ssize_t length = readlink(link, out, size - 1);
  out[length > 0 ? length : 0] = '\0';
}

// A path relative to a folder descriptor, made whole for the log.
static void PathAt(int folder, const char* name, char* out, size_t size) {
  if (name[0] == '/') {
    snprintf(out, size, "%s", name);
    return;
  }
  char base[PATH_MAX];
  if (folder == AT_FDCWD) {
    if (!getcwd(base, sizeof base)) base[0] = '\0';
  } else {
    PathOfFd(folder, base, sizeof base);
  }
  snprintf(out, size, "%s/%s", base, name);
}

static void Log(const char* format, const char* a, const char* b) {
  const char* file = getenv("FAULT_LOG");
  if (!file) return;
  static int (*real_open)(const char*, int, ...);
  if (!real_open) real_open = (int (*)(const char*, int, ...))dlsym(RTLD_NEXT, "open");
  const int fd = real_open(file, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  char line[2 * PATH_MAX + 32];
  const int length = snprintf(line, sizeof line, format, a, b);
  ssize_t (*real_write)(int, const void*, size_t) = dlsym(RTLD_NEXT, "write");
  if (length > 0) real_write(fd, line, (size_t)length);
  close(fd);
}

static void BeforeOpen(int folder, const char* path, int flags) {
  const char* plant = getenv("FAULT_PLANT_LINK");
  static int planted;
  if (!plant || planted || !(flags & O_CREAT)) return;
  const char* colon = strchr(plant, ':');
  if (!colon) return;
  char prefix[256];
  snprintf(prefix, sizeof prefix, "%.*s", (int)(colon - plant), plant);
  if (!StartsWith(LastComponent(path), prefix)) return;
  planted = 1;
  symlinkat(colon + 1, folder, path);
}

static int RefuseRead(const char* path, int flags) {
  const char* name = getenv("FAULT_READ_EACCES");
  return name && (flags & O_ACCMODE) == O_RDONLY && strcmp(LastComponent(path), name) == 0;
}

static int OpenAt(int folder, const char* path, int flags, mode_t mode, const char* symbol) {
  if (RefuseRead(path, flags)) {
    errno = EACCES;
    return -1;
  }
  BeforeOpen(folder, path, flags);
  if (folder == AT_FDCWD && strcmp(symbol, "openat") != 0) {
    int (*real)(const char*, int, ...) = dlsym(RTLD_NEXT, symbol);
    return real(path, flags, mode);
  }
  int (*real)(int, const char*, int, ...) = dlsym(RTLD_NEXT, symbol);
  return real(folder, path, flags, mode);
}

static mode_t ModeArgument(int flags, va_list arguments) {
  return (flags & (O_CREAT | O_TMPFILE)) ? (mode_t)va_arg(arguments, int) : 0;
}

int open(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  return OpenAt(AT_FDCWD, path, flags, mode, "open");
}

int open64(const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  return OpenAt(AT_FDCWD, path, flags, mode, "open64");
}

int openat(int folder, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  return OpenAt(folder, path, flags, mode, "openat");
}

int openat64(int folder, const char* path, int flags, ...) {
  va_list arguments;
  va_start(arguments, flags);
  const mode_t mode = ModeArgument(flags, arguments);
  va_end(arguments);
  return OpenAt(folder, path, flags, mode, "openat64");
}

ssize_t write(int fd, const void* buffer, size_t count) {
  const char* prefix = getenv("FAULT_WRITE_ENOSPC");
  if (prefix) {
    char path[PATH_MAX];
    PathOfFd(fd, path, sizeof path);
    if (StartsWith(LastComponent(path), prefix)) {
      errno = ENOSPC;
      return -1;
    }
  }
  ssize_t (*real)(int, const void*, size_t) = dlsym(RTLD_NEXT, "write");
  return real(fd, buffer, count);
}

ssize_t read(int fd, void* buffer, size_t count) {
  const char* name = getenv("FAULT_READ_EIO");
  if (name) {
    char path[PATH_MAX];
    PathOfFd(fd, path, sizeof path);
    if (strcmp(LastComponent(path), name) == 0) {
      errno = EIO;
      return -1;
    }
  }
  ssize_t (*real)(int, void*, size_t) = dlsym(RTLD_NEXT, "read");
  return real(fd, buffer, count);
}

static void LogSync(int fd) {
  char path[PATH_MAX];
  PathOfFd(fd, path, sizeof path);
  Log("fsync %s%s\n", path, "");
}

int fsync(int fd) {
  LogSync(fd);
  int (*real)(int) = dlsym(RTLD_NEXT, "fsync");
  return real(fd);
}

int fdatasync(int fd) {
  LogSync(fd);
  int (*real)(int) = dlsym(RTLD_NEXT, "fdatasync");
  return real(fd);
}

static void LogRename(int fromFolder, const char* from, int toFolder, const char* to) {
  char a[PATH_MAX], b[PATH_MAX];
  PathAt(fromFolder, from, a, sizeof a);
  PathAt(toFolder, to, b, sizeof b);
  Log("rename %s %s\n", a, b);
}

int rename(const char* from, const char* to) {
  LogRename(AT_FDCWD, from, AT_FDCWD, to);
  int (*real)(const char*, const char*) = dlsym(RTLD_NEXT, "rename");
  return real(from, to);
}

int renameat(int fromFolder, const char* from, int toFolder, const char* to) {
  LogRename(fromFolder, from, toFolder, to);
  int (*real)(int, const char*, int, const char*) = dlsym(RTLD_NEXT, "renameat");
  return real(fromFolder, from, toFolder, to);
}

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned flags) {
  LogRename(fromFolder, from, toFolder, to);
  int (*real)(int, const char*, int, const char*, unsigned) = dlsym(RTLD_NEXT, "renameat2");
  return real(fromFolder, from, toFolder, to, flags);
}

static int RefuseEntry(const char* path) {
  const char* name = getenv("FAULT_ENTER_EACCES");
  if (!name) return 0;
  // A trailing slash would leave an empty last component.
  char copy[PATH_MAX];
  snprintf(copy, sizeof copy, "%s", path);
  size_t length = strlen(copy);
  while (length > 1 && copy[length - 1] == '/')
    copy[--length] = '\0';
  return strcmp(LastComponent(copy), name) == 0;
}

int chdir(const char* path) {
  if (RefuseEntry(path)) {
    errno = EACCES;
    return -1;
  }
  int (*real)(const char*) = dlsym(RTLD_NEXT, "chdir");
  return real(path);
}

int fchdir(int fd) {
  char path[PATH_MAX];
  PathOfFd(fd, path, sizeof path);
  if (RefuseEntry(path)) {
    errno = EACCES;
    return -1;
  }
  int (*real)(int) = dlsym(RTLD_NEXT, "fchdir");
  return real(fd);
}
