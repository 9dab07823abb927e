// After a swap that waited for the display (the browser's animation frame), a frame is released
// within half a period of its deadline, before it too, so a 60 Hz display whose refreshes fall
// a little before or after the deadlines shows every frame; further off, the ordinary wait.
#include <gtest/gtest.h>

#include "engine/frame/frame_pacing.h"

namespace zrb::frame {
namespace {

TEST(DisplayPacing, ReleasesWithinHalfAPeriodOfTheDeadlineElseWaitsAsUsual) {
  // On time, late, a refresh just before the deadline, just under half a period before; more
  // than half a period before (a faster display), a whole refresh of a 120 Hz display early.
  for (const double now : {1000.0, 1003.0, 999.9, 991.7, 991.6, 983.4}) {
    SCOPED_TRACE(now);
    const WaitStep step = NextWaitStepOnDisplay(1000, now, 1000.0 / 60);
    const WaitStep usual = NextWaitStep(1000, now);
    EXPECT_EQ(step.action, now > 991.65 ? WaitStep::Action::kRelease : usual.action);
    EXPECT_EQ(step.sleepMs, now > 991.65 ? 0 : usual.sleepMs);
  }
}

}  // namespace
}  // namespace zrb::frame
