
// <windows.h> first: the other system headers build on its types.
#include <windows.h>

#include <string>

#include "engine/platform/paths.h"
#include "engine/platform/windows_text.h"

namespace zrb::platform {
namespace {

// Inside the program a path is UTF-8 with forward slashes, which every Windows call takes.
std::string Inside(const std::wstring& wide) {
  std::string path = Utf8(wide);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

}  // namespace

std::string ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return Inside(path);
    }
    path.resize(path.size() * 2);
  }
}

std::string ExecutableDirectory() {
  const std::string path = ExecutablePath();
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return path.substr(0, slash);
}

std::string TemporaryDirectory() {
  wchar_t buffer[MAX_PATH + 2] = {};
  const DWORD length = ::GetTempPathW(MAX_PATH + 1, buffer);
  std::string dir = length > 0 && length <= MAX_PATH + 1 ? Inside(buffer) : std::string("./");
  if (dir.back() != '/') dir += '/';
  return dir;
}

}  // namespace zrb::platform
