#include "game/game_loop.h"
#include "game/penguins.h"
#include "game/record_lists.h"
#include "gameplay_fixture.h"

namespace tundrel::testing {
namespace {

using GameLoopTest = GameplayTest;

TEST_F(GameLoopTest, TheTimerStepsTwentyAFrameWhileAboveOne) {
  timer = 54059;
  StepTimer();
  EXPECT_EQ(timer, 54039);
  timer = 21;
  StepTimer();
  EXPECT_EQ(timer, 1);
  StepTimer();
  EXPECT_EQ(timer, 1);
  timer = 19;
  StepTimer();
  EXPECT_EQ(timer, -1);
  StepTimer();
  EXPECT_EQ(timer, -1);
  easyMode = 1;
  timer = 30059;
  StepTimer();
  EXPECT_EQ(timer, 30059);
}

TEST_F(GameLoopTest, AGameStartsAtRoundOneWithThreeLives) {
  score = 1234;
  lives = 0;
  round = 17;
  lossReason = 3;
  inGame = 0;
  StartGame();
  EXPECT_EQ(score, 0);
  EXPECT_EQ(lives, 3);
  EXPECT_EQ(round, 1);
  EXPECT_EQ(lossReason, 0);
  EXPECT_EQ(inGame, 1);
  EXPECT_EQ(timer, 54059);
}

TEST_F(GameLoopTest, ARoundFramePresentsOneFrameAndStepsTheTimer) {
  StartGame();
  ResetPenguins();
  ForgetScreens();
  HoldKey(kKeyRight);
  RoundFrame();
  EXPECT_EQ(Screens().size(), 1u);
  EXPECT_EQ(Screens().front(), "round");
  EXPECT_EQ(timer, 54039);
  EXPECT_EQ(penguin1.x, 338);
  EXPECT_EQ(penguin2.x, 270);
}

}  // namespace
}  // namespace tundrel::testing
