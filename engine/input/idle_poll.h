// How an input poll that comes with no frame or wait around it is paced.
//
// A game waits for keys by calling KeyState in a loop without presenting frames. In a real run
// such a loop must not burn a core: once nothing has been presented or waited for a while,
// polls are let through in short bursts with a sleep between them (answers within a burst
// come from the last sample; presses are never lost, see KeyState). In a headless run the
// clock only moves when the program waits, so every poll after the first since a frame or
// wait moves the virtual clock on by a fixed step: scripted input at a given time then
// arrives, deterministically, however fast the loop spins.
#pragma once

namespace zrb::input {

struct PollStep {
  bool pump = false;     // take pending events first
  double sleepMs = 0;    // real run: sleep this long before pumping
  double advanceMs = 0;  // headless run: move the virtual clock on by this much
};

class IdlePolicy {
 public:
  // A frame was presented or the program slept.
  void NoteWait(double nowMs);
  // A poll at `nowMs`. After a sleep the caller reports the time it woke with NoteWoke.
  PollStep OnPoll(double nowMs, bool headless);
  void NoteWoke(double nowMs);

  // Real run: polls this long after the last frame or wait count as idle.
  static constexpr double kIdleAfterMs = 50.0;
  // Real run: events are pumped at most this often while not idle.
  static constexpr double kPumpIntervalMs = 1.0;
  // Real run, idle: a burst of polls may run this long before the next sleep...
  static constexpr double kBurstMs = 0.1;
  // ...which lasts this long.
  static constexpr double kIdleSleepMs = 5.0;
  // Headless: the virtual time one idle poll costs (a power of two, so sums stay exact).
  static constexpr double kHeadlessPollMs = 1.0 / 256.0;

  double LastWaitMs() const { return lastWaitMs_; }

 private:
  double lastWaitMs_ = 0;
  double lastPumpMs_ = -1e300;
  double burstStartMs_ = 0;
  long pollsSinceWait_ = 0;
};

}  // namespace zrb::input
