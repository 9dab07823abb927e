// The frame grid: when a frame may be released and where the next deadline lies.
#pragma once

namespace zrb::frame {

// 1000 / rate for a positive rate, else 2 ms.
double FramePeriodMs(int frameRate);

// The deadline after a frame released at `nowMs` whose deadline was `deadlineMs`: the next
// point of the grid while the program is no more than two periods late, else the grid starts
// again from now. Never earlier than now, so no frame is released early to catch up.
double NextDeadline(double deadlineMs, double nowMs, double periodMs);

// One step of the wait for a deadline.
struct WaitStep {
  enum class Action { kRelease, kSleep, kSpin };
  Action action = Action::kRelease;
  double sleepMs = 0;
};

// One sleep to within kSpinMs of the deadline, then a spin on the clock alone for the rest:
// Linux wakes a thread whose timer slack is small (clock.cpp) a few tens of microseconds late,
// so the spin is short and the frame is still released at its deadline, never before.
inline constexpr double kSpinMs = 0.2;
WaitStep NextWaitStep(double deadlineMs, double nowMs);

// The same after a swap that itself waited for the display's next refresh (a browser's
// animation frame): the frame is then on the display's grid, and a display of the game's rate
// refreshes a little before or after each deadline by turns. Released when the deadline is
// less than half a period away, early or not, so that the frame is drawn in this refresh
// instead of sleeping past it; further away (a faster display), the ordinary wait.
WaitStep NextWaitStepOnDisplay(double deadlineMs, double nowMs, double periodMs);

}  // namespace zrb::frame
