#include "game/round_end.h"
#include "engine/audio/music.h"
#include "game/catalogue.h"
#include "game/record_lists.h"
#include "gameplay_fixture.h"

namespace tundrel::testing {
namespace {

using RoundEndTest = GameplayTest;

TEST_F(RoundEndTest, AFullTimerEarnsNineHundredAndTheCelebrationRuns) {
  round = 1;
  timer = 54000;
  AddEnemyAt(0, 208, 208);
  AddEnemyAt(6, 300, 200);
  RoundComplete();
  EXPECT_EQ(score, 900);
  EXPECT_EQ(CountScreens("celebration"), 270);
  EXPECT_EQ(CountScreens("title-card"), 150);
  EXPECT_EQ(Screens().size(), 420u);
  EXPECT_EQ(round, 2);
  EXPECT_EQ(roundText, "02");
  EXPECT_EQ(timer, 54059);
  EXPECT_EQ(zrb::MusicPlaying(), 1);
  // Round 2's own enemies; the old ones burst and went before the celebration.
  EXPECT_EQ(RecordCount(enemies), 2);
}

TEST_F(RoundEndTest, LessThanAMinuteLeftEarnsNoTimeBonusButStillCelebrates) {
  round = 1;
  timer = 5999;
  RoundComplete();
  EXPECT_EQ(score, 0);
  EXPECT_EQ(CountScreens("celebration"), 270);
}

TEST_F(RoundEndTest, EasyModeEarnsATenth) {
  easyMode = 1;
  round = 1;
  timer = 30000;
  RoundComplete();
  EXPECT_EQ(score, 50);
}

TEST_F(RoundEndTest, ABonusRoundThatTimesOutShowsNoBonusAndCostsNoLife) {
  round = 3;
  bonusRound = 1;
  timer = -1;
  AddItemAt(2, 3, 3);
  RoundComplete();
  EXPECT_EQ(CountScreens("celebration"), 0);
  EXPECT_EQ(CountScreens("no-bonus"), 240);
  EXPECT_EQ(CountScreens("bonus-tally"), 0);
  EXPECT_EQ(lives, 3);
  EXPECT_EQ(score, 0);
  EXPECT_EQ(round, 4);
  EXPECT_EQ(bonusRound, 0);
  EXPECT_EQ(extraLifeDue, 1);
}

TEST_F(RoundEndTest, AllHeartsTakenIsPerfect) {
  round = 3;
  bonusRound = 1;
  timer = 12000;
  RoundComplete();
  EXPECT_EQ(CountScreens("celebration"), 270);
  EXPECT_EQ(CountScreens("bonus-tally"), 150);
  EXPECT_EQ(score, 200 + 50000);
}

TEST_F(RoundEndTest, AHeartLeftGivesTheSmallBonusAndEasyModeATenth) {
  round = 3;
  bonusRound = 1;
  timer = 12000;
  AddItemAt(2, 3, 3);
  AddItemAt(13, 4, 3);
  RoundComplete();
  EXPECT_EQ(score, 200 + 10000);

  score = 0;
  easyMode = 1;
  round = 8;
  bonusRound = 1;
  timer = 12000;
  RoundComplete();  // no hearts on the field: perfect
  EXPECT_EQ(score, 20 + 5000);
}

TEST_F(RoundEndTest, TheNextBonusRoundStartsWithTheMirroredPenguinHeld) {
  round = 2;
  timer = 100;
  RoundComplete();
  ASSERT_EQ(bonusRound, 1);
  EXPECT_EQ(penguin2.webState, 2);
  EXPECT_EQ(penguin1.webState, 0);
  EXPECT_EQ(webs(0).holding, 2);
  EXPECT_EQ(zrb::MusicPlaying(), 1);
}

TEST_F(RoundEndTest, WithTheSoundOffNoMusicStarts) {
  soundOn = 0;
  round = 1;
  timer = 100;
  RoundComplete();
  EXPECT_EQ(zrb::MusicPlaying(), 0);
}

}  // namespace
}  // namespace tundrel::testing
