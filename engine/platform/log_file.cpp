#include "engine/platform/log_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/platform/player_folders.h"

namespace zrb::platform {
namespace {

constexpr int kAttempts = 5;
constexpr auto kRetryDelay = std::chrono::milliseconds(10);

// Owns a file descriptor for the length of one write.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// One attempt: the file opened for appending and held exclusively while the line goes in.
bool TryAppend(const std::string& path, const std::string& line) {
  FileDescriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
  if (fd.get() < 0) return false;
  if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) return false;
  return WriteAll(fd.get(), line);
}

}  // namespace

std::string LogFilePath() {
  return LogFolder() + "ErrorLog.txt";
}

void DeleteLogFile() {
  std::remove(LogFilePath().c_str());
}

bool AppendLogLine(std::string_view text) {
  const std::string path = LogFilePath();
  std::string line(text);
  line += "\r\n";
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kRetryDelay);
    if (TryAppend(path, line)) return true;
  }
  return false;
}

}  // namespace zrb::platform
