// The program's entry: hands the game program to the engine, which never returns.
#include "engine/frame/engine_main.h"
#include "engine/platform/console.h"
#include "game/controls.h"
#include "game/game_main.h"
#include "game/player_options.h"
#include "game/replay_files.h"
#ifndef __EMSCRIPTEN__
#include "game/window_icon.h"
#endif

namespace {

// Where an installed game finds Media.sbx: the build's install layout, compiled in. The
// relative folder keeps a game installed under another prefix (cmake --install --prefix)
// working; the absolute one a program copied elsewhere.
const zrb::platform::InstallLayout kInstallLayout = {
    .dataFile = "Media.sbx",
    .dataFolderFromProgram = TUNDREL_DATA_FROM_PROGRAM,
    .dataFolder = TUNDREL_DATA_FOLDER,
    .folderName = "tundrel",
    .picturesFolderName = "Tundrel",
};

}  // namespace

int main(int argc, char** argv) {
  zrb::platform::PrepareCommandLine(&argc, &argv);
  zrb::GameProgram program;
  program.name = "tundrel";
  program.version = tundrel::VersionText();
  program.playingHelp = tundrel::ControlsHelpText();
  program.projectSettings = &tundrel::ProjectSettings;
  program.gameMain = &tundrel::GameMain;
  program.traceFrame = &tundrel::TraceFrame;
  program.install = &kInstallLayout;
#ifndef __EMSCRIPTEN__
  // In a browser the page's icon stands for the game.
  program.iconPng = tundrel::kWindowIconPng;
  program.iconPngSize = tundrel::kWindowIconPngSize;
#endif
  program.displayModeKey = &tundrel::ToggleFullScreen;
  program.keepReplay = &tundrel::KeepReplay;
  return zrb::EngineMain(argc, argv, program);
}
