#include "engine/platform/player_folders.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "engine/platform/paths.h"
#include "engine/platform/utf8_path.h"

namespace zrb::platform {
namespace {

constexpr unsigned kPicturesFolderMode = 0755;
// The base-directory rules ask for folders only their owner can enter.
constexpr unsigned kPrivateFolderMode = 0700;

std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

bool HoldsFile(const std::filesystem::path& folder, const char* name) {
  std::error_code error;
  return std::filesystem::is_regular_file(folder / PathOf(name), error);
}

PlayerFolders& Current() {
  static PlayerFolders folders;
  return folders;
}

}  // namespace

std::string FindDataFolder(const std::string& programFolder, const InstallLayout& layout) {
  if (!layout.dataFile) return {};
  if (HoldsFile(PathOf(programFolder), layout.dataFile)) return programFolder;
  if (layout.dataFolderFromProgram) {
    const auto relative =
        (PathOf(programFolder) / PathOf(layout.dataFolderFromProgram)).lexically_normal();
    if (HoldsFile(relative, layout.dataFile)) return WithoutTrailingSlashes(TextOf(relative));
  }
  if (layout.dataFolder && HoldsFile(PathOf(layout.dataFolder), layout.dataFile)) {
    return WithoutTrailingSlashes(layout.dataFolder);
  }
  return {};
}

void SetPlayerFolders(PlayerFolders folders) {
  std::string problem;
  if (!folders.log.empty() && !MakeFolders(folders.log, kPrivateFolderMode, &problem)) {
    std::fprintf(stderr, "log: %s; it goes to %sErrorLog.txt instead\n", problem.c_str(),
                 TemporaryDirectory().c_str());
    folders.log.clear();
  }
  Current() = std::move(folders);
}

const PlayerFolders& CurrentPlayerFolders() {
  return Current();
}

bool RunsInstalled() {
  return Current().installed;
}

std::string LogFolder() {
  const std::string& log = Current().log;
  return log.empty() ? TemporaryDirectory() : log;
}

std::string ScreenshotFolder() {
  const PlayerFolders& folders = Current();
  // Run from its own folder, a program without a pictures folder of the system's (POSIX) keeps
  // them in its working folder.
  if (!folders.installed && folders.pictures.empty()) return {};
  // Without a home there is no pictures folder; the log's folder is the player's own.
  std::string folder = folders.pictures.empty() ? LogFolder() : folders.pictures;
  std::string problem;
  if (!MakeFolders(folder, kPicturesFolderMode, &problem) && folder != LogFolder()) {
    folder = LogFolder();
    std::fprintf(stderr, "screenshot: %s; the picture goes to %s instead\n", problem.c_str(),
                 folder.c_str());
  }
  return WithoutTrailingSlashes(folder) + "/";
}

}  // namespace zrb::platform
