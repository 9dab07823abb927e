#include "engine/frame/trace_file.h"

#include <cerrno>
#include <cstring>

namespace zrb::frame {

bool TraceFile::Open(const std::string& path, std::string* error) {
  file_.reset(std::fopen(path.c_str(), "wb"));
  if (!file_) {
    if (error) *error = path + ": cannot write the trace: " + std::strerror(errno);
    return false;
  }
  path_ = path;
  return true;
}

void TraceFile::WriteLine(std::string_view line) {
  if (!file_) return;
  const bool written = std::fwrite(line.data(), 1, line.size(), file_.get()) == line.size() &&
                       std::fputc('\n', file_.get()) != EOF && std::fflush(file_.get()) == 0;
  if (!written) {
    std::fprintf(stderr, "%s: trace write failed, tracing stops: %s\n", path_.c_str(),
                 std::strerror(errno));
    file_.reset();
  }
}

void TraceFile::Close() {
  file_.reset();
}

}  // namespace zrb::frame
