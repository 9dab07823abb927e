// Frames of 600 textured 32 x 32 quads in each alpha mode, drawn by OpenGL into a real
// window (run it under a display; on a machine without a GPU that is Mesa's llvmpipe).
//   bench_draw [frames]
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>

#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "bench_image.h"
#include "engine/graphics/draw.h"
#include "engine/graphics/graphics_system.h"
#include "engine/graphics/sprites.h"
#include "engine/platform/clock.h"
#include "engine/platform/paths.h"
#include "engine/platform/window.h"

namespace {

constexpr int kQuadsPerFrame = 600;

double MillisecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 120;
  zrb::platform::SetHeadless(false);
  zrb::platform::WindowConfig config;
  config.title = "bench_draw";
  if (!zrb::platform::OpenWindow(config)) {
    std::fprintf(stderr, "bench_draw: no window (%s); run it under a display or xvfb-run\n",
                 zrb::platform::WindowError().c_str());
    return 1;
  }
  if (!zrb::graphics::InitGraphics(false, 640, 480)) {
    std::fprintf(stderr, "bench_draw: no OpenGL renderer\n");
    return 1;
  }
  const std::string sprite =
      zrb::platform::TemporaryDirectory() + "bench_draw_" + std::to_string(getpid()) + ".bmp";
  zrb::bench::WriteBmp24(sprite, 32, 32, [](int x, int y) {
    const int dx = x - 16, dy = y - 16;
    return dx * dx + dy * dy < 225 ? 0xC08040u + static_cast<uint32_t>(x * 4) : 0xFF0080u;
  });
  zrb::LoadSprite(sprite, 0);
  std::remove(sprite.c_str());

  std::printf("bench_draw: %d frames of %d textured 32x32 quads, renderer %s\n", frames,
              kQuadsPerFrame, zrb::platform::GlRendererName().c_str());
  const struct {
    const char* name;
    double factor;
    int quads;
  } modes[] = {{"empty frame (baseline)", 0.0, 0},
               {"opaque (0)", 0.0, kQuadsPerFrame},
               {"additive (0.5)", 0.5, kQuadsPerFrame},
               {"translucent (-0.5)", -0.5, kQuadsPerFrame}};
  for (const auto& mode : modes) {
    auto drawFrame = [&](long number) {
      zrb::ClearScreen(0);
      zrb::SetAlphaMode(mode.factor);
      for (int i = 0; i < mode.quads; ++i)
        zrb::DrawSprite(0, (i * 37) % 608, (i * 53) % 448);
      zrb::graphics::BeforeSwap(number);
      zrb::platform::SwapWindow();
      zrb::graphics::AfterSwap();
      zrb::graphics::ResetDrawState();
    };
    for (int i = 0; i < 5; ++i)
      drawFrame(i + 1);  // warm-up
    glFinish();
    const auto start = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    for (int i = 0; i < frames; ++i)
      drawFrame(i + 1);
    glFinish();
    const double ms = MillisecondsSince(start);
    // Processor time counts llvmpipe's rendering threads too, and is less disturbed than
    // wall time when other work shares the machine.
    const double cpuMs = 1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    std::printf("  %-24s %8.3f ms/frame wall  %8.3f ms/frame cpu  %7.1f frames/s\n", mode.name,
                ms / frames, cpuMs / frames, frames * 1000.0 / ms);
  }
  zrb::graphics::ShutdownGraphics();
  zrb::platform::CloseWindow();
  return 0;
}
