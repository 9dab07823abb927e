#include "engine/input/idle_poll.h"

namespace zrb::input {

void IdlePolicy::NoteWait(double nowMs) {
  lastWaitMs_ = nowMs;
  burstStartMs_ = nowMs;
  pollsSinceWait_ = 0;
}

void IdlePolicy::NoteWoke(double nowMs) {
  burstStartMs_ = nowMs;
  lastPumpMs_ = nowMs;
}

PollStep IdlePolicy::OnPoll(double nowMs, bool headless) {
  PollStep step;
  ++pollsSinceWait_;
  if (headless) {
    // The script is cheap to look at: always pump, so an event is seen the moment it is due.
    step.pump = true;
    if (pollsSinceWait_ > 1) step.advanceMs = kHeadlessPollMs;
    return step;
  }
  if (nowMs - lastWaitMs_ < kIdleAfterMs) {
    step.pump = nowMs - lastPumpMs_ >= kPumpIntervalMs;
    if (step.pump) lastPumpMs_ = nowMs;
    return step;
  }
  if (nowMs - burstStartMs_ >= kBurstMs) {
    step.sleepMs = kIdleSleepMs;
    step.pump = true;
  }
  return step;
}

}  // namespace zrb::input
