// The file the per-frame trace goes to: one line per frame, written through at once so that
// a run that dies still leaves every line it reached.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace zrb::frame {

class TraceFile {
 public:
  bool Open(const std::string& path, std::string* error);
  bool IsOpen() const { return file_ != nullptr; }
  // A failed write closes the trace with one message on standard error.
  void WriteLine(std::string_view line);
  void Close();

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, Closer> file_;
  std::string path_;
};

}  // namespace zrb::frame
