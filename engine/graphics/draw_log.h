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
  // Starts a new file (truncating an old one). False when it cannot be created, with the
  // reason in `error`, or on standard error when `error` is null; the run then has no log.
  bool Open(const std::string& path, std::string* error = nullptr);
  // A log that could not be completed says so on standard error.
  void Close();
  bool IsOpen() const { return file_ != nullptr; }

  // printf-style, one line; the newline is added.
  void Line(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Ends the frame's lines and writes them out: a run that dies keeps every finished frame.
  // A failed write stops the log with one message on standard error, as the trace does.
  void EndFrame(long frameNumber);

 private:
  void Stop(const char* what);

  struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  std::unique_ptr<std::FILE, FileCloser> file_;
  std::string path_;
};

}  // namespace zrb::graphics
