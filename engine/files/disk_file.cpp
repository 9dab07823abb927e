#include "engine/files/disk_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <set>

#include "engine/platform/file_access.h"
#include "engine/platform/file_calls.h"
#include "engine/platform/log_file.h"

namespace zrb::files {
namespace {

// Something stands where a file was looked for but cannot be read: it counts as missing, and
// the player hears why once per name rather than at every lookup.
void ReportUnusableFile(const std::string& path, const std::string& problem) {
  static std::set<std::string> reported;
  if (!reported.insert(path).second) return;
  const std::string text = path + ": " + problem + "; taken as missing";
  std::fprintf(stderr, "files: %s\n", text.c_str());
  platform::AppendLogLine(text);
}

}  // namespace

std::string PlatformPath(std::string_view name) {
  if (name.find('\0') != std::string_view::npos) return {};
  std::string path(name);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

UniqueFd OpenExistingFile(std::string_view name) {
  const std::string path = PlatformPath(name);
  if (path.empty()) return {};
  platform::OpenedFile file = platform::OpenRegularFile(path);
  // A folder of the name is simply not a file to load; anything else that stands in the way
  // (a FIFO, a device, a file that may not be read) could be a mistake worth hearing about.
  if ((file.outcome == platform::OpenOutcome::kNotRegularFile && !file.folder) ||
      file.outcome == platform::OpenOutcome::kCannotRead) {
    ReportUnusableFile(path, file.problem);
  }
  return std::move(file.fd);
}

UniqueFd OpenLoadableFile(std::string_view name) {
  UniqueFd fd = OpenExistingFile(name);
  if (fd && FileSizeOf(fd.Get()) > kMaxWholeFileBytes) {
    ReportUnusableFile(PlatformPath(name), "larger than 256 MiB");
    fd.Reset();
  }
  return fd;
}

int64_t FileSizeOf(int fd) {
  struct stat info {};
  if (::fstat(fd, &info) != 0) return -1;
  return static_cast<int64_t>(info.st_size);
}

size_t ReadFully(int fd, void* buffer, size_t count) {
  auto* out = static_cast<unsigned char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t got = ::read(fd, out + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    done += static_cast<size_t>(got);
  }
  return done;
}

bool ReadFullyAt(int fd, int64_t offset, void* buffer, size_t count) {
  return platform::ReadFileAt(fd, offset, buffer, count);
}

bool WriteFully(int fd, const void* buffer, size_t count) {
  const auto* in = static_cast<const unsigned char*>(buffer);
  size_t done = 0;
  while (done < count) {
    const ssize_t put = ::write(fd, in + done, count - done);
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) return false;
    done += static_cast<size_t>(put);
  }
  return true;
}

std::optional<std::vector<uint8_t>> ReadWholeFile(std::string_view name) {
  UniqueFd fd = OpenLoadableFile(name);
  if (!fd) return std::nullopt;
  const int64_t size = FileSizeOf(fd.Get());
  if (size < 0) return std::nullopt;
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  bytes.resize(ReadFully(fd.Get(), bytes.data(), bytes.size()));
  return bytes;
}

}  // namespace zrb::files
