#include "gameplay_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "engine/files/resolver.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/run_setup.h"
#include "engine/graphics/sprites.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/game_main.h"
#include "game/record_lists.h"

namespace tundrel::testing {
namespace {

std::vector<std::string> g_screens;

void RecordFrame(zrb::TraceWriter& trace) {
  g_screens.emplace_back(screenName);
  trace.String("screen", screenName);
}

// The engine lives for the whole test program: start-up once, headless, with the real media.
void StartEngineOnce() {
  static bool started = false;
  if (started) return;
  started = true;
  zrb::CommandLineOptions options;
  options.headless = true;
  options.seed = 1;
  // Frames are traced so that the game's trace hook sees every presented frame.
  options.tracePath =
      (std::filesystem::temp_directory_path() / ("gameplay_trace_" + std::to_string(getpid())))
          .string();
  std::string error;
  if (!zrb::frame::PrepareRun(&options, &error)) {
    std::fprintf(stderr, "gameplay tests: %s\n", error.c_str());
    std::abort();
  }
  zrb::GameProgram program;
  program.name = "gameplay_tests";
  program.traceFrame = &RecordFrame;
  zrb::ProjectSettings settings;
  ProjectSettings(settings);
  if (!zrb::EngineInit(settings, options, program)) std::abort();
  zrb::SetMediaArchive(TUNDREL_MEDIA_ARCHIVE, TUNDREL_MEDIA_ARCHIVE);
  zrb::SetTransparentColour(0);
  zrb::DimArray(mazeGrid, kMazeColumns, kMazeRows);
  zrb::DimArray(costGrid, kMazeColumns, kMazeRows);
  LoadCatalogue();
  std::filesystem::remove(options.tracePath);
}

// What the edge cases read, as a round in progress has it; each test sets the rest itself.
void ResetGameState() {
  soundOn = 1;
  easyMode = 0;
  score = 0;
  lossReason = 0;
  bonusRound = 0;
  penguinSteps = 1;
  enemySteps = 1;
  birdCalm = 0;
  birdTouched = 0;
  penguin1 = Penguin{};
  penguin2 = Penguin{};
  sideSwap = 0;
  ClearRecords(enemies);
  ClearRecords(webs);
  ClearRecords(items);
  ClearRecords(floaters);
  ClearRecords(sparkles);
  zrb::RedimArray(pathResult, 0);
  screenName = "test";
}

}  // namespace

void GameplayTest::SetUp() {
  StartEngineOnce();
  ResetGameState();
  zrb::SeedRandom(12345);
  for (int32_t row = 0; row < kMazeRows; ++row) {
    for (int32_t column = 0; column < kMazeColumns; ++column) {
      const bool border =
          row == 0 || row == kMazeRows - 1 || column == 0 || column == kMazeColumns - 1;
      SetCell(column, row, border ? 9 : 0);
    }
  }
  PlacePenguins(336, 368, 272, 368);
  penguin2.dirBase = 10;
  g_screens.clear();
}

int GameplayTest::CountScreens(std::string_view name) {
  return static_cast<int>(std::count(g_screens.begin(), g_screens.end(), name));
}

void GameplayTest::SetCell(int32_t column, int32_t row, int32_t code) {
  mazeGrid(column, row) = code;
  costGrid(column, row) = code >= 8 ? 0.0 : 9.0;
}

void GameplayTest::PlacePenguins(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  penguin1.x = x1;
  penguin1.y = y1;
  penguin2.x = x2;
  penguin2.y = y2;
}

EnemyRecord& GameplayTest::AddEnemyAt(int32_t type, double x, double y) {
  EnemyRecord enemy;
  enemy.type = type;
  enemy.x = x;
  enemy.y = y;
  enemy.stepCountdown = 32;
  enemy.speed = 1;
  enemy.targetCellX = (static_cast<int32_t>(x) - 48) / 32;
  enemy.targetCellY = (static_cast<int32_t>(y) - 48) / 32;
  zrb::AppendArray(enemies, enemy);
  return enemies(RecordCount(enemies) - 1);
}

}  // namespace tundrel::testing
