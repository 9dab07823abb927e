#include "engine/values/numeric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace zrb {
namespace {

TEST(Mod, RemainderFollowsTheSignOfTheDividend) {
  EXPECT_EQ(Mod(7, 3), 1);
  EXPECT_EQ(Mod(-7, 3), -1);
  EXPECT_EQ(Mod(7, -3), 1);
  EXPECT_EQ(Mod(-7, -3), -1);
  EXPECT_EQ(Mod(7, 0), 0);
  EXPECT_EQ(Mod(INT32_MIN, -1), 0);
  EXPECT_EQ(Mod(INT32_MIN, 7), -2);
}

TEST(FMod, ZeroDivisorGivesZero) {
  EXPECT_EQ(FMod(5.5, 0), 0.0);
  EXPECT_DOUBLE_EQ(FMod(5.5, 2), 1.5);
  EXPECT_DOUBLE_EQ(FMod(-5.5, 2), -1.5);
}

TEST(AbsMinMax, WholeNumbersAndDoubles) {
  EXPECT_EQ(Abs(-5), 5);
  EXPECT_EQ(Abs(INT32_MIN), INT32_MAX);
  EXPECT_EQ(Abs(-2.5), 2.5);
  EXPECT_EQ(Abs(2.5), 2.5);
  EXPECT_EQ(Min(3, -4), -4);
  EXPECT_EQ(Max(3, -4), 3);
  EXPECT_EQ(Min(0.5, 0.25), 0.25);
  EXPECT_EQ(Max(0.5, 0.25), 0.5);
}

TEST(Trigonometry, WorksInDegrees) {
  EXPECT_DOUBLE_EQ(Sin(90), 1.0);
  EXPECT_NEAR(Cos(90), 0.0, 1e-15);
  EXPECT_DOUBLE_EQ(Cos(180), -1.0);
  EXPECT_NEAR(Tan(45), 1.0, 1e-15);
  EXPECT_DOUBLE_EQ(Atan(1, 0), 90.0);
  EXPECT_DOUBLE_EQ(Atan(0, -1), 180.0);
  EXPECT_DOUBLE_EQ(Atan(-1, 0), -90.0);
  EXPECT_DOUBLE_EQ(Atan(1, 1), 45.0);
  EXPECT_EQ(Acos(2), 0.0);
  EXPECT_EQ(Acos(1), 0.0);
  EXPECT_EQ(Acos(-3), 180.0);
  EXPECT_DOUBLE_EQ(Acos(0.5), 60.0);
  EXPECT_DOUBLE_EQ(Sqrt(2.25), 1.5);
  EXPECT_DOUBLE_EQ(Pow(2, 10), 1024.0);
}

TEST(TruncateToInt, TowardZeroAndSaturating) {
  EXPECT_EQ(TruncateToInt(2.9), 2);
  EXPECT_EQ(TruncateToInt(-2.9), -2);
  EXPECT_EQ(TruncateToInt(1e20), INT32_MAX);
  EXPECT_EQ(TruncateToInt(-1e20), INT32_MIN);
  EXPECT_EQ(TruncateToInt(std::numeric_limits<double>::quiet_NaN()), 0);
}

}  // namespace
}  // namespace zrb
