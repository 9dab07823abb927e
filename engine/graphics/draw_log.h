// The --draw-log file: one line per draw call with its arguments, and a line "frame N"
// after the calls of presented frame N.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace zrb::graphics {

class DrawLog {
 public:
  // Starts a new file (truncating an old one). False, with a message on standard error,
  // when it cannot be created; the run goes on without a log.
  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

  // printf-style, one line; the newline is added.
  void Line(const char* format, ...) __attribute__((format(printf, 2, 3)));
  void EndFrame(long frameNumber);

 private:
  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> file_;
};

}  // namespace zrb::graphics
