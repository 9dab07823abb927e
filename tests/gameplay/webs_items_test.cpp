#include "game/webs_items.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/game_loop.h"
#include "game/maze.h"
#include "game/record_lists.h"
#include "gameplay_fixture.h"

namespace tundrel::testing {
namespace {

using WebsTest = GameplayTest;
using SprayTest = GameplayTest;
using ItemsTest = GameplayTest;

int CountFloaters(int32_t type) {
  int count = 0;
  for (int32_t i = 0; i < RecordCount(floaters); ++i) {
    if (floaters(i).type == type) ++count;
  }
  return count;
}

TEST(ScoreRule, EasyModeScoresATenthWithTheRemainderDropped) {
  const int32_t savedEasy = easyMode;
  score = 0;
  easyMode = 1;
  AddScore(100);
  AddScore(5000);
  AddScore(205);
  EXPECT_EQ(score, 10 + 500 + 20);
  easyMode = 0;
  AddScore(205);
  EXPECT_EQ(score, 530 + 205);
  easyMode = savedEasy;
  score = 0;
}

TEST_F(WebsTest, AWebPullsAPenguinInOnePixelPerAxisAndHoldsIt) {
  AddWeb(5, 5);  // (208, 208)
  PlacePenguins(212, 206, 400, 304);
  UpdateWebs();
  ASSERT_EQ(penguin1.webState, 1);
  EXPECT_EQ(webs(0).pulling, 1);
  EXPECT_EQ(webs(0).active, 1);
  EXPECT_EQ(penguin1.x, 211);
  EXPECT_EQ(penguin1.y, 207);
  UpdateWebs();
  UpdateWebs();
  EXPECT_EQ(penguin1.webState, 1);
  UpdateWebs();
  EXPECT_EQ(penguin1.x, 208);
  EXPECT_EQ(penguin1.y, 208);
  EXPECT_EQ(penguin1.webState, 2);
  EXPECT_EQ(webs(0).holding, 1);
  EXPECT_EQ(webs(0).pulling, 0);
  EXPECT_EQ(penguin2.webState, 0);
}

TEST_F(WebsTest, AnActiveWebCyclesItsFramesEveryElevenFrames) {
  AddCatchWeb(208, 208, 1);
  for (int i = 0; i < 10; ++i)
    UpdateWebs();
  EXPECT_EQ(webs(0).frame, 0);
  UpdateWebs();
  EXPECT_EQ(webs(0).frame, 1);
  for (int i = 0; i < 33; ++i)
    UpdateWebs();
  EXPECT_EQ(webs(0).frame, 0);
}

TEST_F(WebsTest, TwoPenguinsWalkingIntoOneWebAreBothPulledIn) {
  // Mirrored steering brings the two into a web between them in the same frame; each must
  // end up held, or the one left at "being pulled" could neither move nor be freed.
  AddWeb(8, 5);  // (304, 208)
  PlacePenguins(318, 208, 290, 208);
  UpdateWebs();
  ASSERT_EQ(penguin1.webState, 1);
  ASSERT_EQ(penguin2.webState, 1);
  EXPECT_EQ(webs(0).pulling, kPullsBoth);
  for (int i = 0; i < 30; ++i)
    UpdateWebs();
  EXPECT_EQ(penguin1.webState, 2);
  EXPECT_EQ(penguin2.webState, 2);
  EXPECT_EQ(penguin1.x, 304);
  EXPECT_EQ(penguin2.x, 304);
  EXPECT_EQ(webs(0).pulling, 0);
}

TEST_F(WebsTest, PowerModeTearsWebsDownAndLetsTheirPenguinsGo) {
  penguinSteps = 2;
  AddWeb(5, 5);
  AddCatchWeb(400, 304, 2);
  penguin2.webState = 2;
  PlacePenguins(210, 208, 240, 240);
  UpdateWebs();
  EXPECT_EQ(penguin1.webState, 0);
  ASSERT_EQ(RecordCount(webs), 1);
  EXPECT_EQ(score, 100);
  EXPECT_EQ(CountFloaters(0), 1);
  EXPECT_EQ(CountFloaters(15), 11);  // a small burst

  // The holding web goes when penguin 1 walks into it: penguin 2 is free.
  PlacePenguins(400, 300, 400, 304);
  UpdateWebs();
  EXPECT_EQ(RecordCount(webs), 0);
  EXPECT_EQ(penguin2.webState, 0);
}

TEST_F(WebsTest, DestroyingAWebThatIsStillPullingLetsThePenguinGo) {
  AddWeb(5, 5);
  webs(0).pulling = 2;
  webs(0).active = 1;
  penguin2.webState = 1;
  PlacePenguins(206, 208, 214, 212);
  penguinSteps = 2;  // penguin 1 took the power item meanwhile
  UpdateWebs();
  EXPECT_EQ(RecordCount(webs), 0);
  EXPECT_EQ(penguin2.webState, 0);
}

TEST_F(WebsTest, TheCatchPassHoldsThePenguinOnItsStartCellWithoutDrawing) {
  penguinSteps = 2;  // the pass ignores power mode
  AddWeb(7, 10);
  PlacePenguins(336, 368, 272, 368);
  WebCatchPass();
  EXPECT_EQ(penguin2.webState, 2);
  EXPECT_EQ(webs(0).holding, 2);
  EXPECT_EQ(penguin1.webState, 0);
}

TEST_F(SprayTest, SprayFreesAHeldPenguinOneWebPerCall) {
  AddWeb(6, 5);
  AddWeb(6, 5);  // a second web on the same cell
  webs(0).holding = 2;
  penguin2.webState = 2;
  PlacePenguins(208, 208, 240, 208);
  SprayWebs(imgSpray, 0, 236, 215);
  EXPECT_EQ(RecordCount(webs), 1);
  EXPECT_EQ(penguin2.webState, 0);
  EXPECT_EQ(score, 100);
  EXPECT_EQ(CountFloaters(0), 1);
  SprayWebs(imgSpray, 0, 236, 215);
  EXPECT_EQ(RecordCount(webs), 0);
  SprayWebs(imgSpray, 0, 236, 215);
  EXPECT_EQ(score, 200);
}

TEST_F(SprayTest, SprayingAWebThatIsStillPullingFreesThePenguin) {
  AddWeb(6, 5);
  webs(0).pulling = 2;
  webs(0).active = 1;
  penguin2.webState = 1;
  PlacePenguins(208, 208, 246, 203);
  SprayWebs(imgSpray, 0, 236, 215);
  EXPECT_EQ(RecordCount(webs), 0);
  EXPECT_EQ(penguin2.webState, 0);
}

TEST_F(SprayTest, InABonusRoundTheFirstPenguinSpraysOnlyFromItsPartnersSide) {
  bonusRound = 1;
  for (int32_t side : {0, 10}) {
    SCOPED_TRACE(side);
    sideSwap = side;
    ClearRecords(webs);
    AddWeb(6, 5);
    penguin1.x = side == 0 ? 322 : 318;  // on its own side of the maze
    SprayWebs(imgSpray, 0, 236, 215);
    EXPECT_EQ(RecordCount(webs), 1);
    penguin1.x = 320;
    SprayWebs(imgSpray, 0, 236, 215);
    EXPECT_EQ(RecordCount(webs), 0);
  }
  bonusRound = 0;
  ClearRecords(webs);
  AddWeb(6, 5);
  penguin1.x = 500;
  SprayWebs(imgSpray, 0, 236, 215);
  EXPECT_EQ(RecordCount(webs), 0);
}

TEST_F(SprayTest, SprayKillsSpidersAlwaysAndFlamesOnlyInPowerMode) {
  AddEnemyAt(2, 240, 208);  // flame
  AddEnemyAt(0, 240, 208);  // spider
  SprayEnemies(imgSpray, 0, 236, 215);
  ASSERT_EQ(RecordCount(enemies), 1);
  EXPECT_EQ(enemies(0).type, 2);
  EXPECT_EQ(score, 200);
  EXPECT_EQ(CountFloaters(1), 1);
  EXPECT_EQ(CountFloaters(16), 17);  // a medium burst
  penguinSteps = 2;
  SprayEnemies(imgSpray, 0, 236, 215);
  EXPECT_EQ(RecordCount(enemies), 0);
  EXPECT_EQ(score, 400);
}

TEST_F(SprayTest, OneSpiderPerCallButABirdDoesNotEndTheSearch) {
  EnemyRecord& bird = AddEnemyAt(6, 240, 208);
  bird.facing = 0;
  AddEnemyAt(0, 240, 208);
  AddEnemyAt(0, 240, 208);
  SprayEnemies(imgSpray, 0, 236, 215);
  ASSERT_EQ(RecordCount(enemies), 2);
  EXPECT_EQ(birdCalm, 120);
  EXPECT_EQ(enemies(0).facing, 2);
  EXPECT_LT(enemies(0).dx, 0);  // turned round: heading 225..315 degrees
  EXPECT_NEAR(enemies(0).dx * enemies(0).dx + enemies(0).dy * enemies(0).dy, 1.0, 1e-9);
  // While calm, the bird is not turned again.
  SprayEnemies(imgSpray, 0, 236, 215);
  EXPECT_EQ(enemies(0).facing, 2);
  EXPECT_EQ(RecordCount(enemies), 1);
}

TEST_F(ItemsTest, ItemsNeverAppearInEasyModeNorInTheFirst603Frames) {
  easyMode = 1;
  timer = 54059;
  for (int frame = 0; frame < 5000; ++frame) {
    SpawnRandomItem();
    StepTimer();
  }
  EXPECT_EQ(timer, 54059);
  EXPECT_EQ(RecordCount(items), 0);

  easyMode = 0;
  for (uint32_t seed = 1; seed <= 5; ++seed) {
    zrb::SeedRandom(seed);
    ClearRecords(items);
    randomItemActive = 0;
    timer = 54059;
    int firstItemFrame = -1;
    for (int frame = 1; frame <= 4000 && firstItemFrame < 0; ++frame) {
      SpawnRandomItem();
      if (RecordCount(items) > 0) firstItemFrame = frame;
      StepTimer();
    }
    EXPECT_GT(firstItemFrame, 603) << "seed " << seed;
  }
}

TEST_F(ItemsTest, OneRandomItemAtATimeOnFloorOfTheLowerRows) {
  timer = 40000;
  SetCell(5, 5, 8);
  for (int frame = 0; frame < 3000; ++frame)
    SpawnRandomItem();
  ASSERT_EQ(RecordCount(items), 1);
  const ItemRecord& item = items(0);
  EXPECT_GE(item.y, 48 + 32 * 3);
  EXPECT_EQ(MazeCode((item.x - 48) / 32, (item.y - 48) / 32), 0);
  EXPECT_EQ(item.life, 300);
  EXPECT_GT(RecordCount(sparkles), 0);
  EXPECT_EQ(randomItemActive, 1);
}

TEST_F(ItemsTest, TheExtraLifeComesAfterABonusRoundAndThePowerItemOncePerRound) {
  timer = 40000;
  extraLifeDue = 1;
  int extraLives = 0;
  int powerItems = 0;
  for (int draw = 0; draw < 400; ++draw) {
    ClearRecords(items);
    ClearRecords(sparkles);
    randomItemActive = 0;
    while (RecordCount(items) == 0)
      SpawnRandomItem();
    const int32_t type = items(0).type;
    EXPECT_TRUE(type >= 12 && type <= 20) << type;
    if (type == 20) ++extraLives;
    if (type == 12) ++powerItems;
  }
  EXPECT_GT(extraLives, 50);
  EXPECT_EQ(powerItems, 0);  // the extra life is offered first while it is due
  extraLifeDue = 0;
  for (int draw = 0; draw < 100; ++draw) {
    ClearRecords(items);
    randomItemActive = 0;
    while (RecordCount(items) == 0)
      SpawnRandomItem();
    if (items(0).type == 12) ++powerItems;
    EXPECT_NE(items(0).type, 20);
  }
  EXPECT_EQ(powerItems, 1);
  EXPECT_EQ(powerItemGiven, 1);
}

TEST_F(ItemsTest, TwoItemsTouchedInOneFrameAreBothTaken) {
  PlacePenguins(208, 208, 400, 304);
  AddItemAt(13, 5, 5);   // under penguin 1: 500
  AddItemAt(17, 11, 8);  // under penguin 2: 300
  AddItemAt(19, 13, 2);  // elsewhere
  randomItemActive = 1;
  UpdateItems();
  ASSERT_EQ(RecordCount(items), 1);
  EXPECT_EQ(items(0).type, 19);
  EXPECT_EQ(score, 800);
  EXPECT_EQ(randomItemActive, 0);
  EXPECT_EQ(CountFloaters(4), 1);
  EXPECT_EQ(CountFloaters(2), 1);
  EXPECT_EQ(CountFloaters(14), 34);  // two rings
}

TEST_F(ItemsTest, AnItemExpiringInTheFrameOfATakeLivesOnUntilLater) {
  PlacePenguins(208, 208, 400, 304);
  AddItemAt(13, 5, 5);   // taken first
  AddItemAt(19, 13, 2);  // runs out in the same frame
  items(1).life = 0;
  UpdateItems();
  ASSERT_EQ(RecordCount(items), 1);
  EXPECT_EQ(items(0).life, -1);
  UpdateItems();
  EXPECT_EQ(RecordCount(items), 0);
  EXPECT_GT(RecordCount(sparkles), 0);

  // Earlier in the list than the take, it goes at once.
  ClearRecords(sparkles);
  AddItemAt(19, 13, 2);
  AddItemAt(13, 5, 5);
  items(0).life = 0;
  UpdateItems();
  EXPECT_EQ(RecordCount(items), 0);
}

TEST_F(ItemsTest, InABonusRoundExpiredItemsStay) {
  bonusRound = 1;
  AddItemAt(2, 13, 2);
  items(0).life = 0;
  randomItemActive = 1;
  UpdateItems();
  UpdateItems();
  EXPECT_EQ(RecordCount(items), 1);
  EXPECT_EQ(randomItemActive, 0);
}

TEST_F(ItemsTest, ItemEffects) {
  PlacePenguins(208, 208, 400, 304);
  AddItemAt(12, 5, 5);
  UpdateItems();
  EXPECT_EQ(penguinSteps, 2);
  EXPECT_EQ(score, 800);

  extraLifeDue = 1;
  AddItemAt(20, 11, 8);
  UpdateItems();
  EXPECT_EQ(lives, 4);
  EXPECT_EQ(extraLifeDue, 0);
  EXPECT_EQ(CountFloaters(17), 21);  // a large burst
  EXPECT_EQ(score, 800);

  AddItemAt(15, 5, 5);
  UpdateItems();
  EXPECT_EQ(score, 5800);
  EXPECT_EQ(CountFloaters(12) + CountFloaters(13), 2);

  // A penguin held in a web still picks items up.
  penguin1.webState = 2;
  AddItemAt(14, 5, 5);
  UpdateItems();
  EXPECT_EQ(score, 6800);
}

TEST_F(ItemsTest, ItemsBobAndAgeEachFrame) {
  AddItemAt(13, 13, 2);
  UpdateItems();
  EXPECT_EQ(items(0).phase, 8);
  EXPECT_NEAR(items(0).bob, 4 * 0.13917310096, 1e-9);
  EXPECT_EQ(items(0).life, 299);
}

TEST_F(ItemsTest, BonusHeartsLieOnFloorInBothHalves) {
  for (uint32_t seed = 1; seed <= 20; ++seed) {
    zrb::SeedRandom(seed);
    ClearRecords(items);
    BuildMaze(3);
    ClearRecords(webs);
    SetupBonusHearts();
    const int32_t hearts = RecordCount(items);
    EXPECT_GE(hearts, 6);
    EXPECT_LE(hearts, 16);
    int left = 0;
    int right = 0;
    for (int32_t i = 0; i < hearts; ++i) {
      const int32_t column = (items(i).x - 48) / 32;
      const int32_t row = (items(i).y - 48) / 32;
      EXPECT_EQ(mazeGrid(column, row), 0);
      EXPECT_LE(row, 9);
      EXPECT_LE(column, 13);
      if (column <= 7) ++left;
      if (column >= 7) ++right;
      EXPECT_EQ(items(i).type, 2);
    }
    EXPECT_GE(left, 3);
    EXPECT_GE(right, 3);
  }
}

}  // namespace
}  // namespace tundrel::testing
