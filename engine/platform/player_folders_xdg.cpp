#include "engine/platform/player_folders.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "engine/platform/paths.h"
#include "engine/platform/small_file.h"

namespace zrb::platform {
namespace {

constexpr size_t kMaxUserDirsBytes = 64 * 1024;

bool Set(const char* value) {
  return value != nullptr && value[0] != '\0';
}

bool IsAbsolute(std::string_view path) {
  return !path.empty() && path.front() == '/';
}

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

// The text between the quotes of a user-dirs.dirs value, read as the shell reads it when
// xdg-user-dir sources the file: \$, \`, \" and \\ stand for the character
// (xdg-user-dirs-update writes them so), a backslash before anything else stays. False when
// there is no closing quote or an unescaped "$" or "`" would make the shell expand something.
bool Unquote(std::string_view quoted, std::string* value) {
  value->clear();
  for (size_t i = 0; i < quoted.size(); ++i) {
    const char c = quoted[i];
    if (c == '"') return true;
    if (c == '$' || c == '`') return false;
    if (c == '\\' && i + 1 < quoted.size() &&
        std::string_view("$`\"\\").find(quoted[i + 1]) != std::string_view::npos) {
      *value += quoted[++i];
    } else {
      *value += c;
    }
  }
  return false;
}

// The value of `NAME="..."` in user-dirs.dirs, with $HOME expanded; "" when the line is
// missing or says something the format does not allow.
std::string UserDirsValue(std::string_view text, std::string_view name, const char* home) {
  size_t start = 0;
  std::string found;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
      line.remove_prefix(1);
    if (line.substr(0, name.size()) != name || line.substr(name.size(), 2) != "=\"") continue;
    line.remove_prefix(name.size() + 2);
    // Only a leading $HOME is expanded; the rest must stand for itself.
    const bool fromHome =
        line.substr(0, 5) == "$HOME" && (line.size() == 5 || line[5] == '/' || line[5] == '"');
    if (fromHome) line.remove_prefix(5);
    std::string value;
    if (!Unquote(line, &value)) continue;
    // The last line naming the folder wins, as with a shell sourcing the file.
    if (fromHome) {
      found = Set(home) ? std::string(home) + value : std::string();
    } else if (IsAbsolute(value)) {
      found = value;
    }
  }
  return found.empty() ? found : WithoutTrailingSlashes(found);
}

// A page's files belong to that page alone (its user is numbered 0 there too).
bool RunsAsRoot() {
#ifdef __EMSCRIPTEN__
  return false;
#else
  return ::geteuid() == 0;
#endif
}

}  // namespace

Environment Environment::Current() {
  Environment env;
  env.home = std::getenv("HOME");
  env.xdgDataHome = std::getenv("XDG_DATA_HOME");
  env.xdgStateHome = std::getenv("XDG_STATE_HOME");
  env.xdgConfigHome = std::getenv("XDG_CONFIG_HOME");
  env.xdgPicturesDir = std::getenv("XDG_PICTURES_DIR");
  return env;
}

std::string XdgBaseFolder(const char* value, const char* home, std::string_view underHome) {
  if (Set(value) && IsAbsolute(value)) return WithoutTrailingSlashes(value);
  if (!Set(home)) return {};
  return WithoutTrailingSlashes(home) + "/" + std::string(underHome);
}

std::string UserPicturesFolder(const Environment& env, std::string_view userDirsText) {
  if (Set(env.xdgPicturesDir) && IsAbsolute(env.xdgPicturesDir)) {
    return WithoutTrailingSlashes(env.xdgPicturesDir);
  }
  std::string fromFile = UserDirsValue(userDirsText, "XDG_PICTURES_DIR", env.home);
  if (!fromFile.empty()) return fromFile;
  if (!Set(env.home)) return {};
  return WithoutTrailingSlashes(env.home) + "/Pictures";
}

std::string PlayerDataHome() {
  return XdgBaseFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"), ".local/share");
}

PlayerFolders ChoosePlayerFolders(const std::string& programFolder, const InstallLayout& layout,
                                  const Environment& env, std::string_view userDirsText) {
  PlayerFolders folders;
  folders.dataFolder = FindDataFolder(programFolder, layout);
  if (folders.dataFolder.empty()) folders.dataFolder = programFolder;
  folders.installed = folders.dataFolder != programFolder;
  const std::string name = layout.folderName ? layout.folderName : "";
  const std::string dataHome = XdgBaseFolder(env.xdgDataHome, env.home, ".local/share");
  if (!dataHome.empty() && !name.empty()) folders.playerData = dataHome + "/" + name;
  if (!folders.installed) return folders;

  const std::string stateHome = XdgBaseFolder(env.xdgStateHome, env.home, ".local/state");
  if (!stateHome.empty() && !name.empty()) folders.log = stateHome + "/" + name + "/";
  const std::string pictures = UserPicturesFolder(env, userDirsText);
  if (!pictures.empty() && layout.picturesFolderName) {
    folders.pictures = pictures + "/" + layout.picturesFolderName;
  }
  return folders;
}

std::string ReadUserDirsFile(const Environment& env) {
  const std::string config = XdgBaseFolder(env.xdgConfigHome, env.home, ".config");
  if (config.empty()) return {};
  return ReadSmallFile(config + "/user-dirs.dirs", kMaxUserDirsBytes).value_or(std::string());
}

bool MakeFolders(const std::string& path, unsigned mode, std::string* problem) {
  const auto fail = [&](const std::string& why) {
    if (problem) *problem = why;
    return false;
  };
  if (path.empty()) return fail("no folder named");
  std::string partial;
  size_t at = 0;
  struct stat info {};
  while (at != std::string::npos) {
    const std::string parent = !partial.empty() ? partial : path.front() == '/' ? "/" : ".";
    at = path.find('/', at + 1);
    partial = path.substr(0, at);
    if (partial.empty() || partial == "/" || ::stat(partial.c_str(), &info) == 0) continue;
    if (RunsAsRoot() && ::stat(parent.c_str(), &info) == 0 && info.st_uid != 0) {
      return fail("running as root, the program creates no folder in " + parent +
                  ", which belongs to user " + std::to_string(info.st_uid));
    }
    if (::mkdir(partial.c_str(), mode) != 0 && errno != EEXIST) {
      return fail("cannot create " + partial + ": " + std::strerror(errno));
    }
  }
  if (::stat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
    return fail(path + " is not a folder");
  }
  return true;
}

}  // namespace zrb::platform
