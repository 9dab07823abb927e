#include "engine/platform/clock.h"

#include <chrono>
#include <optional>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

#ifdef __EMSCRIPTEN__
#include <emscripten/emscripten.h>
#endif

namespace zrb::platform {
namespace {

using SteadyClock = std::chrono::steady_clock;

bool g_headless = false;
double g_virtualMs = 0.0;
std::optional<SteadyClock::time_point> g_origin;

}  // namespace

void SetHeadless(bool headless) {
  g_headless = headless;
  ResetClock();
}

bool IsHeadless() {
  return g_headless;
}

double NowMs() {
  if (g_headless) return g_virtualMs;
  const auto now = SteadyClock::now();
  if (!g_origin) g_origin = now;
  return std::chrono::duration<double, std::milli>(now - *g_origin).count();
}

void SleepMs(double ms) {
  if (ms <= 0) return;
  if (g_headless) {
    g_virtualMs += ms;
    return;
  }
#ifdef __EMSCRIPTEN__
  // The page's thread is the browser's: sleeping hands it back (input arrives, the canvas is
  // shown) until the time is up.
  emscripten_sleep(static_cast<unsigned>(ms));
#else
#ifdef __linux__
  // A thread's sleeps end up to its timer slack late (50 microseconds by default); with 1
  // microsecond the frame wait's final spin can be short.
  static const bool slackSet = prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0) == 0;
  (void)slackSet;
#endif
  std::this_thread::sleep_for(std::chrono::duration<double, std::milli>(ms));
#endif
}

void AdvanceVirtualClock(double ms) {
  if (g_headless && ms > 0) g_virtualMs += ms;
}

void AdvanceVirtualClockTo(double ms) {
  if (g_headless && ms > g_virtualMs) g_virtualMs = ms;
}

void ResetClock() {
  g_virtualMs = 0.0;
  g_origin.reset();
}

}  // namespace zrb::platform
