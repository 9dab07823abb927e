#include "engine/platform/log_file.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/platform/file_access.h"
#include "engine/platform/file_calls.h"
#include "engine/platform/player_folders.h"

namespace zrb::platform {
namespace {

constexpr int kAttempts = 5;
constexpr auto kRetryDelay = std::chrono::milliseconds(10);

// Set once the usual name turned out to be something else than this user's own file (in a
// shared temporary folder, another user may have put a link or a FIFO there): the rest of the
// process logs to a fresh file beside it.
std::string g_freshPath;

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

// Moves the log to a fresh file of its own and says where, once.
bool MoveToFreshFile(const std::string& usualPath, const std::string& problem) {
  const size_t slash = usualPath.rfind('/');
  const std::string folder = slash == std::string::npos ? "." : usualPath.substr(0, slash + 1);
  std::string fresh;
  std::string failure;
  if (!CreateUniqueFile(folder, "ErrorLog-", ".txt", &fresh, &failure)) {
    std::fprintf(stderr, "log: %s is %s, and no other log file could be made: %s\n",
                 usualPath.c_str(), problem.c_str(), failure.c_str());
    return false;
  }
  std::fprintf(stderr, "log: %s is %s; logging to %s instead\n", usualPath.c_str(), problem.c_str(),
               fresh.c_str());
  g_freshPath = fresh;
  return true;
}

enum class Attempt { kWritten, kBusy, kFailed, kMoved };

// One attempt: the file opened for appending and held exclusively while the line goes in.
Attempt TryAppend(const std::string& path, const std::string& line) {
  AppendFile file = OpenOwnFileForAppending(path);
  if (file.outcome == AppendOutcome::kNotOurs && g_freshPath.empty()) {
    return MoveToFreshFile(path, file.problem) ? Attempt::kMoved : Attempt::kFailed;
  }
  if (file.outcome != AppendOutcome::kOpened) return Attempt::kFailed;
  if (!TryLockFile(file.fd.Get())) return Attempt::kBusy;
  return WriteAll(file.fd.Get(), line) ? Attempt::kWritten : Attempt::kFailed;
}

}  // namespace

std::string LogFilePath() {
  if (!g_freshPath.empty()) return g_freshPath;
  return LogFolder() + "ErrorLog.txt";
}

void DeleteLogFile() {
  RemoveOwnFile(LogFilePath());
  g_freshPath.clear();
}

bool AppendLogLine(std::string_view text) {
  std::string line(text);
  line += "\r\n";
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(kRetryDelay);
    switch (TryAppend(LogFilePath(), line)) {
      case Attempt::kWritten:
        return true;
      case Attempt::kMoved:
        attempt = -1;  // the fresh file gets every attempt
        break;
      case Attempt::kBusy:
      case Attempt::kFailed:
        break;
    }
  }
  return false;
}

}  // namespace zrb::platform
