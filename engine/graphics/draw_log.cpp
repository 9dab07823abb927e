#include "engine/graphics/draw_log.h"

#include <cerrno>
#include <cstdarg>
#include <cstring>

namespace zrb::graphics {

bool DrawLog::Open(const std::string& path, std::string* error) {
  // Binary: a line ends with "\n" alone on every system, as the trace's do.
  file_.reset(std::fopen(path.c_str(), "wb"));
  if (!file_) {
    const std::string text = path + ": cannot create the draw log: " + std::strerror(errno);
    if (error) {
      *error = text;
    } else {
      std::fprintf(stderr, "%s\n", text.c_str());
    }
    return false;
  }
  path_ = path;
  return true;
}

void DrawLog::Stop(const char* what) {
  std::fprintf(stderr, "%s: draw log %s, logging stops: %s\n", path_.c_str(), what,
               std::strerror(errno));
  file_.reset();
}

void DrawLog::Close() {
  if (!file_) return;
  if (std::fclose(file_.release()) != 0) {
    std::fprintf(stderr, "%s: draw log write failed at the end: %s\n", path_.c_str(),
                 std::strerror(errno));
  }
}

void DrawLog::Line(const char* format, ...) {
  if (!file_) return;
  va_list arguments;
  va_start(arguments, format);
  const int written = std::vfprintf(file_.get(), format, arguments);
  va_end(arguments);
  if (written < 0 || std::fputc('\n', file_.get()) == EOF) Stop("write failed");
}

void DrawLog::EndFrame(long frameNumber) {
  if (!file_) return;
  if (std::fprintf(file_.get(), "frame %ld\n", frameNumber) < 0 || std::fflush(file_.get()) != 0) {
    Stop("write failed");
  }
}

}  // namespace zrb::graphics
