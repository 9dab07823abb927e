// The game's entry: engine set-up, arrays, stored layouts, media, settings, the menu, the end.
#include "game/game_main.h"

#include <string>

#include "engine/audio/sound.h"
#include "engine/files/resolver.h"
#include "engine/frame/screen.h"
#include "engine/frame/show_screen.h"
#include "engine/graphics/sprites.h"
#include "engine/input/input.h"
#include "engine/values/data_block.h"
#include "game/catalogue.h"
#include "game/check_media.h"
#include "game/front_end.h"
#include "game/player_options.h"
#include "game/replay_files.h"
#include "game/settings_file.h"
#include "game/state.h"

namespace tundrel {
namespace {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
constexpr int32_t kBlack = 0;

}  // namespace

void PrepareGameData() {
  zrb::DimArray(mazeGrid, kMazeColumns, kMazeRows);
  zrb::DimArray(costGrid, kMazeColumns, kMazeRows);
  zrb::DimArray(pathResult, 0);
  zrb::DimArray(levelTable, kStoredLayouts * kLayoutCodes);
  zrb::RestoreData(levelData);
  for (int32_t i = 0; i < kStoredLayouts * kLayoutCodes; ++i) {
    int32_t code = 0;
    zrb::ReadData(code);
    levelTable(i) = code;
  }
  zrb::DimArray(keyHeld, 256);
}

void LoadCatalogue() {
  for (const ImageEntry& image : ImageCatalogue()) {
    if (image.frameWidth > 0) {
      zrb::LoadAnim(image.file, image.slot, image.frameWidth, image.frameHeight);
    } else {
      zrb::LoadSprite(image.file, image.slot);
    }
  }
  for (const SoundEntry& sound : SoundCatalogue()) {
    zrb::LoadSound(sound.file, sound.slot, 1);
  }
}

int GameMain() {
  zrb::SetMediaArchive("Media.sbx", "Media.sbx");
  zrb::AllowEscape(0);
  zrb::AutoPause(0);
  // A --fullscreen run goes straight to full screen instead of through a window first.
  zrb::SetScreen(kScreenWidth, kScreenHeight, zrb::EngineOptions().fullScreen.value_or(false));
  zrb::SetTransparentColour(kBlack);
  zrb::ShowMousePointer(0);
  PrepareGameData();
  LoadCatalogue();
  if (zrb::EngineOptions().checkMedia) zrb::EndProgram(ReportMediaCheck() ? 0 : 1);
  WarnAboutMissingImages();
  round = 1;
  LoadSettings();
  ApplyJoypadOption();
  NoteReplayStart();
  MainMenu();
  SaveSettings();
  return 0;
}

void ProjectSettings(zrb::ProjectSettings& settings) {
  settings.width = kScreenWidth;
  settings.height = kScreenHeight;
  settings.frameRate = 60;
  settings.fullScreen = false;
  settings.debug = false;
  settings.exclusiveMouse = false;
  settings.multisample = false;
  settings.caption = "Tundrel";
}

const char* BuildStamp() {
  return TUNDREL_BUILD_STAMP;
}

const char* VersionText() {
  static const std::string text = std::string("1.0 (") + kProgramIdentifier + ")";
  return text.c_str();
}

}  // namespace tundrel
