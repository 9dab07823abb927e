#include "game/life_loss.h"
#include "game/maze.h"
#include "game/penguins.h"
#include "game/record_lists.h"
#include "gameplay_fixture.h"

namespace tundrel::testing {
namespace {

// The clock running out, the final life and the catches are played whole in the scenarios.
using LifeLossTest = GameplayTest;

TEST_F(LifeLossTest, NothingHappensWithoutALoss) {
  CheckLifeLoss();
  EXPECT_EQ(lives, 3);
  EXPECT_TRUE(Screens().empty());
}

TEST_F(LifeLossTest, ABonusRoundNeverRunsOutOfTimeHere) {
  bonusRound = 1;
  timer = -1;
  CheckLifeLoss();
  EXPECT_EQ(lives, 3);
  EXPECT_TRUE(Screens().empty());
}

TEST_F(LifeLossTest, AQuitWithLivesLeftShowsTheQuitScreenAndTakesALife) {
  round = 5;
  RoundStart(1);
  inGame = 0;  // the confirmation said yes
  lossReason = 2;
  CheckLifeLoss();
  EXPECT_EQ(CountScreens("quit-screen"), 280);
  EXPECT_EQ(CountScreens("game-over"), 0);
  EXPECT_EQ(lives, 2);
  EXPECT_EQ(round, 6);  // restarted, but the game loop ends as inGame is 0
  EXPECT_EQ(inGame, 0);
}

TEST_F(LifeLossTest, BothPenguinsHeldWhenQuittingShowsTheNets) {
  penguin1.webState = 2;
  penguin2.webState = 2;
  lossReason = 2;
  round = 1;
  CheckLifeLoss();
  EXPECT_EQ(CountScreens("quit-screen"), 0);
  EXPECT_EQ(CountScreens("freeze"), 120);
  EXPECT_EQ(CountScreens("nets"), 150);
  EXPECT_EQ(lives, 2);
}

TEST_F(LifeLossTest, ALostLifeRestartsTheSameLayoutWithThePenguinsAtTheirStart) {
  round = 5;
  RoundStart(1);
  ASSERT_EQ(round, 6);
  PlacePenguins(100, 100, 200, 200);
  penguin1.webState = 2;
  penguin2.webState = 2;
  penguinSteps = 2;
  CheckLifeLoss();
  EXPECT_EQ(round, 6);
  EXPECT_EQ(lossReason, 0);
  EXPECT_EQ(penguinSteps, 1);
  EXPECT_EQ(penguin1.x, 336);
  EXPECT_EQ(penguin2.x, 272);
  EXPECT_EQ(penguin1.webState + penguin2.webState, 0);
  for (int32_t row = 0; row < 12; ++row) {
    for (int32_t column = 0; column < 17; ++column) {
      const int32_t stored = static_cast<int32_t>(levelTable(5 * 204 + row * 17 + column));
      EXPECT_EQ(mazeGrid(column, row), stored == 1 ? 0 : stored);
    }
  }
}

TEST_F(LifeLossTest, ABeatenHighScoreIsKeptAndAnEqualOneIsNot) {
  lives = 0;
  lossReason = 4;
  score = 5000;
  highScore = 5000;
  CheckLifeLoss();
  EXPECT_EQ(highScore, 5000);
  EXPECT_EQ(inGame, 0);

  lives = 0;
  inGame = 1;
  lossReason = 4;
  score = 5001;
  CheckLifeLoss();
  EXPECT_EQ(highScore, 5001);
}

TEST_F(LifeLossTest, AQuitScoreIsNeverAHighScore) {
  lives = 0;
  lossReason = 2;
  score = 9000;
  highScore = 100;
  CheckLifeLoss();
  EXPECT_EQ(CountScreens("quit-screen"), 280);
  EXPECT_EQ(CountScreens("game-over"), 180);
  EXPECT_EQ(highScore, 100);
}

}  // namespace
}  // namespace tundrel::testing
