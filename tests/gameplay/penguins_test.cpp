#include <cmath>

#include "engine/audio/sound.h"
#include "engine/values/numeric.h"
#include "game/catalogue.h"
#include "game/enemies.h"
#include "game/penguins.h"
#include "game/record_lists.h"
#include "game/text.h"
#include "game/webs_items.h"
#include "gameplay_fixture.h"

namespace tundrel::testing {
namespace {

using PenguinsTest = GameplayTest;

TEST_F(PenguinsTest, LeftMovesTheFirstPenguinLeftAndTheMirroredOneRight) {
  HoldKey(kKeyLeft);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 334);
  EXPECT_EQ(penguin2.x, 274);
  EXPECT_EQ(penguin1.dirBase, 4);
  EXPECT_EQ(penguin1.facing, 4);
  EXPECT_EQ(penguin2.dirBase, 12);
  EXPECT_EQ(penguin2.facing, 12);
  ReleaseKey(kKeyLeft);
  HoldKey(kKeyRight);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 336);
  EXPECT_EQ(penguin2.x, 272);
  EXPECT_EQ(penguin1.facing, 3);
  EXPECT_EQ(penguin2.facing, 14);
}

TEST_F(PenguinsTest, AWallStopsOnlyThePenguinThatRunsIntoIt) {
  SetCell(8, 10, 8);
  PlacePenguins(336, 368, 144, 368);  // penguin 1 just right of the wall
  HoldKey(kKeyLeft);
  for (int i = 0; i < 3; ++i)
    MovePenguins();
  EXPECT_EQ(penguin1.x, 336);
  EXPECT_EQ(penguin1.dirBase, 0);
  EXPECT_EQ(penguin2.x, 150);

  PlacePenguins(400, 368, 272, 368);  // penguin 2 just left of the wall
  MovePenguins();
  EXPECT_EQ(penguin1.x, 398);
  EXPECT_EQ(penguin2.x, 272);
  EXPECT_EQ(penguin2.dirBase, 10);
  ReleaseKey(kKeyLeft);

  HoldKey(kKeyRight);
  PlacePenguins(272, 368, 144, 368);  // penguin 1 just left of the wall
  MovePenguins();
  EXPECT_EQ(penguin1.x, 272);
  EXPECT_EQ(penguin2.x, 142);
  EXPECT_EQ(penguin2.dirBase, 14);
}

TEST_F(PenguinsTest, OppositeKeysCancelAndDiagonalsMoveBothAxes) {
  PlacePenguins(208, 208, 400, 272);
  HoldKey(kKeyLeft);
  HoldKey(kKeyRight);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 208);
  EXPECT_EQ(penguin2.x, 400);
  HoldKey(kKeyUp);
  HoldKey(kKeyDown);
  MovePenguins();
  EXPECT_EQ(penguin1.y, 208);
  EXPECT_EQ(penguin2.y, 272);
  ReleaseKey(kKeyRight);
  ReleaseKey(kKeyDown);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 206);
  EXPECT_EQ(penguin1.y, 206);
  EXPECT_EQ(penguin2.x, 402);
  EXPECT_EQ(penguin2.y, 270);
}

TEST_F(PenguinsTest, CellTestsUseTheCoordinatesFromTheStartOfTheStep) {
  // After the step left, the up probe would reach into the wall at (1, 1); from where the
  // step began it does not, so both moves happen.
  PlacePenguins(110, 112, 400, 272);
  SetCell(1, 1, 8);
  HoldKey(kKeyLeft);
  HoldKey(kKeyUp);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 108);
  EXPECT_EQ(penguin1.y, 110);
}

