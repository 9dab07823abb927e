// After a swap that waited for the display (the browser's animation frame), a frame is released
// within half a period of its deadline, before it too, so a 60 Hz display whose refreshes fall
// a little before or after the deadlines shows every frame; further off, the ordinary wait.
#include <gtest/gtest.h>

#include "engine/frame/frame_pacing.h"

namespace zrb::testing {
namespace {

using frame::NextWaitStep;
using frame::NextWaitStepOnDisplay;
using Action = frame::WaitStep::Action;

TEST(DisplayPacing, ReleasesWithinHalfAPeriodOfTheDeadlineElseWaitsAsUsual) {
  const double period = 1000.0 / 60;
  struct Case {
    double deadline, now;
    Action expected;
  };
  const Case cases[] = {
      {1000, 1000, Action::kRelease},   // on time
      {1000, 1003, Action::kRelease},   // late
      {1000, 999.9, Action::kRelease},  // a refresh just before the deadline
      {1000, 991.7, Action::kRelease},  // just under half a period before
      {1000, 991.6, Action::kSleep},    // more than half a period before: a faster display
      {1000, 983.4, Action::kSleep},    // a whole refresh of a 120 Hz display early
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.now);
    const frame::WaitStep step = NextWaitStepOnDisplay(c.deadline, c.now, period);
    EXPECT_EQ(step.action, c.expected);
    if (c.expected != Action::kRelease) {
      EXPECT_EQ(step.sleepMs, NextWaitStep(c.deadline, c.now).sleepMs);
    }
  }
}

}  // namespace
}  // namespace zrb::testing
