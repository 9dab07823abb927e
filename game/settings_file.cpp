#include "game/settings_file.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "engine/files/file_channels.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/screen.h"
#include "engine/platform/player_folders.h"
#include "game/state.h"

namespace tundrel {
namespace {

constexpr int32_t kChannel = 1;
constexpr const char* kFileName = "settings.cfg";
constexpr const char* kUnfinishedSuffix = ".new";
constexpr const char* kDataFolderName = "tundrel";

// --fullscreen / --windowed choose the mode for this run only: unless the player switches it
// in the settings menu, the stored choice is written back unchanged.
int32_t storedFullScreen = 0;
std::optional<int32_t> runFullScreen;

void ReportNotStored(const std::string& path, const char* why) {
  const std::string text = "Settings not stored: " + path + ": " + why;
  std::fprintf(stderr, "tundrel: %s\n", text.c_str());
  zrb::AppendLogLine(text);
}

int32_t FullScreenToStore() {
  if (runFullScreen && fullScreen == *runFullScreen) return storedFullScreen;
  return fullScreen;
}

}  // namespace

SettingsLocation FindSettingsLocation(bool workingDirectoryWritable, const char* xdgDataHome,
                                      const char* home) {
  SettingsLocation location;
  if (workingDirectoryWritable) {
    location.readOrder = {kFileName};
    location.writePath = kFileName;
    return location;
  }
  const std::string dataHome = zrb::platform::XdgBaseFolder(xdgDataHome, home, ".local/share");
  if (!dataHome.empty()) {
    location.writePath = dataHome + "/" + kDataFolderName + "/" + kFileName;
    location.readOrder.push_back(location.writePath);
  }
  location.readOrder.push_back(kFileName);
  return location;
}

SettingsLocation CurrentSettingsLocation() {
  // An installed game never writes beside itself, whoever runs it.
  const bool hereWritable = !zrb::platform::RunsInstalled() && ::access(".", W_OK) == 0;
  return FindSettingsLocation(hereWritable, std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

void SetDefaultSettings() {
  fullScreen = 0;
  soundOn = 1;
  scanlinesOn = 0;
  easyMode = 0;
  highScore = 0;
  joypadEnabled = 0;
}

bool ReadSettingsFile(const SettingsLocation& location) {
  for (const std::string& name : location.readOrder) {
    if (zrb::OpenFile(kChannel, name, zrb::kOpenForRead) != 1) continue;
    if (zrb::FileSize(kChannel) < kSettingsFileBytes) {
      zrb::CloseFile(kChannel);
      continue;
    }
    zrb::ReadByte(kChannel, fullScreen);
    zrb::ReadByte(kChannel, soundOn);
    zrb::ReadByte(kChannel, scanlinesOn);
    zrb::ReadByte(kChannel, easyMode);
    zrb::ReadLong(kChannel, highScore);
    zrb::ReadLong(kChannel, joypadEnabled);
    zrb::CloseFile(kChannel);
    return true;
  }
  return false;
}

bool WriteSettingsFile(const std::string& path) {
  const std::filesystem::path target(path);
  std::error_code error;
  if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
  const std::string unfinished = path + kUnfinishedSuffix;
  if (zrb::OpenFile(kChannel, unfinished, zrb::kOpenForWrite) != 1) {
    ReportNotStored(path, "cannot create the file");
    return false;
  }
  zrb::WriteByte(kChannel, FullScreenToStore());
  zrb::WriteByte(kChannel, soundOn);
  zrb::WriteByte(kChannel, scanlinesOn);
  zrb::WriteByte(kChannel, easyMode);
  zrb::WriteLong(kChannel, highScore);
  zrb::WriteLong(kChannel, joypadEnabled);
  zrb::CloseFile(kChannel);
  std::filesystem::rename(unfinished, target, error);
  if (error) {
    std::filesystem::remove(unfinished, error);
    ReportNotStored(path, "cannot replace the old file");
    return false;
  }
  return true;
}

void LoadSettings() {
  if (!ReadSettingsFile(CurrentSettingsLocation())) SetDefaultSettings();
  storedFullScreen = fullScreen;
  runFullScreen.reset();
  if (const auto& chosen = zrb::EngineOptions().fullScreen) {
    runFullScreen = *chosen ? 1 : 0;
    fullScreen = *runFullScreen;
  }
  zrb::SetScreen(640, 480, fullScreen);
}

void SaveSettings() {
  const SettingsLocation location = CurrentSettingsLocation();
  if (location.writePath.empty()) {
    ReportNotStored(kFileName, "no writable folder (HOME is not set)");
    return;
  }
  WriteSettingsFile(location.writePath);
}

}  // namespace tundrel
