#include "game/replay_files.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <span>
#include <system_error>

#include "engine/frame/engine_main.h"
#include "engine/platform/file_access.h"
#include "engine/platform/file_calls.h"
#include "engine/platform/utf8_path.h"
#include "game/settings_file.h"
#include "game/state.h"

namespace tundrel {
namespace {

int32_t startHighScore = 0;
// The best of the run before this one has been kept as the previous best: the run's later
// keeps (the end of each game, the program's end) only write the best again.
bool bestMoved = false;

void ReportNotKept(const std::string& what, const std::string& why) {
  const std::string text = "Replay not kept: " + what + ": " + why;
  std::fprintf(stderr, "tundrel: %s\n", text.c_str());
  zrb::AppendLogLine(text);
}

// The settings' folder's "replays", made when missing; "" (reported) when it cannot be used. A
// link or anything else in its place is left alone: the replays never go through it.
std::string ReplayFolder() {
  const std::string settings = CurrentSettingsLocation().writePath;
  if (settings.empty()) {
    ReportNotKept("replays", "no writable folder (HOME is not set)");
    return {};
  }
  const std::filesystem::path parent = zrb::platform::PathOf(settings).parent_path();
  const std::string folder =
      zrb::platform::TextOf(parent.empty() ? std::filesystem::path("replays") : parent / "replays");
  std::error_code error;
  std::filesystem::create_directories(zrb::platform::PathOf(folder), error);
  const std::filesystem::file_status status =
      std::filesystem::symlink_status(zrb::platform::PathOf(folder), error);
  if (error) {
    ReportNotKept(folder, error.message());
    return {};
  }
  if (status.type() != std::filesystem::file_type::directory) {
    ReportNotKept(folder, "it is not a folder");
    return {};
  }
  return folder;
}

bool Write(const std::string& path, const std::string& replay) {
  std::string problem;
  const auto* bytes = reinterpret_cast<const uint8_t*>(replay.data());
  if (zrb::platform::ReplaceFile(path, std::span<const uint8_t>(bytes, replay.size()), &problem))
    return true;
  ReportNotKept(path, problem);
  return false;
}

}  // namespace

void NoteReplayStart() {
  KeepSettingsInReplay();
  startHighScore = highScore;
  bestMoved = false;
}

void KeepReplay(const std::string& replay) {
  const std::string folder = ReplayFolder();
  if (folder.empty()) return;
  Write(folder + "/" + kLastReplay, replay);
  if (highScore <= startHighScore) return;
  const std::string best = folder + "/" + kBestReplay;
  // rename moves a link itself, never what it points to.
  if (!bestMoved && !zrb::platform::RenameFile(best, folder + "/" + kPreviousBestReplay) &&
      errno != ENOENT) {
    ReportNotKept(best, std::strerror(errno));
    return;
  }
  bestMoved = true;
  Write(best, replay);
}

}  // namespace tundrel
