#include "engine/platform/small_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "engine/platform/file_access.h"

namespace zrb::platform {

std::optional<std::string> ReadSmallFile(const std::string& path, size_t maxBytes,
                                         bool* truncated) {
  const OpenedFile file = OpenRegularFile(path);
  if (file.outcome != OpenOutcome::kOpened) return std::nullopt;
  const int fd = file.fd.Get();
  struct stat info {};
  if (::fstat(fd, &info) != 0) return std::nullopt;
  std::string text(maxBytes, '\0');
  size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  text.resize(done);
  if (truncated) *truncated = static_cast<size_t>(info.st_size) > maxBytes;
  return text;
}

}  // namespace zrb::platform
