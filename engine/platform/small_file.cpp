#include "engine/platform/small_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
  // The buffer follows what the file says it holds (one byte more, to see it end), growing if
  // it grows while read: a bound of many megabytes is never taken whole for a small file.
  const size_t claimed = info.st_size > 0 ? static_cast<size_t>(info.st_size) : 0;
  std::string text(std::min(maxBytes, std::max<size_t>(claimed + 1, 4096)), '\0');
  size_t done = 0;
  for (;;) {
    if (done == text.size()) {
      if (text.size() >= maxBytes) break;
      text.resize(std::min(maxBytes, text.size() * 2));
    }
    const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    done += static_cast<size_t>(n);
  }
  text.resize(done);
  text.shrink_to_fit();
  if (truncated) *truncated = static_cast<size_t>(info.st_size) > maxBytes;
  return text;
}

}  // namespace zrb::platform
