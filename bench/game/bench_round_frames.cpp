// The cost of a game frame: the whole round loop (penguins, playfield, webs, enemies, items,
// effects, presentation) in rounds with few and with many enemies, while the penguins walk
// at random. Headless, frames are not paced, so the figure is frames per second of game
// logic and recorded drawing; with --real (under a display, for example Xvfb with Mesa's
// llvmpipe) the frames are drawn with OpenGL and presented, unpaced, and the figure is the
// time a frame takes. Next to the wall time each line gives the processor time of the whole
// process per frame (user + system from getrusage, so llvmpipe's rendering threads count too;
// the X server's share of the swap does not) and what that would be as a share of one core
// at 60 frames per second.
//
// Run from the build folder: ./bench/game/bench_round_frames [frames]
//                            xvfb-run -a ./bench/game/bench_round_frames --real [frames]
//                            BENCH_NO_REPLAY=1 ./bench/game/bench_round_frames  (no replay)
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

#include "engine/files/resolver.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/run_setup.h"
#include "engine/frame/show_screen.h"
#include "engine/graphics/sprites.h"
#include "engine/platform/live_input.h"
#include "game/game_loop.h"
#include "game/game_main.h"
#include "game/maze.h"
#include "game/penguins.h"
#include "game/record_lists.h"
#include "game/state.h"
#include "game/text.h"

namespace {

namespace fs = std::filesystem;
using namespace tundrel;

long g_framesPresented = 0;

void CountFrame(zrb::TraceWriter&) {
  ++g_framesPresented;
}

bool StartEngine(bool real, const fs::path& buildDir) {
  zrb::CommandLineOptions options;
  options.headless = !real;
  options.seed = 1;
  // Traced (to nowhere that matters) so the counting hook sees every presented frame.
  options.tracePath = (fs::temp_directory_path() / "bench_round_frames_trace.json").string();
  // Recorded as every real game is (headless runs record only when asked), so the figures
  // include the replay's cost. BENCH_NO_REPLAY=1 leaves it out, for the comparison.
  if (std::getenv("BENCH_NO_REPLAY") == nullptr) {
    options.recordPath = (fs::temp_directory_path() / "bench_round_frames.tundrel-replay").string();
  }
  std::string error;
  if (!zrb::frame::PrepareRun(&options, &error)) {
    std::fprintf(stderr, "bench_round_frames: %s\n", error.c_str());
    return false;
  }
  zrb::GameProgram program;
  program.name = "bench_round_frames";
  program.traceFrame = &CountFrame;
  zrb::ProjectSettings settings;
  ProjectSettings(settings);
  settings.frameRate = 1000000;  // no pacing: the next frame may start at once
  if (!zrb::EngineInit(settings, options, program)) {
    std::fprintf(stderr, "bench_round_frames: no window (is there a display?)\n");
    return false;
  }
  zrb::AllowEscape(0);
  zrb::AutoPause(0);
  const std::string archive = (buildDir / "Media.sbx").string();
  zrb::SetMediaArchive(archive, archive);
  zrb::SetTransparentColour(0);
  PrepareGameData();
  LoadCatalogue();
  return true;
}

struct Measure {
  long frames = 0;
  double seconds = 0;
  double cpuSeconds = 0;
};

// User + system time of every thread of the process so far.
double ProcessCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Round frames only: a frame that ran into a loss screen or a round end presents many frames
// and is left out of the figure.
Measure RunRound(int32_t startRound, long roundFrames, uint32_t seed) {
  std::mt19937 random(seed);
  const int arrows[] = {200, 203, 205, 208};
  soundOn = 1;
  ResetPenguins();
  StartGame();
  lives = 99;
  tundrel::round = startRound - 1;
  RoundStart(1);
  Measure measure;
  int held = -1;
  while (measure.frames < roundFrames && inGame == 1) {
    if (random() % 40 == 0) {
      if (held >= 0) zrb::platform::ApplyKeyEvent(held, false);
      held = arrows[random() % 4];
      zrb::platform::ApplyKeyEvent(held, true);
    }
    const long before = g_framesPresented;
    const double cpuStart = ProcessCpuSeconds();
    const auto start = std::chrono::steady_clock::now();
    RoundFrame();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double cpuSeconds = ProcessCpuSeconds() - cpuStart;
    if (g_framesPresented - before == 1) {
      measure.seconds += seconds;
      measure.cpuSeconds += cpuSeconds;
      ++measure.frames;
    }
  }
  if (held >= 0) zrb::platform::ApplyKeyEvent(held, false);
  return measure;
}

// The frame with nothing in it: what clearing and presenting cost by themselves.
Measure RunEmptyFrames(long count) {
  Measure measure;
  const double cpuStart = ProcessCpuSeconds();
  const auto start = std::chrono::steady_clock::now();
  for (long i = 0; i < count; ++i)
    FinishFrame();
  measure.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  measure.cpuSeconds = ProcessCpuSeconds() - cpuStart;
  measure.frames = count;
  return measure;
}

void Print(const char* what, const Measure& m) {
  const double cpuMs = 1000.0 * m.cpuSeconds / m.frames;
  std::printf(
      "  %-36s %6ld frames, %8.1f frames/s, %7.3f ms/frame wall, %7.3f ms/frame cpu"
      " (%5.1f%% of a core at 60 fps)\n",
      what, m.frames, m.frames / m.seconds, 1000.0 * m.seconds / m.frames, cpuMs,
      cpuMs * 60.0 / 10.0);
}

}  // namespace

int main(int argc, char** argv) {
  const bool real = argc > 1 && std::strcmp(argv[1], "--real") == 0;
  const int countArg = real ? 2 : 1;
  const long asked = argc > countArg ? std::atol(argv[countArg]) : 0;
  const fs::path buildDir = fs::absolute(argv[0]).parent_path().parent_path().parent_path();
  if (!StartEngine(real, buildDir)) return 1;
  const long frames = asked > 0 ? asked : real ? 600 : 20000;
  std::printf("%s round frames, %ld per round, penguins walking at random:\n",
              real ? "real (OpenGL, unpaced)" : "headless (unpaced)", frames);
  struct Case {
    int32_t round;
    const char* what;
  };
  for (const Case& c :
       {Case{1, "round 1: one spider"}, Case{3, "round 3: bonus, hearts"},
        Case{15, "round 15: spiders, a bird, flames"}, Case{41, "round 41: mixed maze"}}) {
    Print(c.what, RunRound(c.round, frames, 7));
  }
  Print("empty frame (clear and present only)", RunEmptyFrames(frames));
  std::fflush(stdout);
  zrb::EndProgram(0);
}
