#include "game/settings_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <set>
#include <vector>

#include "engine/files/file_channels.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/screen.h"
#include "engine/platform/file_access.h"
#include "engine/platform/file_calls.h"
#include "engine/platform/player_folders.h"
#include "engine/platform/replay.h"
#include "game/state.h"

namespace tundrel {
namespace {

constexpr int32_t kChannel = 1;
constexpr const char* kFileName = "settings.cfg";
constexpr const char* kDataFolderName = "tundrel";

// --fullscreen / --windowed choose the mode for this run only: unless the player switches it
// in the settings menu, the stored choice is written back unchanged.
int32_t storedFullScreen = 0;
std::optional<int32_t> runFullScreen;

// Settings files that exist but could not be read at start (say, left unreadable by a run
// under another user): they may hold a high score, so this run never replaces them.
std::set<std::string> keptFiles;

// The settings file this run read and its bytes, or what it last stored there: a file that
// holds anything else at the save was written by another game meanwhile.
std::string readPath;
std::string readBytes;

int32_t LoadLittleEndian(const uint8_t* bytes) {
  uint32_t bits = 0;
  for (int i = 3; i >= 0; --i)
    bits = (bits << 8) | bytes[i];
  return static_cast<int32_t>(bits);
}

void TakeSettings(const uint8_t* bytes) {
  fullScreen = static_cast<int8_t>(bytes[0]);
  soundOn = static_cast<int8_t>(bytes[1]);
  scanlinesOn = static_cast<int8_t>(bytes[2]);
  easyMode = static_cast<int8_t>(bytes[3]);
  highScore = LoadLittleEndian(bytes + 4);
  joypadEnabled = LoadLittleEndian(bytes + 8);
}

// The first 12 bytes of an opened settings file (fewer when it is shorter); "" in `problem`
// unless reading failed.
std::string ReadSettingsBytes(int fd, std::string* problem) {
  std::string bytes(kSettingsFileBytes, '\0');
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) {
      *problem = std::strerror(errno);
      break;
    }
    if (got == 0) break;
    done += static_cast<size_t>(got);
  }
  bytes.resize(done);
  return bytes;
}

void ReportNotStored(const std::string& path, const char* why) {
  const std::string text = "Settings not stored: " + path + ": " + why;
  std::fprintf(stderr, "tundrel: %s\n", text.c_str());
  zrb::AppendLogLine(text);
}

void ReportNotRead(const std::string& path, const std::string& why) {
  const std::string text = "Settings not read: " + path + ": " + why +
                           "; the file is kept and this run's settings will not replace it";
  std::fprintf(stderr, "tundrel: %s\n", text.c_str());
  zrb::AppendLogLine(text);
}

void StoreLittleEndian(uint8_t* bytes, int32_t value) {
  const auto bits = static_cast<uint32_t>(value);
  for (int i = 0; i < 4; ++i)
    bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
}

int32_t FullScreenToStore() {
  if (runFullScreen && fullScreen == *runFullScreen) return storedFullScreen;
  return fullScreen;
}

void SettingsBytes(uint8_t* bytes, int32_t full) {
  bytes[0] = static_cast<uint8_t>(full);
  bytes[1] = static_cast<uint8_t>(soundOn);
  bytes[2] = static_cast<uint8_t>(scanlinesOn);
  bytes[3] = static_cast<uint8_t>(easyMode);
  StoreLittleEndian(bytes + 4, highScore);
  StoreLittleEndian(bytes + 8, joypadEnabled);
}

// A replay being played starts from the settings it recorded, never from the player's.
bool ReadReplaySettings() {
  std::vector<uint8_t> bytes;
  if (!zrb::platform::ReplayStartFile(kFileName, &bytes) || bytes.size() < kSettingsFileBytes)
    return false;
  TakeSettings(bytes.data());
  return true;
}

}  // namespace

SettingsLocation FindSettingsLocation(bool workingDirectoryWritable, const std::string& dataHome) {
  SettingsLocation location;
  if (workingDirectoryWritable) {
    location.readOrder = {kFileName};
    location.writePath = kFileName;
    return location;
  }
  if (!dataHome.empty()) {
    location.writePath = dataHome + "/" + kDataFolderName + "/" + kFileName;
    location.readOrder.push_back(location.writePath);
  }
  location.readOrder.push_back(kFileName);
  return location;
}

