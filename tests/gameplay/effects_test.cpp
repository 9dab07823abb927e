#include <set>

#include "engine/values/random.h"
#include "game/effects.h"
#include "game/record_lists.h"
#include "gameplay_fixture.h"

namespace tundrel::testing {
namespace {

using EffectsTest = GameplayTest;

TEST_F(EffectsTest, EveryFloaterLivesExactly49Frames) {
  SpawnFloater(100, 200, 5);
  SpawnRing(300, 300);
  SpawnBurst(100, 100, BurstSize::kMedium);
  const int32_t spawned = RecordCount(floaters);
  EXPECT_EQ(spawned, 1 + 17 + 17);
  for (int frame = 0; frame < 48; ++frame)
    UpdateFloaters();
  EXPECT_EQ(RecordCount(floaters), spawned);
  EXPECT_EQ(floaters(0).age, 48);
  EXPECT_NEAR(floaters(0).alpha, 1.1 - 48 * 0.02, 1e-9);
  UpdateFloaters();
  EXPECT_EQ(RecordCount(floaters), 0);
}

TEST_F(EffectsTest, ARingSpreadsSeventeenParticlesAtWholeDegreeSteps) {
  SpawnRing(40, 60);
  ASSERT_EQ(RecordCount(floaters), 17);
  for (int32_t i = 0; i < 17; ++i) {
    EXPECT_EQ(floaters(i).type, 14);
    EXPECT_EQ(floaters(i).angle, 22.0 * i);
    EXPECT_EQ(floaters(i).radius, 8.0);
    EXPECT_EQ(floaters(i).x, 40);
  }
  UpdateFloaters();
  EXPECT_EQ(floaters(1).radius, 14.0);
  EXPECT_EQ(floaters(1).angle, 23.0);
}

TEST_F(EffectsTest, BurstsStartAtTheCellCentreAndFlyOutward) {
  for (BurstSize size : {BurstSize::kSmall, BurstSize::kMedium, BurstSize::kLarge}) {
    ClearRecords(floaters);
    SpawnBurst(100, 200, size);
    const int32_t count = RecordCount(floaters);
    const int32_t expected =
        size == BurstSize::kSmall ? 11 : (size == BurstSize::kMedium ? 17 : 21);
    ASSERT_EQ(count, expected);
    std::set<double> speeds;
    for (int32_t i = 0; i < count; ++i) {
      const FloaterRecord& particle = floaters(i);
      EXPECT_EQ(particle.x, 116);
      EXPECT_EQ(particle.y, 216);
      EXPECT_GE(particle.angle, 1);
      EXPECT_LE(particle.angle, 359);
      EXPECT_GE(particle.speed, 2);
      EXPECT_LE(particle.speed, size == BurstSize::kMedium ? 7 : 8);
      speeds.insert(particle.speed);
    }
    EXPECT_GT(speeds.size(), 1u);
  }
  // Straight up at speed 5: each frame the particle moves 5 pixels up.
  ClearRecords(floaters);
  SpawnBurst(0, 100, BurstSize::kSmall);
  floaters(0).angle = 0;
  floaters(0).speed = 5;
  UpdateFloaters();
  EXPECT_EQ(floaters(0).x, 16);
  EXPECT_EQ(floaters(0).y, 111);
}

TEST_F(EffectsTest, SparklesRiseFallAndLingerUntilADrawOrTheFloorTakesThem) {
  SpawnSparkles(200, 100);
  const int32_t count = RecordCount(sparkles);
  EXPECT_GT(count, 10);
  EXPECT_LT(count, 54);
  for (int32_t i = 0; i < count; ++i) {
    const SparkleRecord& sparkle = sparkles(i);
    EXPECT_EQ(sparkle.life, 30);
    EXPECT_EQ(sparkle.vy, -4.0);
    EXPECT_EQ(sparkle.vx, sparkle.x >= 216 ? 1 : -1);
    EXPECT_GE(sparkle.red, 64);
    EXPECT_LE(sparkle.blue, 255);
  }
  for (int frame = 0; frame < 30; ++frame)
    UpdateSparkles();
  EXPECT_EQ(RecordCount(sparkles), count);
  // Their life runs out now, far above the floor: a one-in-eleven draw takes each.
  for (int frame = 0; frame < 6; ++frame)
    UpdateSparkles();
  EXPECT_LT(RecordCount(sparkles), count);
  EXPECT_GT(RecordCount(sparkles), 0);
  for (int frame = 0; frame < 200; ++frame)
    UpdateSparkles();
  EXPECT_EQ(RecordCount(sparkles), 0);

  // Below the floor line a sparkle goes at once, whatever its life.
  SpawnSparkles(200, 470);
  ASSERT_GT(RecordCount(sparkles), 0);
  for (int32_t i = 0; i < RecordCount(sparkles); ++i)
    sparkles(i).vy = 0;
  UpdateSparkles();
  EXPECT_EQ(RecordCount(sparkles), 0);
}

}  // namespace
}  // namespace tundrel::testing
