// The cost of waiting for a key: a loop that scans all 256 key codes without presenting
// frames, for 5 s with a real window. Prints the processor time the process used (from
// /proc/self/stat) as a share of one core, and whether a 30 ms tap in the middle was seen.
#include <SDL.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "engine/frame/engine_main.h"
#include "engine/frame/run_setup.h"
#include "engine/input/input.h"

namespace {

// utime + stime of this process, in seconds.
double ProcessCpuSeconds() {
  std::ifstream stat("/proc/self/stat");
  std::string content((std::istreambuf_iterator<char>(stat)), {});
  // Fields after the command name (which is in parentheses and may hold blanks).
  std::istringstream fields(content.substr(content.rfind(')') + 2));
  std::string field;
  unsigned long utime = 0, stime = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i) {
    if (i == 14) utime = std::stoul(field);
    if (i == 15) stime = std::stoul(field);
  }
  return static_cast<double>(utime + stime) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

void PushKey(SDL_Scancode scancode, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = scancode;
  SDL_PushEvent(&event);
}

}  // namespace

int main() {
  zrb::CommandLineOptions options;
  std::string error;
  if (!zrb::frame::PrepareRun(&options, &error)) {
    std::fprintf(stderr, "bench_idle: %s\n", error.c_str());
    return 1;
  }
  zrb::ProjectSettings settings;
  settings.caption = "bench_idle";
  zrb::GameProgram program;
  program.name = "bench_idle";
  if (!zrb::EngineInit(settings, options, program)) {
    std::fprintf(stderr, "bench_idle: no window (run it under xvfb-run or on a desktop)\n");
    return 1;
  }
  using Clock = std::chrono::steady_clock;
  constexpr auto kDuration = std::chrono::seconds(5);
  std::thread tapper([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(2500));
    PushKey(SDL_SCANCODE_SPACE, true);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    PushKey(SDL_SCANCODE_SPACE, false);
  });

  const double cpuBefore = ProcessCpuSeconds();
  const auto start = Clock::now();
  long scans = 0;
  bool tapSeen = false;
  while (Clock::now() - start < kDuration) {
    for (int code = 0; code < 256; ++code) {
      if (zrb::KeyState(code) && code == 57) tapSeen = true;
    }
    ++scans;
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = ProcessCpuSeconds() - cpuBefore;
  tapper.join();
  zrb::EngineShutdown();

  std::printf("key wait: %.2f s, %ld scans of 256 codes\n", seconds, scans);
  std::printf("processor time: %.3f s = %.1f%% of one core\n", cpu, 100.0 * cpu / seconds);
  std::printf("30 ms tap seen: %s\n", tapSeen ? "yes" : "no");
  return tapSeen ? 0 : 1;
}
