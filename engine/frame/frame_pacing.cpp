#include "engine/frame/frame_pacing.h"

#include <cmath>

namespace zrb::frame {

double FramePeriodMs(int frameRate) {
  return frameRate > 0 ? 1000.0 / frameRate : 2.0;
}

double NextDeadline(double deadlineMs, double nowMs, double periodMs) {
  if (nowMs <= deadlineMs + periodMs) return deadlineMs + periodMs;
  if (nowMs <= deadlineMs + 2 * periodMs) return deadlineMs + 2 * periodMs;
  return nowMs + periodMs;
}

WaitStep NextWaitStep(double deadlineMs, double nowMs) {
  const double remaining = deadlineMs - nowMs;
  if (remaining <= 0.0) return {WaitStep::Action::kRelease, 0};
  if (remaining > kSpinMs) return {WaitStep::Action::kSleep, remaining - kSpinMs};
  return {WaitStep::Action::kSpin, 0};
}

WaitStep NextWaitStepOnDisplay(double deadlineMs, double nowMs, double periodMs) {
  if (deadlineMs - nowMs < periodMs / 2) return {WaitStep::Action::kRelease, 0};
  return NextWaitStep(deadlineMs, nowMs);
}

}  // namespace zrb::frame
