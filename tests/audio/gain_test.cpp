#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/audio/gain.h"

namespace zrb::audio {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(Gain, HalfVolumeIsMinusFiftyDecibels) {
  const PlayLevels levels = LevelsFor(0.0, 0.5);
  EXPECT_EQ(levels.volumeHundredthsDb, -5000);
  EXPECT_EQ(levels.panHundredthsDb, 0);
  EXPECT_NEAR(GainFromHundredthsDb(levels.volumeHundredthsDb), 0.0031622777, 1e-9);
  const ChannelGains gains = GainsFor(levels);
  EXPECT_NEAR(gains.left, 0.0031622777, 1e-7);
  EXPECT_NEAR(gains.right, 0.0031622777, 1e-7);
}

TEST(Gain, VolumeIsClampedAndTruncatedToWholeHundredths) {
  EXPECT_EQ(LevelsFor(0, 2.0).volumeHundredthsDb, 0);
  EXPECT_TRUE(GainsFor(LevelsFor(0, 2.0)).IsUnity());
  EXPECT_EQ(LevelsFor(0, 0.999).volumeHundredthsDb, -100);
  EXPECT_NEAR(GainFromHundredthsDb(-100), 0.8912509, 1e-6);
  EXPECT_EQ(LevelsFor(0, -4.0).volumeHundredthsDb, -10000);
  EXPECT_EQ(LevelsFor(0, -1e300).volumeHundredthsDb, -10000);
  EXPECT_EQ(LevelsFor(0, kNaN).volumeHundredthsDb, -10000);
  EXPECT_EQ(GainFromHundredthsDb(-10000), 0.0);
}

TEST(Gain, PanAttenuatesTheOtherSideOnly) {
  const PlayLevels hardLeft = LevelsFor(-3.0, 1.0);
  EXPECT_EQ(hardLeft.panHundredthsDb, -10000);
  EXPECT_EQ(GainsFor(hardLeft).left, 1.0f);
  EXPECT_EQ(GainsFor(hardLeft).right, 0.0f);

  const PlayLevels halfRight = LevelsFor(0.5, 1.0);
  EXPECT_EQ(halfRight.panHundredthsDb, 5000);
  EXPECT_NEAR(GainsFor(halfRight).left, 0.0031622777, 1e-7);
  EXPECT_EQ(GainsFor(halfRight).right, 1.0f);

  EXPECT_EQ(LevelsFor(0.12345, 1.0).panHundredthsDb, 1234);
  EXPECT_EQ(LevelsFor(-0.12345, 1.0).panHundredthsDb, -1234);
  EXPECT_EQ(LevelsFor(kNaN, 1.0).panHundredthsDb, 0);
  EXPECT_EQ(LevelsFor(std::numeric_limits<double>::infinity(), 1.0).panHundredthsDb, 10000);
}

TEST(Gain, ScalesInterleavedStereoFrames) {
  int16_t frames[] = {1000, -1000, 32767, -32768, 0, 7};
  ApplyGains(frames, 3, {0.5f, 0.25f});
  EXPECT_EQ(frames[0], 500);
  EXPECT_EQ(frames[1], -250);
  EXPECT_EQ(frames[2], 16384);
  EXPECT_EQ(frames[3], -8192);
  EXPECT_EQ(frames[4], 0);
  EXPECT_EQ(frames[5], 2);
}

}  // namespace
}  // namespace zrb::audio
