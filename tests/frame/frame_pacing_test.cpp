// The frame grid: deadlines after on-time and late frames, and the steps of the wait.
#include <gtest/gtest.h>

#include "engine/frame/frame_pacing.h"

namespace zrb::frame {
namespace {

constexpr double kPeriod = 1000.0 / 60.0;

TEST(FramePacing, AnOnTimeFrameMovesTheDeadlineByExactlyOnePeriod) {
  EXPECT_DOUBLE_EQ(NextDeadline(1000, 1000, kPeriod), 1000 + kPeriod);
  EXPECT_DOUBLE_EQ(NextDeadline(1000, 1000 + kPeriod, kPeriod), 1000 + kPeriod);
}

// A frame released at R (its deadline) is given a next deadline of R + period; its drawing
// then takes 25, 40 or 60 ms, so the next frame is released late, at once, at R + d.
TEST(FramePacing, LateFramesKeepTheGridForTwoPeriodsThenRestartIt) {
  const double release = 5000;
  const double deadline = NextDeadline(release - kPeriod, release, kPeriod);
  ASSERT_DOUBLE_EQ(deadline, release);
  const double next = release + kPeriod;

  // 25 ms: the next grid point, 33.3 ms after the release.
  EXPECT_NEAR(NextDeadline(next, release + 25, kPeriod), release + 2 * kPeriod, 1e-9);
  // 40 ms: the grid point after that, 50 ms after the release.
  EXPECT_NEAR(NextDeadline(next, release + 40, kPeriod), release + 3 * kPeriod, 1e-9);
  // 60 ms: more than two periods late, so the grid starts again from now.
  EXPECT_NEAR(NextDeadline(next, release + 60, kPeriod), release + 60 + kPeriod, 1e-9);
}

TEST(FramePacing, TheNextDeadlineIsNeverInThePast) {
  for (double late = 0; late < 200; late += 0.37) {
    const double now = 1000 + late;
    EXPECT_GT(NextDeadline(1000, now, kPeriod), now) << late;
  }
}

TEST(FramePacing, WaitSleepsToThreeMillisecondsBeforeThenToHalfAMillisecondThenSpins) {
  WaitStep step = NextWaitStep(100, 100 - kPeriod);
  EXPECT_EQ(step.action, WaitStep::Action::kSleep);
  EXPECT_EQ(step.sleepMs, 13);  // 16.67 - 3, cut to whole milliseconds
  step = NextWaitStep(100, 92.5);
  EXPECT_EQ(step.action, WaitStep::Action::kSleep);
  EXPECT_EQ(step.sleepMs, 4);
  step = NextWaitStep(100, 93);  // 7 ms to go: the fine sleep, to half a millisecond before
  EXPECT_EQ(step.action, WaitStep::Action::kSleep);
  EXPECT_DOUBLE_EQ(step.sleepMs, 6.5);
  step = NextWaitStep(100, 97.25);
  EXPECT_EQ(step.action, WaitStep::Action::kSleep);
  EXPECT_DOUBLE_EQ(step.sleepMs, 2.25);
  EXPECT_EQ(NextWaitStep(100, 99.5).action, WaitStep::Action::kSpin);
  EXPECT_EQ(NextWaitStep(100, 99.75).action, WaitStep::Action::kSpin);
  EXPECT_EQ(NextWaitStep(100, 99.999).action, WaitStep::Action::kSpin);
  EXPECT_EQ(NextWaitStep(100, 100).action, WaitStep::Action::kRelease);
  EXPECT_EQ(NextWaitStep(100, 250).action, WaitStep::Action::kRelease);
}

}  // namespace
}  // namespace zrb::frame