TEST_F(PenguinsTest, BoundsAreTestedBeforeEachTwoPixelStep) {
  PlacePenguins(83, 208, 400, 208);
  HoldKey(kKeyLeft);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 81);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 81);
  PlacePenguins(82, 208, 400, 208);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 82);
  ReleaseKey(kKeyLeft);

  PlacePenguins(208, 81, 400, 208);
  HoldKey(kKeyUp);
  MovePenguins();
  EXPECT_EQ(penguin1.y, 81);  // the up probe of y 81 reaches the border row
  PlacePenguins(208, 82, 400, 208);
  MovePenguins();
  EXPECT_EQ(penguin1.y, 80);
  MovePenguins();
  EXPECT_EQ(penguin1.y, 80);
  ReleaseKey(kKeyUp);
  PlacePenguins(208, 208, 400, 366);
  HoldKey(kKeyDown);
  MovePenguins();
  EXPECT_EQ(penguin2.y, 368);
  MovePenguins();
  EXPECT_EQ(penguin2.y, 368);
}

TEST_F(PenguinsTest, PowerModeWalksFourPixelsAFrameAndAnimatesTwiceAsFast) {
  penguinSteps = 2;
  PlacePenguins(208, 208, 400, 208);
  HoldKey(kKeyDown);
  for (int frame = 0; frame < 5; ++frame)
    MovePenguins();
  EXPECT_EQ(penguin1.y, 228);
  EXPECT_EQ(penguin2.y, 228);
  EXPECT_EQ(penguin1.walkFrame, 1);  // ten steps make a walk frame
  EXPECT_EQ(penguin1.walkCounter, 0);
  penguinSteps = 1;
  MovePenguins();
  EXPECT_EQ(penguin1.y, 230);
  EXPECT_EQ(penguin1.walkCounter, 1);
}

TEST_F(PenguinsTest, FireStopsBothFreePenguinsAndOnlyFreeOnesSpray) {
  PlacePenguins(208, 208, 400, 208);
  HoldKey(kKeyLeft);
  HoldKey(kKeySpace);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 208);
  EXPECT_EQ(penguin2.x, 400);
  EXPECT_EQ(penguin1.spraying, 1);
  EXPECT_EQ(penguin2.spraying, 1);
  EXPECT_EQ(penguin1.dirBase, 0);
  EXPECT_EQ(penguin2.dirBase, 10);

  penguin2.webState = 2;
  ReleaseKey(kKeySpace);
  HoldKey(kKeyLeftCtrl);
  MovePenguins();
  EXPECT_EQ(penguin1.spraying, 1);
  EXPECT_EQ(penguin2.spraying, 0);
  ReleaseKey(kKeyLeftCtrl);
  MovePenguins();
  EXPECT_EQ(penguin1.x, 206);  // free again to walk
  EXPECT_EQ(penguin2.x, 400);  // held
}

TEST_F(PenguinsTest, TheSpraySoundRestartsWhileFireIsHeldAndStopsWithTheSpray) {
  if (zrb::PlaySound(sndSpray) < 0) GTEST_SKIP() << "no spray sound in this media";
  zrb::StopAllSounds();
  HoldKey(kKeySpace);
  int restarts = 0;
  int32_t lastChannel = -2;
  for (int frame = 0; frame < 400; ++frame) {
    const bool wasSounding = zrb::SoundPlaying(sprayChannel) == 1;
    MovePenguins();
    ASSERT_EQ(zrb::SoundPlaying(sprayChannel), 1) << "frame " << frame;
    if (!wasSounding) ++restarts;
    lastChannel = sprayChannel;
    FinishFrame();
  }
  EXPECT_EQ(lastChannel, sndSpray * 256);
  EXPECT_GE(restarts, 2) << "the spray sound should end and start again within 400 frames";
  ReleaseKey(kKeySpace);
  MovePenguins();
  EXPECT_EQ(zrb::SoundPlaying(sprayChannel), 0);

  zrb::StopAllSounds();
  soundOn = 0;
  sprayChannel = -1;
  HoldKey(kKeySpace);
  MovePenguins();
  EXPECT_EQ(sprayChannel, -1);
  EXPECT_EQ(penguin1.spraying, 1);
}

TEST_F(PenguinsTest, PenguinsMeetOnlyWalkingIntoEachOtherBesideTheCage) {
  round = 4;
  PlacePenguins(323, 80, 285, 80);  // penguin 1 right of the cage, penguin 2 left of it
  HoldKey(kKeyLeft);
  MovePenguins();
  EXPECT_EQ(round, 5);  // the round-end sequence ran and set up the next round
  EXPECT_EQ(CountScreens("celebration"), 270);
  EXPECT_EQ(CountScreens("title-card"), 150);
  EXPECT_EQ(penguin1.x, 336);
  EXPECT_EQ(penguin1.y, 368);
}

