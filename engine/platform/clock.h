// The engine clock: real time in a normal run, virtual time in a headless run.
#pragma once

namespace zrb::platform {

// Chosen once at start-up, before anything reads the clock. Headless means no window, no
// audio device, and a clock that only moves when the program waits.
void SetHeadless(bool headless);
bool IsHeadless();

// Milliseconds since the clock's origin (its first reading after start-up or ResetClock).
double NowMs();

// Real: suspends the thread for ms milliseconds. Headless: advances the virtual clock by ms.
void SleepMs(double ms);

// Headless only: moves the virtual clock on by ms (no effect in real mode).
void AdvanceVirtualClock(double ms);

// Headless only: moves the virtual clock on to exactly `ms` when it is still before it.
void AdvanceVirtualClockTo(double ms);

// Makes the next reading the new origin (virtual clock back to 0).
void ResetClock();

}  // namespace zrb::platform
