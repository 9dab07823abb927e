// <windows.h> first: the other system headers build on its types.
#include <windows.h>

#include <shlobj.h>

#include <string>

#include "engine/platform/player_folders.h"
#include "engine/platform/windows_text.h"

namespace zrb::platform {
namespace {

std::string KnownFolder(REFKNOWNFOLDERID id) {
  PWSTR wide = nullptr;
  std::string path;
  if (::SHGetKnownFolderPath(id, KF_FLAG_DEFAULT, nullptr, &wide) == S_OK) path = Utf8(wide);
  ::CoTaskMemFree(wide);
  for (char& c : path) {
    if (c == '\\') c = '/';
  }
  while (path.size() > 3 && path.back() == '/')
    path.pop_back();
  return path;
}

}  // namespace

Environment Environment::Current() {
  return {};
}

std::string PlayerDataHome() {
  return KnownFolder(FOLDERID_RoamingAppData);
}

std::string ReadUserDirsFile(const Environment&) {
  return {};
}

// An unpacked game keeps its files beside itself, as long as its folder may be written (the
// settings choose by themselves); F12 pictures go to the player's Pictures folder and the log
// to the temporary folder.
PlayerFolders ChoosePlayerFolders(const std::string& programFolder, const InstallLayout& layout,
                                  const Environment&, std::string_view) {
  PlayerFolders folders;
  folders.dataFolder = FindDataFolder(programFolder, layout);
  if (folders.dataFolder.empty()) folders.dataFolder = programFolder;
  folders.installed = folders.dataFolder != programFolder;
  const std::string data = PlayerDataHome();
  if (!data.empty() && layout.folderName) folders.playerData = data + "/" + layout.folderName;
  const std::string pictures = KnownFolder(FOLDERID_Pictures);
  if (!pictures.empty() && layout.picturesFolderName) {
    folders.pictures = pictures + "/" + layout.picturesFolderName;
  }
  return folders;
}

bool MakeFolders(const std::string& path, unsigned, std::string* problem) {
  const auto fail = [&](const std::string& why) {
    if (problem) *problem = why;
    return false;
  };
  if (path.empty()) return fail("no folder named");
  for (size_t at = path.find_first_of("/\\", 1);; at = path.find_first_of("/\\", at + 1)) {
    const std::string partial = path.substr(0, at);
    const DWORD attributes = ::GetFileAttributesW(Wide(partial).c_str());
    // "C:" and "//server/share" are no folders to make.
    if (attributes == INVALID_FILE_ATTRIBUTES && partial.back() != ':' &&
        !::CreateDirectoryW(Wide(partial).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
      FailWithLastError();
      return fail("cannot create " + partial);
    }
    if (at == std::string::npos) break;
  }
  const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return fail(path + " is not a folder");
  }
  return true;
}

}  // namespace zrb::platform
