// The program's entry: hands the game program to the engine, which never returns.
#include "engine/frame/engine_main.h"
#include "game/game_main.h"

int main(int argc, char** argv) {
  zrb::GameProgram program;
  program.name = "tundrel";
  program.version = tundrel::VersionText();
  program.projectSettings = &tundrel::ProjectSettings;
  program.gameMain = &tundrel::GameMain;
  program.traceFrame = &tundrel::TraceFrame;
  return zrb::EngineMain(argc, argv, program);
}
