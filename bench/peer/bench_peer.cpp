// The peer: a plain SDL_Renderer program drawing a frame like a round's, 60 times a second
// with SDL_Delay pacing. A full-screen backdrop, 17 x 12 tiles, 12 blended sprites and 40
// glyphs, drawn into a 640 x 480 logical picture scaled by a whole number into the window.
// What a small hand-written SDL game costs on this machine; scripts/perf-report.sh measures
// it from outside (bench_process) beside the game.
//
//   bench_peer [--driver opengl|software] [--scale N] [--seconds S]
//
// software: SDL's own renderer into the window's surface (XShm on X11, no GL driver loaded).
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

// A texture of `w` x `h` filled by `texel(x, y)` as 0xAARRGGBB.
template <typename Texel>
SDL_Texture* MakeTexture(SDL_Renderer* renderer, int w, int h, Texel texel) {
  std::vector<Uint32> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      pixels[static_cast<size_t>(y) * w + x] = texel(x, y);
  SDL_Texture* texture =
      SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, w, h);
  if (!texture) return nullptr;
  SDL_UpdateTexture(texture, nullptr, pixels.data(), w * 4);
  return texture;
}

}  // namespace

int main(int argc, char** argv) {
  std::string driver = "opengl";
  int scale = 1;
  double seconds = 20;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--driver")) driver = argv[i + 1];
    if (!std::strcmp(argv[i], "--scale")) scale = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--seconds")) seconds = std::atof(argv[i + 1]);
  }
  if (driver == "software") SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_SetHint(SDL_HINT_RENDER_DRIVER, driver.c_str());
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "bench_peer: %s\n", SDL_GetError());
    return 1;
  }
  const Uint32 windowFlags = driver == "opengl" ? SDL_WINDOW_OPENGL : 0;
  SDL_Window* window =
      SDL_CreateWindow("bench_peer", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kWidth * scale,
                       kHeight * scale, windowFlags);
  SDL_Renderer* renderer =
      window
          ? SDL_CreateRenderer(
                window, -1, driver == "software" ? SDL_RENDERER_SOFTWARE : SDL_RENDERER_ACCELERATED)
          : nullptr;
  if (!renderer) {
    std::fprintf(stderr, "bench_peer: %s\n", SDL_GetError());
    return 1;
  }
  SDL_RenderSetLogicalSize(renderer, kWidth, kHeight);
  SDL_RenderSetIntegerScale(renderer, SDL_TRUE);
  SDL_RendererInfo info;
  SDL_GetRendererInfo(renderer, &info);
  std::printf("bench_peer: SDL renderer %s, window %dx%d\n", info.name, kWidth * scale,
              kHeight * scale);

  SDL_Texture* backdrop = MakeTexture(renderer, kWidth, kHeight, [](int x, int y) {
    return 0xFF000000u | static_cast<Uint32>((x * 7) & 0xFF) << 16 |
           static_cast<Uint32>((y * 5) & 0xFF) << 8 | static_cast<Uint32>((x ^ y) & 0xFF);
  });
  SDL_Texture* tile = MakeTexture(renderer, 32, 32, [](int x, int y) {
    return (x == 0 || y == 0) ? 0xFF8090A0u : 0xFFD0E0F0u - static_cast<Uint32>((x + y) & 15);
  });
  SDL_Texture* sprite = MakeTexture(renderer, 32, 32, [](int x, int y) {
    const int dx = x - 16, dy = y - 16;
    return dx * dx + dy * dy < 196 ? 0xC0203040u + static_cast<Uint32>(x * 4) : 0u;
  });
  SDL_Texture* glyph = MakeTexture(
      renderer, 16, 16, [](int x, int y) { return ((x / 3 + y / 3) & 1) ? 0xFFFFFFFFu : 0u; });
  if (!backdrop || !tile || !sprite || !glyph) {
    std::fprintf(stderr, "bench_peer: %s\n", SDL_GetError());
    return 1;
  }
  SDL_SetTextureBlendMode(sprite, SDL_BLENDMODE_BLEND);
  SDL_SetTextureBlendMode(glyph, SDL_BLENDMODE_BLEND);

  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 start = SDL_GetPerformanceCounter();
  const double periodMs = 1000.0 / 60.0;
  long frame = 0;
  for (bool running = true; running;) {
    SDL_Event event;
    while (SDL_PollEvent(&event))
      if (event.type == SDL_QUIT) running = false;
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, backdrop, nullptr, nullptr);
    for (int row = 0; row < 12; ++row) {
      for (int column = 0; column < 17; ++column) {
        if ((row * 17 + column) % 3 == 0) continue;  // the maze's walls and gaps
        const SDL_Rect at{48 + column * 32, 48 + row * 32, 32, 32};
        SDL_RenderCopy(renderer, tile, nullptr, &at);
      }
    }
    for (int i = 0; i < 12; ++i) {
      const SDL_Rect at{static_cast<int>(60 + i * 45 + frame % 32), 100 + (i % 4) * 80, 32, 32};
      SDL_RenderCopy(renderer, sprite, nullptr, &at);
    }
    for (int i = 0; i < 40; ++i) {
      const SDL_Rect at{16 + i * 15, 8, 16, 16};
      SDL_RenderCopy(renderer, glyph, nullptr, &at);
    }
    SDL_RenderPresent(renderer);
    ++frame;
    const double elapsedMs =
        static_cast<double>(SDL_GetPerformanceCounter() - start) * 1000.0 / frequency;
    if (elapsedMs >= seconds * 1000.0) break;
    const double nextMs = static_cast<double>(frame) * periodMs;
    if (nextMs > elapsedMs) SDL_Delay(static_cast<Uint32>(nextMs - elapsedMs));
  }
  std::printf("bench_peer: %ld frames in %.1f s\n", frame, seconds);
  SDL_Quit();
  return 0;
}
