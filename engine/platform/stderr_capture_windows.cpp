// <windows.h> first: the other system headers build on its types.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

#include "engine/platform/paths.h"
#include "engine/platform/stderr_capture.h"
#include "engine/platform/windows_text.h"

namespace zrb::platform {
namespace {

constexpr size_t kMaxHeldBytes = 64 * 1024;

}  // namespace

// The text is held in a temporary file that goes when it is closed.
StandardErrorCapture::StandardErrorCapture() {
  std::fflush(stderr);
  const std::string path =
      TemporaryDirectory() + "held-stderr-" + std::to_string(::GetCurrentProcessId()) + ".txt";
  held_ = DescriptorFor(
      ::CreateFileW(Wide(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS,
                    FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr),
      0);
  if (held_ < 0) return;
  saved_ = ::_dup(_fileno(stderr));
  if (saved_ < 0 || ::_dup2(held_, _fileno(stderr)) < 0) {
    if (saved_ >= 0) ::_close(saved_);
    ::_close(held_);
    saved_ = held_ = -1;
  }
}

StandardErrorCapture::~StandardErrorCapture() {
  Finish();
}

std::string StandardErrorCapture::Finish() {
  if (held_ < 0) return {};
  std::fflush(stderr);
  ::_dup2(saved_, _fileno(stderr));
  ::_close(saved_);
  std::string text(kMaxHeldBytes, '\0');
  size_t done = 0;
  if (::_lseeki64(held_, 0, SEEK_SET) == 0) {
    while (done < text.size()) {
      const int n = ::_read(held_, text.data() + done, static_cast<unsigned>(text.size() - done));
      if (n <= 0) break;
      done += static_cast<size_t>(n);
    }
  }
  ::_close(held_);
  saved_ = held_ = -1;
  text.resize(done);
  return text;
}

}  // namespace zrb::platform
