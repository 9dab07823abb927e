#include "engine/platform/small_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace zrb::platform {

std::optional<std::string> ReadSmallFile(const std::string& path, size_t maxBytes,
                                         bool* truncated) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return std::nullopt;
  }
  std::string text(maxBytes, '\0');
  size_t done = 0;
  bool failed = false;
  while (done < text.size()) {
    const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failed = true;
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  ::close(fd);
  if (failed) return std::nullopt;
  text.resize(done);
  if (truncated) *truncated = static_cast<size_t>(info.st_size) > maxBytes;
  return text;
}

}  // namespace zrb::platform
