#include "engine/frame/window_preferences.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "engine/frame/engine_main.h"
#include "engine/platform/file_calls.h"
#include "engine/platform/player_folders.h"
#include "engine/platform/small_file.h"
#include "engine/platform/window.h"

namespace zrb::frame {
namespace {

constexpr std::string_view kScaleKey = "window-scale";
constexpr size_t kMaxFileBytes = 4096;
constexpr const char* kUnfinishedSuffix = ".new";

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
    text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
    text.remove_suffix(1);
  return text;
}

int ScaleFromText(std::string_view text) {
  int scale = 0;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = Trimmed(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::string_view rest = line.substr(std::min(kScaleKey.size(), line.size()));
    if (line.substr(0, kScaleKey.size()) != kScaleKey || rest.empty() ||
        (rest.front() != ' ' && rest.front() != '\t')) {
      continue;
    }
    const std::string_view value = Trimmed(rest);
    int parsed = 0;
    const auto [ptr, ec] = std::from_chars(value.data(), value.data() + value.size(), parsed);
    const bool whole = ec == std::errc() && ptr == value.data() + value.size();
    if (whole && parsed >= 1 && parsed <= platform::kLargestWindowScale) scale = parsed;
  }
  return scale;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

bool Fail(const std::string& path, const char* what, int error) {
  const std::string text =
      "Window scale not stored: " + path + ": " + what + " (" + std::strerror(error) + ")";
  std::fprintf(stderr, "%s\n", text.c_str());
  AppendLogLine(text);
  return false;
}

}  // namespace

std::string PreferencesPath(bool installed, const std::string& workingFolder,
                            const std::string& playerDataFolder) {
  if (!installed && !workingFolder.empty() && platform::FolderIsWritable(workingFolder)) {
    return workingFolder + "/" + kPreferencesFileName;
  }
  if (playerDataFolder.empty()) return {};
  return playerDataFolder + "/" + kPreferencesFileName;
}

int ReadWindowScale(const std::string& path) {
  return ScaleFromText(platform::ReadSmallFile(path, kMaxFileBytes).value_or(std::string()));
}

bool WriteWindowScale(const std::string& path, int scale) {
  const size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 &&
      !platform::MakeFolders(path.substr(0, slash), 0700)) {
    return Fail(path, "cannot create its folder", errno);
  }
  const std::string unfinished = path + kUnfinishedSuffix;
  // Whatever lies at the unfinished name (a stale file, a planted link) goes; the new file is
  // created afresh and never through a link.
  platform::RemoveFile(unfinished);
  platform::UniqueFd fd = platform::CreateExclusiveFile(unfinished, 0644);
  if (!fd) return Fail(path, "cannot create the file", errno);
  const std::string text = std::string(kScaleKey) + " " + std::to_string(scale) + "\n";
  const bool written = WriteAll(fd.Get(), text) && platform::SyncFile(fd.Get());
  const int writeError = errno;
  if (::close(fd.Release()) != 0 || !written) {
    platform::RemoveFile(unfinished);
    return Fail(path, "cannot write the file", written ? errno : writeError);
  }
  if (!platform::RenameFile(unfinished, path)) {
    const int error = errno;
    platform::RemoveFile(unfinished);
    return Fail(path, "cannot replace the old file", error);
  }
  return true;
}

}  // namespace zrb::frame
