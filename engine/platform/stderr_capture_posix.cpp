#include "engine/platform/stderr_capture.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace zrb::platform {
namespace {

constexpr size_t kMaxHeldBytes = 64 * 1024;

}  // namespace

StandardErrorCapture::StandardErrorCapture() {
#ifdef __EMSCRIPTEN__
  return;  // a page's standard error is the browser's console: nothing is held back there
#else
  std::fflush(stderr);
  held_ = ::memfd_create("held-stderr", MFD_CLOEXEC);
  if (held_ < 0) return;
  saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
  if (saved_ < 0 || ::dup2(held_, STDERR_FILENO) < 0) {
    if (saved_ >= 0) ::close(saved_);
    ::close(held_);
    saved_ = held_ = -1;
  }
#endif
}

StandardErrorCapture::~StandardErrorCapture() {
  Finish();
}

std::string StandardErrorCapture::Finish() {
  if (held_ < 0) return {};
  std::fflush(stderr);
  ::dup2(saved_, STDERR_FILENO);
  ::close(saved_);
  std::string text(kMaxHeldBytes, '\0');
  size_t done = 0;
  if (::lseek(held_, 0, SEEK_SET) == 0) {
    while (done < text.size()) {
      const ssize_t n = ::read(held_, text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
  }
  ::close(held_);
  saved_ = held_ = -1;
  text.resize(done);
  return text;
}

}  // namespace zrb::platform