SettingsLocation CurrentSettingsLocation() {
  // An installed game never writes beside itself, whoever runs it.
  const bool hereWritable = !zrb::platform::RunsInstalled() && zrb::platform::FolderIsWritable(".");
  return FindSettingsLocation(hereWritable, zrb::platform::PlayerDataHome());
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
  keptFiles.clear();
  readPath.clear();
  readBytes.clear();
  for (const std::string& name : location.readOrder) {
    // Only a missing file means "no settings here"; the file channels would take anything
    // they cannot open or read for missing, or end the program at a failed read.
    const zrb::platform::OpenedFile disk = zrb::platform::OpenRegularFile(name);
    std::string problem = disk.problem;
    if (disk.outcome == zrb::platform::OpenOutcome::kOpened) {
      const std::string bytes = ReadSettingsBytes(disk.fd.Get(), &problem);
      if (problem.empty()) {
        if (bytes.size() < kSettingsFileBytes) continue;
        TakeSettings(reinterpret_cast<const uint8_t*>(bytes.data()));
        readPath = name;
        readBytes = bytes;
        return true;
      }
    }
    if (!problem.empty()) {
      ReportNotRead(name, problem);
      keptFiles.insert(name);
      continue;
    }
    // Nothing on disk: the media archive may still hold one.
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
  if (keptFiles.count(path) != 0) {
    ReportNotStored(path, "it could not be read at start, so it is kept as it was");
    return false;
  }
  std::string problem;
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0 &&
      !zrb::platform::MakeFolders(path.substr(0, slash), 0700, &problem)) {
    ReportNotStored(path, problem.c_str());
    return false;
  }
  std::vector<uint8_t> bytes(kSettingsFileBytes);
  // Another game that ended meanwhile (two started in one folder) may have stored a higher
  // score: it is kept; the rest of the settings are this game's.
  const auto make = [&](const std::optional<std::string>& current) {
    int32_t stored = highScore;
    if (current && current->size() >= kSettingsFileBytes &&
        !(path == readPath && *current == readBytes)) {
      const int32_t theirs =
          LoadLittleEndian(reinterpret_cast<const uint8_t*>(current->data()) + 4);
      if (theirs > stored) stored = theirs;
    }
    SettingsBytes(bytes.data(), FullScreenToStore());
    StoreLittleEndian(bytes.data() + 4, stored);
    return bytes;
  };
  if (!zrb::platform::UpdateFile(path, kSettingsFileBytes, make, &problem)) {
    ReportNotStored(path, problem.c_str());
    return false;
  }
  readPath = path;
  readBytes.assign(bytes.begin(), bytes.end());
  return true;
}

void LoadSettings() {
  if (zrb::platform::PlayingReplay()) {
    if (!ReadReplaySettings()) SetDefaultSettings();
  } else if (!ReadSettingsFile(CurrentSettingsLocation())) {
    SetDefaultSettings();
  }
  storedFullScreen = fullScreen;
  runFullScreen.reset();
  if (const auto& chosen = zrb::EngineOptions().fullScreen) {
    runFullScreen = *chosen ? 1 : 0;
    fullScreen = *runFullScreen;
  }
  zrb::SetScreen(640, 480, fullScreen);
}

void KeepSettingsInReplay() {
  uint8_t bytes[kSettingsFileBytes];
  SettingsBytes(bytes, fullScreen);
  zrb::platform::KeepStartFile(kFileName, std::vector<uint8_t>(bytes, bytes + kSettingsFileBytes));
}

void SaveSettings() {
  // A replay shows a game again: it never changes the player's settings or high score.
  if (zrb::platform::PlayingReplay()) return;
  const SettingsLocation location = CurrentSettingsLocation();
  if (location.writePath.empty()) {
    ReportNotStored(kFileName, "no writable folder (HOME is not set)");
    return;
  }
  WriteSettingsFile(location.writePath);
}

void SaveSettingsInBrowser() {
#ifdef __EMSCRIPTEN__
  SaveSettings();
#endif
}

}  // namespace tundrel