TEST_F(PenguinsTest, TheMirroredMeetingCountsToo) {
  round = 4;
  PlacePenguins(285, 80, 323, 80);
  HoldKey(kKeyRight);
  MovePenguins();
  EXPECT_EQ(round, 5);
}

TEST_F(PenguinsTest, WalkingTheSameWayOrStandingStillIsNoMeeting) {
  round = 4;
  PlacePenguins(323, 80, 323, 80);  // both right of the cage
  HoldKey(kKeyLeft);
  MovePenguins();
  EXPECT_EQ(round, 4);
  ReleaseKey(kKeyLeft);
  // Penguin 2 held by a web: it stands still, its dirBase is the idle 10.
  PlacePenguins(323, 80, 285, 80);
  penguin2.webState = 2;
  HoldKey(kKeyLeft);
  MovePenguins();
  EXPECT_EQ(penguin2.x, 285);
  EXPECT_EQ(round, 4);
  EXPECT_EQ(CountScreens("celebration"), 0);
}

TEST_F(PenguinsTest, ABonusRoundEndsWhenItsTimeIsUp) {
  round = 7;
  bonusRound = 1;
  timer = 1;
  MovePenguins();
  EXPECT_EQ(round, 7);
  timer = 0;
  MovePenguins();
  EXPECT_EQ(round, 8);
  EXPECT_EQ(CountScreens("no-bonus"), 240);
}

TEST_F(PenguinsTest, SprayingFreesTheOtherPenguinsWebAndAdvancesTheSprayFrames) {
  PlacePenguins(208, 208, 240, 208);
  penguin1.facing = 3;  // facing right, toward penguin 2
  AddWeb(6, 5);         // at (240, 208), holding penguin 2
  webs(0).holding = 2;
  penguin2.webState = 2;
  penguin1.spraying = 1;
  DrawPenguins();
  EXPECT_EQ(penguin2.webState, 0);
  EXPECT_EQ(RecordCount(webs), 0);
  EXPECT_EQ(score, 100);
  EXPECT_EQ(sprayCounter, 1);
  for (int i = 0; i < 8; ++i)
    DrawPenguins();
  EXPECT_EQ(sprayCounter, 0);
  EXPECT_EQ(sprayFrame, 1);
  penguin1.spraying = 0;
  DrawPenguins();
  EXPECT_EQ(sprayCounter, 0);  // no spraying, no spray animation
}

TEST_F(PenguinsTest, ASprayWithoutFacingHitsNothing) {
  PlacePenguins(208, 208, 240, 208);
  AddWeb(6, 5);
  penguin1.spraying = 1;
  penguin2.spraying = 1;
  DrawPenguins();
  EXPECT_EQ(RecordCount(webs), 1);
}

TEST_F(PenguinsTest, ResetPutsEachPenguinOnItsStartCellForTheChosenSide) {
  PlacePenguins(100, 100, 200, 200);
  penguin1.dirBase = 6;
  penguin2.walkCounter = 7;
  penguin2.walkFrame = 1;
  ResetPenguins();
  EXPECT_EQ(penguin1.x, 336);
  EXPECT_EQ(penguin2.x, 272);
  EXPECT_EQ(penguin1.y + penguin2.y, 736);
  EXPECT_EQ(penguin1.dirBase + penguin2.walkCounter + penguin2.walkFrame, 0);
  sideSwap = 10;
  ResetPenguins();
  EXPECT_EQ(penguin1.x, 272);
  EXPECT_EQ(penguin2.x, 336);
}

class SwapTest : public GameplayTest {
 protected:
  // A calm-free bird right on penguin 1.
  void BirdOnPenguinOne() {
    EnemyRecord& bird = AddEnemyAt(6, penguin1.x, penguin1.y);
    bird.dx = 0;
    bird.dy = 0;
  }
};

