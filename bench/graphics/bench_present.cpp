// The CPU renderer's present: a 640 x 480 picture put into a window surface of each common
// screen size (whole multiples nearest, the sharp scale, shrunk), as many frames as asked.
// No display needed: the surface is plain memory in X11's usual pixel format.
//   bench_present [frames]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "engine/graphics/cpu_present.h"

int main(int argc, char** argv) {
  using zrb::graphics::Scaling;
  const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
  std::vector<uint32_t> picture(640 * 480);
  for (size_t i = 0; i < picture.size(); ++i)
    picture[i] = 0xFF000000u | static_cast<uint32_t>(i * 2654435761u >> 8 & 0xFFFFFF);
  const struct {
    int width, height;
  } sizes[] = {{640, 480},  {1280, 960}, {1920, 1080}, {1366, 768},
               {1280, 800}, {1024, 768}, {990, 743},   {400, 300}};
  std::printf("bench_present: %d frames of a 640x480 picture per surface size\n", frames);
  for (const auto& size : sizes) {
    std::vector<uint32_t> surface(static_cast<size_t>(size.width) * size.height);
    const zrb::platform::SurfacePixels pixels{
        surface.data(), size.width, size.height, size.width, 16, 8, 0, false};
    zrb::graphics::SurfacePresenter presenter;
    const zrb::graphics::CpuPicture frame{picture.data(), 640, 480};
    presenter.Show(frame, pixels);  // the bars, once
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < frames; ++i) {
      picture[static_cast<size_t>(i % 640)] ^= 0x10101;  // a new picture each frame
      presenter.Show(frame, pixels);
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const zrb::graphics::Letterbox box =
        zrb::graphics::SurfaceBox(640, 480, size.width, size.height);
    const char* scaling = box.scaling == Scaling::kWhole   ? "whole"
                          : box.scaling == Scaling::kSharp ? "sharp"
                                                           : "smooth";
    std::printf("  %4dx%-4d  %4dx%-4d %-6s %7.3f ms/frame  (checksum %08x)\n", size.width,
                size.height, box.width, box.height, scaling, ms / frames,
                surface[surface.size() / 2]);
  }
  return 0;
}
