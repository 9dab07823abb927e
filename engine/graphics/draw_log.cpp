#include "engine/graphics/draw_log.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

namespace zrb::graphics {

bool DrawLog::Open(const std::string& path) {
  file_.reset(std::fopen(path.c_str(), "w"));
  if (!file_) {
    std::fprintf(stderr, "draw log: cannot create %s: %s\n", path.c_str(), std::strerror(errno));
    return false;
  }
  return true;
}

void DrawLog::Close() {
  file_.reset();
}

void DrawLog::Line(const char* format, ...) {
  if (!file_) return;
  va_list arguments;
  va_start(arguments, format);
  std::vfprintf(file_.get(), format, arguments);
  va_end(arguments);
  std::fputc('\n', file_.get());
}

void DrawLog::EndFrame(long frameNumber) {
  if (!file_) return;
  std::fprintf(file_.get(), "frame %ld\n", frameNumber);
}

}  // namespace zrb::graphics
