#include <set>

#include "engine/audio/music.h"
#include "engine/values/random.h"
#include "game/catalogue.h"
#include "game/maze.h"
#include "game/record_lists.h"
#include "gameplay_fixture.h"

namespace tundrel::testing {
namespace {

int32_t StoredCode(int32_t layout, int32_t column, int32_t row) {
  return static_cast<int32_t>(levelTable((layout - 1) * 204 + row * 17 + column));
}

bool WebAt(int32_t column, int32_t row) {
  for (int32_t i = 0; i < RecordCount(webs); ++i) {
    if (webs(i).x == 48 + 32 * column && webs(i).y == 48 + 32 * row) return true;
  }
  return false;
}

// The grid as a layout leaves it: web starts become floor with a web on them.
void ExpectGridHoldsLayout(int32_t layout) {
  for (int32_t row = 0; row < 12; ++row) {
    for (int32_t column = 0; column < 17; ++column) {
      const int32_t stored = StoredCode(layout, column, row);
      const int32_t code = mazeGrid(column, row);
      ASSERT_EQ(code, stored == 1 ? 0 : stored) << "cell " << column << "," << row;
      EXPECT_EQ(costGrid(column, row), code >= 8 ? 0.0 : 9.0);
      if (stored == 1) {
        EXPECT_TRUE(WebAt(column, row)) << column << "," << row;
      }
    }
  }
}

using MazeTest = GameplayTest;

TEST_F(MazeTest, BuildMazeLaysWebsOnFloorAndFillsThePathGrid) {
  for (int32_t layout : {1, 2, 22, 40}) {
    ClearRecords(webs);
    BuildMaze(layout);
    int32_t webStarts = 0;
    for (int32_t row = 0; row < 12; ++row) {
      for (int32_t column = 0; column < 17; ++column) {
        if (StoredCode(layout, column, row) == 1) ++webStarts;
      }
    }
    EXPECT_EQ(RecordCount(webs), webStarts);
    ExpectGridHoldsLayout(layout);
  }
}

TEST_F(MazeTest, RoundsTakeTheirOwnLayoutBackdropAndTimer) {
  round = 0;
  RoundStart(0);
  EXPECT_EQ(round, 1);
  EXPECT_EQ(bonusRound, 0);
  EXPECT_EQ(timer, 54059);
  EXPECT_EQ(wallFrame, 1);
  EXPECT_EQ(backdropSlot, imgBack1);
  ExpectGridHoldsLayout(1);
  ASSERT_EQ(RecordCount(enemies), 1);  // list 1: a spider at (13, 4)
  EXPECT_EQ(enemies(0).x, 48 + 32 * 13);
  EXPECT_EQ(enemies(0).y, 48 + 32 * 4);

  round = 6;
  RoundStart(0);
  EXPECT_EQ(round, 7);
  EXPECT_EQ(backdropSlot, imgBack2);
  EXPECT_EQ(wallFrame, 0);
  ExpectGridHoldsLayout(7);

  round = 23;
  RoundStart(0);
  EXPECT_EQ(backdropSlot, imgBack5);
  round = 24;
  RoundStart(0);
  EXPECT_EQ(round, 25);
  EXPECT_EQ(backdropSlot, imgBack1);
}

TEST_F(MazeTest, EveryFifthRoundFromThreeIsABonusRoundOnLayoutThree) {
  for (int32_t bonus : {3, 8, 13, 38, 43}) {
    SCOPED_TRACE(bonus);
    round = bonus - 1;
    bonusRound = 0;
    RoundStart(0);
    ASSERT_EQ(bonusRound, 1);
    EXPECT_EQ(timer, 30059);
    EXPECT_EQ(wallFrame, (bonus / 5) % 5 + 7);
    EXPECT_EQ(RecordCount(enemies), 0);
    EXPECT_EQ(extraLifeDue, 0);
    // The layout is the bonus maze; hearts stand on its floor.
    for (int32_t row = 0; row < 12; ++row) {
      for (int32_t column = 0; column < 17; ++column) {
        EXPECT_EQ(mazeGrid(column, row), StoredCode(3, column, row));
      }
    }
    const int32_t hearts = RecordCount(items);
    EXPECT_GE(hearts, 6);
    EXPECT_LE(hearts, 16);
    for (int32_t i = 0; i < hearts; ++i)
      EXPECT_EQ(items(i).type, 2);
    // One web, on the mirrored penguin's start cell.
    ASSERT_EQ(RecordCount(webs), 1);
    EXPECT_EQ(webs(0).x, 272);
    EXPECT_EQ(webs(0).y, 368);

    RoundStart(0);
    EXPECT_EQ(bonusRound, 0);
    EXPECT_EQ(extraLifeDue, 1);
    EXPECT_EQ(timer, 54059);
  }
}

TEST_F(MazeTest, TheBonusWebFollowsTheMirroredPenguin) {
  sideSwap = 10;
  round = 2;
  RoundStart(0);
  ASSERT_EQ(RecordCount(webs), 1);
  EXPECT_EQ(webs(0).x, 336);
  EXPECT_EQ(webs(0).y, 368);
}

TEST_F(MazeTest, RoundStartClearsTheRoundsState) {
  penguin1.webState = 2;
  penguin2.webState = 1;
  penguin1.spraying = penguin2.spraying = 1;
  birdCalm = 99;
  birdTouched = 1;
  randomItemActive = 1;
  powerItemGiven = 1;
  penguinSteps = 2;
  enemySteps = 2;
  lossReason = 4;
  AddItemAt(13, 3, 3);
  zrb::AppendArray(floaters, FloaterRecord{});
  zrb::AppendArray(sparkles, SparkleRecord{});
  round = 3;
  RoundStart(0);
  EXPECT_EQ(penguin1.webState, 0);
  EXPECT_EQ(penguin2.webState, 0);
  EXPECT_EQ(penguin1.spraying + penguin2.spraying, 0);
  EXPECT_EQ(birdCalm + birdTouched + randomItemActive + powerItemGiven + lossReason, 0);
  EXPECT_EQ(penguinSteps, 1);
  EXPECT_EQ(enemySteps, 1);
  EXPECT_EQ(RecordCount(items) + RecordCount(floaters) + RecordCount(sparkles), 0);
}

TEST_F(MazeTest, MixedMazesTakeTheirHalvesFromNonBonusLayouts) {
  for (int trial = 0; trial < 40; ++trial) {
    SCOPED_TRACE(trial);
    round = 40 + trial;
    if (round % 5 == 2) continue;  // the next round would be a bonus round
    ClearRecords(webs);
    RoundStart(0);
    ASSERT_GE(round, 41);
    for (int32_t column = 0; column < 17; ++column) {
      EXPECT_EQ(mazeGrid(column, 0), 9);
      EXPECT_EQ(mazeGrid(column, 11), 9);
    }
    for (int32_t row = 0; row < 12; ++row) {
      EXPECT_EQ(mazeGrid(0, row), 9);
      EXPECT_EQ(mazeGrid(16, row), 9);
    }
    // Each half equals a stored layout's half, straight or mirrored; web starts became webs.
    auto sources = [](int32_t first, int32_t last) {
      std::set<int32_t> found;
      for (int32_t layout = 1; layout <= 40; ++layout) {
        for (bool mirrored : {false, true}) {
          bool same = true;
          for (int32_t row = 1; row <= 10 && same; ++row) {
            for (int32_t column = first; column <= last && same; ++column) {
              const int32_t stored = StoredCode(layout, mirrored ? 16 - column : column, row);
              same = mazeGrid(column, row) == (stored == 1 ? 0 : stored) &&
                     (stored != 1 || WebAt(column, row));
            }
          }
          if (same) found.insert(layout);
        }
      }
      return found;
    };
    const std::set<int32_t> left = sources(1, 7);
    const std::set<int32_t> right = sources(8, 15);
    ASSERT_FALSE(left.empty());
    ASSERT_FALSE(right.empty());
    for (int32_t layout : left)
      EXPECT_NE(layout % 5, 3) << "left half from " << layout;
    for (int32_t layout : right)
      EXPECT_NE(layout % 5, 3) << "right half from " << layout;
    for (int32_t row = 0; row < 12; ++row) {
      for (int32_t column = 0; column < 17; ++column) {
        EXPECT_EQ(costGrid(column, row), mazeGrid(column, row) >= 8 ? 0.0 : 9.0);
        EXPECT_NE(mazeGrid(column, row), 1);
      }
    }
  }
}

TEST_F(MazeTest, MusicStartsOnlyWhenAskedAndWithSoundOn) {
  round = 0;
  RoundStart(1);
  EXPECT_EQ(zrb::MusicPlaying(), 1);
  RoundStart(0);
  EXPECT_EQ(zrb::MusicPlaying(), 0);  // the round before's music is stopped

  RoundStart(1);
  ASSERT_EQ(zrb::MusicPlaying(), 1);
  // With the sound off a round neither stops nor starts music.
  soundOn = 0;
  RoundStart(1);
  EXPECT_EQ(zrb::MusicPlaying(), 1);
  zrb::StopMusic();
  RoundStart(1);
  EXPECT_EQ(zrb::MusicPlaying(), 0);
}

TEST_F(MazeTest, CellHelpersTreatTheOutsideAsWall) {
  EXPECT_EQ(FloorDiv(-1, 32), -1);
  EXPECT_EQ(FloorDiv(31, 32), 0);
  EXPECT_EQ(FloorDiv(-32, 32), -1);
  EXPECT_EQ(FloorDiv(-33, 32), -2);
  EXPECT_EQ(MazeCode(-1, 3), 9);
  EXPECT_EQ(MazeCode(17, 3), 9);
  EXPECT_EQ(MazeCode(3, 12), 9);
  EXPECT_FALSE(IsFreePoint(-1, 40));
  EXPECT_TRUE(IsFreePoint(32, 32));
  EXPECT_FALSE(IsFreePoint(31, 32));
}

}  // namespace
}  // namespace tundrel::testing
