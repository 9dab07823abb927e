// 10^5 AnimCollision calls between 32 x 32 frames (headless: the test only reads the alpha
// masks kept in memory), in three situations.
//   bench_collision [calls]
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench_image.h"
#include "engine/graphics/draw.h"
#include "engine/graphics/graphics_system.h"
#include "engine/graphics/sprites.h"
#include "engine/platform/clock.h"
#include "engine/platform/paths.h"

int main(int argc, char** argv) {
  const long calls = argc > 1 ? std::max(1L, std::atol(argv[1])) : 100000;
  zrb::platform::SetHeadless(true);
  zrb::graphics::InitGraphics(true, 640, 480);

  const std::string folder = zrb::platform::TemporaryDirectory();
  const std::string pid = std::to_string(getpid());
  // A disc (solid in the middle, keyed around it) and a ring (solid only near its edge),
  // as a strip of two frames: frame 0 the disc, frame 1 the ring.
  const std::string strip = folder + "bench_collision_" + pid + ".bmp";
  zrb::bench::WriteBmp24(strip, 64, 32, [](int x, int y) {
    const int dx = x % 32 - 16, dy = y - 16, r2 = dx * dx + dy * dy;
    const bool solid = x < 32 ? r2 < 196 : (r2 >= 196 && r2 < 256);
    return solid ? 0x3080C0u : 0xFF0080u;
  });
  zrb::LoadAnim(strip, 1, 32, 32);
  std::remove(strip.c_str());

  const struct {
    const char* name;
    int frameA, frameB, dx, dy;
  } cases[] = {
      {"solid overlap (hit)", 0, 0, 8, 6},
      {"ring over disc centre (miss)", 1, 0, 0, 0},
      {"rectangles apart", 0, 0, 40, 0},
  };
  std::printf("bench_collision: %ld AnimCollision calls per case, 32x32 frames\n", calls);
  for (const auto& c : cases) {
    long hits = 0;
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < calls; ++i) {
      const int x = 100 + static_cast<int>(i % 7);
      hits += zrb::AnimCollision(1, c.frameA, x, 200, 1, c.frameB, x + c.dx, 200 + c.dy);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("  %-30s %8.2f ms total  %8.1f ns/call  hits %ld\n", c.name, ms,
                ms * 1e6 / static_cast<double>(calls), hits);
  }
  zrb::graphics::ShutdownGraphics();
  return 0;
}
