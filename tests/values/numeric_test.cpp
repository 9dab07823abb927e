#include "engine/values/numeric.h"

#include <gtest/gtest.h>

#include <limits>

namespace zrb {
namespace {

TEST(Numeric, ModAndFModGiveZeroForZeroDivisors) {
  EXPECT_EQ(Mod(-7, 3), -1);
  EXPECT_EQ(Mod(7, -3), 1);
  EXPECT_EQ(Mod(7, 0), 0);
  EXPECT_EQ(Mod(INT32_MIN, -1), 0);
  EXPECT_EQ(FMod(5.5, 0), 0.0);
  EXPECT_DOUBLE_EQ(FMod(-5.5, 2), -1.5);
}

TEST(Numeric, AbsSaturatesAndTruncationIsDefinedEverywhere) {
  EXPECT_EQ(Abs(INT32_MIN), INT32_MAX);
  EXPECT_EQ(Abs(-2.5), 2.5);
  EXPECT_EQ(Min(3, -4), -4);
  EXPECT_EQ(Max(0.5, 0.25), 0.5);
  EXPECT_EQ(TruncateToInt(-2.9), -2);
  EXPECT_EQ(TruncateToInt(1e20), INT32_MAX);
  EXPECT_EQ(TruncateToInt(-1e20), INT32_MIN);
  EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace zrb
