#include <set>
#include <utility>

#include "engine/audio/music.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/enemies.h"
#include "game/maze.h"
#include "game/record_lists.h"
#include "game/webs_items.h"
#include "gameplay_fixture.h"

namespace tundrel::testing {
namespace {

using EnemiesTest = GameplayTest;

// Walls everywhere except the given floor cells.
void BuildPocket(std::initializer_list<std::pair<int32_t, int32_t>> floorCells) {
  for (int32_t row = 0; row < 12; ++row) {
    for (int32_t column = 0; column < 17; ++column) {
      mazeGrid(column, row) = row == 0 || row == 11 || column == 0 || column == 16 ? 9 : 8;
      costGrid(column, row) = 0;
    }
  }
  for (const auto& [column, row] : floorCells) {
    mazeGrid(column, row) = 0;
    costGrid(column, row) = 9;
  }
}

TEST_F(EnemiesTest, TargetsAreFloorOfTheAreaAtTheEndOfAPathOfFourCellsOrMore) {
  BuildMaze(1);
  ClearRecords(webs);
  struct Case {
    int32_t area, mode, firstColumn, lastColumn, lastRow;
  };
  for (const Case& c : {Case{0, 0, 0, 16, 11}, Case{1, 0, 0, 8, 11}, Case{2, 0, 8, 16, 11},
                        Case{3, 0, 0, 16, 4}, Case{0, 2, 0, 16, 9}, Case{2, 2, 8, 16, 9}}) {
    for (int n = 0; n < 100; ++n) {
      const int32_t startX = c.area == 2 ? 13 : 3;
      const int32_t startY = 4;
      const CellTarget target = ChooseEnemyPath(startX, startY, c.area, c.mode);
      ASSERT_FALSE(target.x == startX && target.y == startY);
      EXPECT_EQ(mazeGrid(target.x, target.y), 0);
      EXPECT_GE(target.x, c.firstColumn);
      EXPECT_LE(target.x, c.lastColumn);
      EXPECT_LE(target.y, c.lastRow);
      const int32_t cells = zrb::ArraySize(pathResult, 0);
      ASSERT_GE(cells, 4);
      EXPECT_EQ(pathResult(0, 0), startX);
      EXPECT_EQ(pathResult(0, 1), startY);
      EXPECT_EQ(pathResult(cells - 1, 0), target.x);
      EXPECT_EQ(pathResult(cells - 1, 1), target.y);
      EXPECT_EQ(static_cast<int32_t>(PathToMoves(startX, startY).Length()), cells - 1);
    }
  }
}

TEST_F(EnemiesTest, ShortPathsAreRejected) {
  // A corridor of four cells: from its end only the far end lies four cells away.
  BuildPocket({{1, 1}, {2, 1}, {3, 1}, {4, 1}});
  for (int n = 0; n < 30; ++n) {
    const CellTarget target = ChooseEnemyPath(1, 1, 0, 0);
    EXPECT_EQ(target.x, 4);
    EXPECT_EQ(target.y, 1);
    EXPECT_EQ(PathToMoves(1, 1), ">>>");
  }
}

TEST_F(EnemiesTest, AMazeWithoutAnAcceptableTargetLeavesTheEnemyWhereItIs) {
  BuildPocket({{1, 1}, {2, 1}, {3, 1}});
  const CellTarget target = ChooseEnemyPath(1, 1, 0, 0);
  EXPECT_EQ(target.x, 1);
  EXPECT_EQ(target.y, 1);
  EXPECT_EQ(zrb::ArraySize(pathResult, 0), 0);
  EXPECT_EQ(PathToMoves(1, 1), "");

  // A spider spawned there stands still and keeps looking, frame after frame.
  SpawnSpiderAt(1, 1, 1, 0);
  ASSERT_EQ(RecordCount(enemies), 1);
  for (int frame = 0; frame < 50; ++frame)
    UpdateEnemies(1);
  EXPECT_EQ(enemies(0).x, 80);
  EXPECT_EQ(enemies(0).y, 80);

  // Once the wall opens, it finds its way.
  SetCell(4, 1, 0);
  UpdateEnemies(1);
  EXPECT_EQ(enemies(0).targetCellX, 4);
  EXPECT_EQ(enemies(0).moves, ">>>");
}

TEST_F(EnemiesTest, WhenRandomDrawsKeepMissingTheScanStillFindsTheOneTarget) {
  // One acceptable cell among 204 for area 0: the draws may miss it, the scan does not.
  BuildPocket({{15, 10}, {15, 9}, {15, 8}, {15, 7}});
  for (int n = 0; n < 20; ++n) {
    const CellTarget target = ChooseEnemyPath(15, 10, 0, 0);
    EXPECT_EQ(target.x, 15);
    EXPECT_EQ(target.y, 7);
  }
}

TEST_F(EnemiesTest, PathToMovesSpellsEachStep) {
  zrb::DimArray(pathResult, 5, 2);
  const int32_t path[5][2] = {{2, 2}, {3, 2}, {3, 3}, {2, 3}, {2, 2}};
  for (int32_t i = 0; i < 5; ++i) {
    pathResult(i, 0) = path[i][0];
    pathResult(i, 1) = path[i][1];
  }
  EXPECT_EQ(PathToMoves(2, 2), ">|<^");
}

TEST_F(EnemiesTest, SpawnListsPlaceTheirEnemies) {
  BuildMaze(14);
  ClearRecords(webs);
  SpawnRoundEnemies(2);
  ASSERT_EQ(RecordCount(enemies), 2);
  EXPECT_EQ(enemies(1).x, 48 + 32 * 3);
  EXPECT_EQ(enemies(1).area, 1);
  ClearRecords(enemies);

  SpawnRoundEnemies(15);
  ASSERT_EQ(RecordCount(enemies), 8);
  int spiders = 0, birds = 0, flames = 0;
  for (int32_t i = 0; i < 8; ++i) {
    const EnemyRecord& enemy = enemies(i);
    spiders += enemy.type == 0;
    birds += enemy.type == 6;
    flames += enemy.type == 2;
    const int32_t column = (static_cast<int32_t>(enemy.x) - 48) / 32;
    const int32_t row = (static_cast<int32_t>(enemy.y) - 48) / 32;
    EXPECT_EQ(mazeGrid(column, row), 0);
    EXPECT_LE(row, enemy.area == 3 ? 4 : 5);
    if (enemy.area == 1) {
      EXPECT_LE(column, 8);
    }
    if (enemy.area == 2) {
      EXPECT_GE(column, 8);
    }
    EXPECT_NEAR(enemy.dx * enemy.dx + enemy.dy * enemy.dy, 1.0, 1e-9);
    EXPECT_EQ(enemy.stepCountdown, 32);
  }
  EXPECT_EQ(spiders, 5);
  EXPECT_EQ(birds, 1);
  EXPECT_EQ(flames, 2);
  ClearRecords(enemies);
  SpawnRoundEnemies(3);
  SpawnRoundEnemies(21);
  EXPECT_EQ(RecordCount(enemies), 0);
}

TEST_F(EnemiesTest, WalkersGoCellByCellAndAnimate) {
  EnemyRecord& flame = AddEnemyAt(2, 208, 208);
  flame.moves = "<>";
  flame.targetCellX = 5;
  flame.targetCellY = 5;
  for (int step = 0; step < 31; ++step)
    UpdateEnemies(1);
  EXPECT_EQ(enemies(0).x, 177);
  EXPECT_EQ(enemies(0).facing, 12);
  EXPECT_EQ(enemies(0).moves, "<>");
  EXPECT_EQ(enemies(0).animFrame, 1);  // every 18 steps
  UpdateEnemies(1);
  EXPECT_EQ(enemies(0).moves, ">");
  EXPECT_EQ(enemies(0).stepCountdown, 32);
  UpdateEnemies(1);
  EXPECT_EQ(enemies(0).facing, 0);
  EXPECT_EQ(enemies(0).x, 177);
  for (int step = 0; step < 31; ++step)
    UpdateEnemies(1);
  // Back on its target cell: a new path from there.
  EXPECT_EQ(enemies(0).x, 208);
  EXPECT_FALSE(enemies(0).moves.Empty());
  EXPECT_GE(enemies(0).moves.Length(), 3u);
  EXPECT_EQ(enemies(0).animFrame, 3);

  // Drawing without moving changes nothing.
  const double x = enemies(0).x;
  UpdateEnemies(0);
  EXPECT_EQ(enemies(0).x, x);
}

TEST_F(EnemiesTest, HurryUpDoublesTheStepsOnceTheTimerFallsBelow18000) {
  EnemyRecord& spider = AddEnemyAt(0, 208, 208);
  spider.moves = ">>>>";
  timer = 18000;
  zrb::PlayMusic(kInGameMusic, 1);
  UpdateEnemies(1);
  EXPECT_EQ(enemySteps, 1);
  EXPECT_EQ(enemies(0).x, 209);
  timer = 17999;
  UpdateEnemies(0);
  EXPECT_EQ(enemySteps, 1);
  UpdateEnemies(1);
  EXPECT_EQ(enemySteps, 2);
  EXPECT_EQ(enemies(0).x, 210);
  EXPECT_EQ(zrb::MusicPlaying(), 1);
  UpdateEnemies(1);
  EXPECT_EQ(enemies(0).x, 212);

  enemySteps = 1;
  bonusRound = 1;
  UpdateEnemies(1);
  EXPECT_EQ(enemySteps, 1);
}

TEST_F(EnemiesTest, BirdsBounceOffTheEdgesOfTheField) {
  EnemyRecord& bird = AddEnemyAt(6, 79.5, 200);
  bird.dx = -0.5;
  bird.dy = 0.5;
  bird.facing = 2;
  UpdateEnemies(1);
  EXPECT_GT(enemies(0).dx, 0);
  EXPECT_EQ(enemies(0).facing, 0);

  enemies(0) = EnemyRecord{};
  enemies(0).type = 6;
  enemies(0).speed = 1;
  enemies(0).x = 300;
  enemies(0).y = 368.8;
  enemies(0).dx = 0.6;
  enemies(0).dy = 0.8;
  UpdateEnemies(1);
  EXPECT_LT(enemies(0).dy, 0);
  // Still below the edge after the turn: it keeps heading up rather than jittering.
  for (int step = 0; step < 5; ++step) {
    UpdateEnemies(1);
    EXPECT_LT(enemies(0).dy, 0);
  }
  EXPECT_LT(enemies(0).y, 368);

  enemies(0).y = 79.5;
  enemies(0).dy = -0.8;
  UpdateEnemies(1);
  EXPECT_GT(enemies(0).dy, 0);
}

TEST_F(EnemiesTest, ASpiderCatchesAFreePenguinInAWeb) {
  AddEnemyAt(0, 336, 368);
  CheckEnemyContacts();
  EXPECT_EQ(penguin1.webState, 1);
  EXPECT_EQ(lossReason, 4);
  ASSERT_EQ(RecordCount(webs), 1);
  EXPECT_EQ(webs(0).x, 336);
  EXPECT_EQ(webs(0).holding, 1);
  EXPECT_EQ(webs(0).active, 1);
  EXPECT_EQ(RecordCount(enemies), 1);
  // The next frame's webs hold it.
  UpdateWebs();
  EXPECT_EQ(penguin1.webState, 2);
  // Further contacts are not tested until the round starts again.
  AddEnemyAt(2, 272, 368);
  CheckEnemyContacts();
  EXPECT_EQ(penguin2.webState, 0);
}

TEST_F(EnemiesTest, AFlameRoastsAndBothPenguinsCanBeCaughtInOneFrame) {
  AddEnemyAt(2, 336, 368);
  AddEnemyAt(0, 272, 368);
  CheckEnemyContacts();
  EXPECT_EQ(penguin1.webState, 1);
  EXPECT_EQ(penguin2.webState, 1);
  EXPECT_EQ(lossReason, 4);  // the later catch gives the reason
  EXPECT_EQ(RecordCount(webs), 2);
}

TEST_F(EnemiesTest, PowerModeDestroysAnEnemyOnContact) {
  penguinSteps = 2;
  AddEnemyAt(0, 336, 368);
  AddEnemyAt(2, 272, 368);
  CheckEnemyContacts();
  EXPECT_EQ(RecordCount(enemies), 0);
  EXPECT_EQ(penguin1.webState + penguin2.webState, 0);
  EXPECT_EQ(lossReason, 0);
  EXPECT_EQ(score, 400);
  EXPECT_EQ(RecordCount(webs), 0);
}

TEST_F(EnemiesTest, WebbedPenguinsAreNotTouched) {
  penguin1.webState = 2;
  AddEnemyAt(0, 336, 368);
  CheckEnemyContacts();
  EXPECT_EQ(lossReason, 0);
  EXPECT_EQ(RecordCount(webs), 0);
}

}  // namespace
}  // namespace tundrel::testing
