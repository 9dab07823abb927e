// Situations a scripted whole game rarely reaches, where the game keeps going instead of
// stalling (game/README.md lists them): webs that pull two penguins at once or vanish while
// pulling, a swap during a pull, a glide that misses its goal, mazes without a target for an
// enemy, cell draws that never hit floor, a bird beyond the bottom edge.
// The game runs on a headless engine with the real media; every presented frame's screen is
// counted.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "engine/files/resolver.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/run_setup.h"
#include "engine/graphics/sprites.h"
#include "engine/values/engine_array.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/enemies.h"
#include "game/game_main.h"
#include "game/maze.h"
#include "game/record_lists.h"
#include "game/state.h"
#include "game/webs_items.h"

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

void SetCell(int32_t column, int32_t row, int32_t code) {
  mazeGrid(column, row) = code;
  costGrid(column, row) = code >= 8 ? 0.0 : 9.0;
}

void PlacePenguins(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  penguin1.x = x1;
  penguin1.y = y1;
  penguin2.x = x2;
  penguin2.y = y2;
}

EnemyRecord& AddEnemyAt(int32_t type, double x, double y) {
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

int CountScreens(std::string_view name) {
  return static_cast<int>(std::count(g_screens.begin(), g_screens.end(), name));
}

// Each test starts from a clean game state, an open maze and a fixed random seed.
class EdgeCase : public ::testing::Test {
 protected:
  void SetUp() override {
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
};

// Walls everywhere except the given floor cells.
void BuildPocket(std::initializer_list<std::pair<int32_t, int32_t>> floorCells) {
  for (int32_t row = 0; row < kMazeRows; ++row) {
    for (int32_t column = 0; column < kMazeColumns; ++column)
      SetCell(column, row, 8);
  }
  for (const auto& [column, row] : floorCells)
    SetCell(column, row, 0);
}

EnemyRecord& StillBirdOn(const Penguin& penguin) {
  EnemyRecord& bird = AddEnemyAt(6, penguin.x, penguin.y);
  bird.dx = 0;
  bird.dy = 0;
  return bird;
}

TEST_F(EdgeCase, TwoPenguinsWalkingIntoOneWebAreBothPulledInAndHeld) {
  AddWeb(8, 5);  // at (304, 208), between the two
  PlacePenguins(318, 208, 290, 208);
  UpdateWebs();
  EXPECT_EQ(webs(0).pulling, 3);
  for (int i = 0; i < 30; ++i)
    UpdateWebs();
  EXPECT_EQ(penguin1.webState, 2);
  EXPECT_EQ(penguin2.webState, 2);
  EXPECT_EQ(penguin1.x, 304);
  EXPECT_EQ(penguin2.x, 304);
  EXPECT_EQ(webs(0).pulling, 0);
}

// A web that goes while it pulls or holds a penguin lets it go, whichever way it goes.
TEST_F(EdgeCase, AWebThatGoesLetsItsPenguinGo) {
  for (const int which : {1, 2}) {
    for (const bool holding : {false, true}) {
      for (const bool sprayed : {true, false}) {
        SCOPED_TRACE(::testing::Message() << "penguin " << which << (holding ? " held" : " pulled")
                                          << (sprayed ? ", sprayed" : ", torn down"));
        ClearRecords(webs);
        AddWeb(6, 5);  // at (240, 208)
        webs(0).active = 1;
        Penguin& caught = which == 1 ? penguin1 : penguin2;
        Penguin& other = which == 1 ? penguin2 : penguin1;
        (holding ? webs(0).holding : webs(0).pulling) = which;
        caught.webState = holding ? 2 : 1;
        caught.x = 246;
        caught.y = 212;
        other.x = sprayed ? 400 : 238;  // in power mode it walks into the web
        other.y = 208;
        if (sprayed) {
          SprayWebs(imgSpray, 0, 236, 215);
        } else {
          penguinSteps = 2;
          UpdateWebs();
          penguinSteps = 1;
        }
        EXPECT_EQ(RecordCount(webs), 0);
        EXPECT_EQ(caught.webState, 0);
      }
    }
  }
}

TEST_F(EdgeCase, APullInProgressGoesOnWithThePenguinThatNowStandsThere) {
  PlacePenguins(330, 304, 380, 290);
  AddWeb(11, 8);  // at (400, 304); penguin 2 is on its way in
  webs(0).pulling = 2;
  webs(0).active = 1;
  penguin2.webState = 1;
  StillBirdOn(penguin1);
  CheckEnemyContacts();
  EXPECT_EQ(penguin1.webState, 1);
  EXPECT_EQ(penguin2.webState, 0);
  EXPECT_EQ(webs(0).pulling, 1);
  for (int frame = 0; frame < 20; ++frame)
    UpdateWebs();
  EXPECT_EQ(penguin1.x, 400);
  EXPECT_EQ(penguin1.y, 304);
  EXPECT_EQ(penguin1.webState, 2);
  EXPECT_EQ(webs(0).holding, 1);
}

// The gliding copies follow a heading cut to whole degrees: far apart, a copy can pass its goal
// by more than the 7 pixels that end the glide.
TEST_F(EdgeCase, AGlideThatMissesItsGoalStillEnds) {
  const auto misses = [](int32_t dx, int32_t dy) {
    const double exact = std::atan2(dy, dx) * 180.0 / M_PI;
    const double cut = std::trunc(exact + 90) - 90;
    return std::hypot(dx, dy) * std::sin((exact - cut) * M_PI / 180.0) > 8.5;
  };
  int32_t dx = 200, dy = 0;
  while (!misses(dx, dy)) {
    dx += 2;
    if (dx > 448) dx = 200, dy += 2;
    ASSERT_LE(dy, 288);
  }
  PlacePenguins(80 + dx, 80 + dy, 80, 80);
  StillBirdOn(penguin1);
  CheckEnemyContacts();
  EXPECT_EQ(penguin1.x, 80);
  EXPECT_EQ(penguin2.x, 80 + dx);
  EXPECT_LE(CountScreens("swap"), std::hypot(dx, dy) / 3 + 3);
}

TEST_F(EdgeCase, AnEnemyWithoutAnAcceptableTargetWaitsUntilThereIsOne) {
  BuildPocket({{1, 1}, {2, 1}, {3, 1}});  // no cell four steps away
  SpawnSpiderAt(1, 1, 1, 0);
  for (int frame = 0; frame < 50; ++frame)
    UpdateEnemies(1);
  EXPECT_EQ(enemies(0).x, 80);
  EXPECT_EQ(enemies(0).y, 80);
  SetCell(4, 1, 0);
  UpdateEnemies(1);
  EXPECT_EQ(enemies(0).targetCellX, 4);
  EXPECT_EQ(enemies(0).moves, ">>>");

  // One cell four steps away at the edge of what an area and a kind of enemy may target: the
  // random draws mostly miss it, the scan that follows 200 misses takes it when it lies inside
  // (the last row and column) and leaves the enemy where it is when it lies one row beyond.
  const struct {
    int32_t column, firstRow, area, mode, expectedRow;
  } cases[] = {{16, 8, 0, 0, 11}, {16, 7, 0, 2, 7}, {16, 2, 3, 0, 2}, {9, 0, 1, 0, 0}};
  for (const auto& c : cases) {
    BuildPocket({});
    for (int32_t row = c.firstRow; row <= c.firstRow + 3; ++row)
      SetCell(c.column, row, 0);
    for (int n = 0; n < 20; ++n) {
      const CellTarget target = ChooseEnemyPath(c.column, c.firstRow, c.area, c.mode);
      EXPECT_EQ(target.x, c.column) << c.area << " " << c.mode;
      EXPECT_EQ(target.y, c.expectedRow) << c.area << " " << c.mode;
    }
  }
}

// Cell draws that only ever hit a wall end in a scan of the region, row by row, to its last row
// and column; a region without floor picks nothing.
TEST_F(EdgeCase, CellDrawsThatKeepMissingFallBackToTheRegionsFirstFloorCell) {
  BuildPocket({{5, 7}});
  const auto wall = [](int32_t& column, int32_t& row) { column = row = 0; };
  int32_t column = -1, row = -1;
  EXPECT_FALSE(PickFloorCell(wall, {2, 5, 3, 6}, column, row));
  EXPECT_FALSE(PickFloorCell(wall, {2, 4, 3, 7}, column, row));
  ASSERT_TRUE(PickFloorCell(wall, {2, 5, 3, 7}, column, row));
  EXPECT_EQ(column * 100 + row, 507);
}

TEST_F(EdgeCase, TheSprayKillsASpiderAFlameOnlyInPowerModeAndTurnsABirdOnceUntilItCalms) {
  // Each enemy alone, inside a cloud sprayed to the right (frame 0, 48 x 48).
  struct Case {
    int32_t type, penguinSteps;
    bool killed, turned;
  };
  const Case cases[] = {
      {0, 1, true, false}, {2, 1, false, false}, {2, 2, true, false}, {6, 1, false, true}};
  for (const Case& c : cases) {
    ResetGameState();
    penguinSteps = c.penguinSteps;
    AddEnemyAt(c.type, 208, 200).facing = 0;
    SprayEnemies(imgSpray, 0, 200, 192);
    EXPECT_EQ(RecordCount(enemies), c.killed ? 0 : 1) << c.type;
    EXPECT_EQ(score, c.killed ? 200 : 0) << c.type;
    EXPECT_EQ(birdCalm, c.turned ? 120 : 0) << c.type;
    if (!c.turned) continue;
    EXPECT_EQ(enemies(0).facing, 2);  // turned back, heading away up and left
    EXPECT_LT(enemies(0).dx, 0);
    SprayEnemies(imgSpray, 0, 200, 192);  // calm: the next cloud does not turn it again
    EXPECT_EQ(enemies(0).facing, 2);
  }
  RemoveRecord(enemies, -1);  // a place past either end of a list removes nothing
  RemoveRecord(enemies, RecordCount(enemies));
  EXPECT_EQ(RecordCount(enemies), 1);
}

TEST_F(EdgeCase, ABirdBelowTheBottomEdgeKeepsHeadingUp) {
  EnemyRecord& bird = AddEnemyAt(6, 300, 368.8);
  bird.dx = 0.6;
  bird.dy = 0.8;
  for (int step = 0; step < 6; ++step) {
    UpdateEnemies(1);
    EXPECT_LT(enemies(0).dy, 0);
  }
  EXPECT_LT(enemies(0).y, 368);
}

}  // namespace
}  // namespace tundrel::testing
