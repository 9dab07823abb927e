// Frame pacing with a real window: 600 frames of an empty loop. Prints the median interval
// between releases, the 99th percentile of its distance from the period, and the number of
// frames released before their deadline (which must be 0).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "engine/frame/engine_main.h"
#include "engine/frame/frame_stats.h"
#include "engine/frame/run_setup.h"
#include "engine/frame/show_screen.h"

int main() {
  zrb::CommandLineOptions options;
  std::string error;
  if (!zrb::frame::PrepareRun(&options, &error)) {
    std::fprintf(stderr, "bench_pacing: %s\n", error.c_str());
    return 1;
  }
  zrb::ProjectSettings settings;
  settings.caption = "bench_pacing";
  zrb::GameProgram program;
  program.name = "bench_pacing";
  if (!zrb::EngineInit(settings, options, program)) {
    std::fprintf(stderr, "bench_pacing: no window (run it under xvfb-run or on a desktop)\n");
    return 1;
  }
  constexpr int kFrames = 600;
  std::vector<double> releases;
  long early = 0;
  double worstLate = 0;
  for (int i = 0; i < kFrames; ++i) {
    zrb::ShowScreen();
    const zrb::frame::FrameStats stats = zrb::frame::CurrentFrameStats();
    releases.push_back(stats.lastReleaseMs);
    if (stats.lastReleaseMs < stats.lastDeadlineMs) ++early;
    worstLate = std::max(worstLate, stats.lastReleaseMs - stats.lastDeadlineMs);
  }
  const double period = zrb::frame::CurrentFrameStats().periodMs;
  zrb::EngineShutdown();

  std::vector<double> intervals, deviations;
  for (size_t i = 1; i < releases.size(); ++i) {
    intervals.push_back(releases[i] - releases[i - 1]);
    deviations.push_back(std::fabs(intervals.back() - period));
  }
  std::sort(intervals.begin(), intervals.end());
  std::sort(deviations.begin(), deviations.end());
  const double median = intervals[intervals.size() / 2];
  const double p99 = deviations[static_cast<size_t>(0.99 * (deviations.size() - 1))];
  std::printf("frames: %d, period %.3f ms\n", kFrames, period);
  std::printf("median frame interval: %.3f ms\n", median);
  std::printf("99th percentile |interval - period|: %.3f ms\n", p99);
  std::printf("worst release after its deadline: %.3f ms\n", worstLate);
  std::printf("frames released before their deadline: %ld\n", early);
  return early == 0 ? 0 : 1;
}