TEST_F(SwapTest, ABirdMakesThePenguinsChangePlaces) {
  PlacePenguins(208, 208, 400, 304);
  BirdOnPenguinOne();
  CheckEnemyContacts();
  EXPECT_EQ(penguin1.x, 400);
  EXPECT_EQ(penguin1.y, 304);
  EXPECT_EQ(penguin2.x, 208);
  EXPECT_EQ(penguin2.y, 208);
  EXPECT_EQ(birdCalm, 180);
  EXPECT_EQ(birdTouched, 0);
  EXPECT_GT(CountScreens("swap"), 50);  // about 215 pixels at 3 a frame
  EXPECT_LT(CountScreens("swap"), 80);

  // Calm birds are harmless; two of them count the calm down twice as fast.
  CheckEnemyContacts();
  EXPECT_EQ(birdCalm, 179);
  AddEnemyAt(6, 100, 100);
  CheckEnemyContacts();
  EXPECT_EQ(birdCalm, 177);
  EXPECT_EQ(penguin1.x, 400);
}

TEST_F(SwapTest, WebsAndWebStatesChangeSidesWithThePenguins) {
  PlacePenguins(208, 208, 400, 304);
  AddCatchWeb(400, 304, 2);
  penguin2.webState = 2;
  BirdOnPenguinOne();
  CheckEnemyContacts();
  EXPECT_EQ(penguin1.webState, 2);
  EXPECT_EQ(penguin2.webState, 0);
  EXPECT_EQ(webs(0).holding, 1);
  EXPECT_EQ(penguin1.x, webs(0).x);
}

TEST_F(SwapTest, APullInProgressGoesOnAfterTheSwap) {
  // Penguin 2 is on its way into a web, 20 pixels out, when a bird touches penguin 1 close
  // by: the glide is over before the pull.
  PlacePenguins(330, 304, 380, 290);
  AddWeb(11, 8);  // at (400, 304)
  webs(0).pulling = 2;
  webs(0).active = 1;
  penguin2.webState = 1;
  BirdOnPenguinOne();
  CheckEnemyContacts();
  ASSERT_EQ(penguin1.webState, 1);
  EXPECT_EQ(webs(0).pulling, 1);
  EXPECT_EQ(penguin2.x, 330);
  EXPECT_EQ(penguin2.webState, 0);
  for (int frame = 0; frame < 20; ++frame)
    UpdateWebs();
  EXPECT_EQ(penguin1.x, 400);
  EXPECT_EQ(penguin1.y, 304);
  EXPECT_EQ(penguin1.webState, 2);
  EXPECT_EQ(webs(0).holding, 1);
  EXPECT_EQ(webs(0).pulling, 0);
}

// The copies glide along a heading cut to whole degrees; across a long distance the copy can
// pass its goal further than the arrival distance and would glide on for ever.
TEST_F(SwapTest, AGlideThatMissesItsGoalStillEnds) {
  // Find a pair of places the cut heading misses by more than 7 pixels.
  int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  bool found = false;
  for (int32_t dy = 0; dy <= 288 && !found; dy += 2) {
    for (int32_t dx = 200; dx <= 448 && !found; dx += 2) {
      const double exact = std::atan2(dy, dx) * 180.0 / M_PI;
      const double cut = std::trunc(exact + 90) - 90;
      const double miss = std::hypot(dx, dy) * std::sin((exact - cut) * M_PI / 180.0);
      if (miss > 8.5) {
        x2 = 80;
        y2 = 80;
        x1 = 80 + dx;
        y1 = 80 + dy;
        found = true;
      }
    }
  }
  ASSERT_TRUE(found);
  PlacePenguins(x1, y1, x2, y2);
  BirdOnPenguinOne();
  CheckEnemyContacts();
  EXPECT_EQ(penguin1.x, x2);
  EXPECT_EQ(penguin2.x, x1);
  const double frames = std::hypot(x1 - x2, y1 - y2) / 3;
  EXPECT_LE(CountScreens("swap"), frames + 3);
}

}  // namespace
}  // namespace tundrel::testing
