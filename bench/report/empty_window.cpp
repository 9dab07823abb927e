// The floor any windowed program stands on: an SDL window with a GL context (colour only, as
// the game's) that pumps its events, clears and swaps 60 times a second, paced by SDL_Delay,
// drawing nothing else. bench_process measures it beside the game in the same run:
//
//   empty_window [--seconds S] [--size WxH] [--minimised]
//
// --minimised asks the window manager to minimise the window once it is shown, and the loop
// then neither clears nor swaps, as a program that draws nothing it cannot show.
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
  double seconds = 20;
  int width = 640, height = 480;
  bool minimised = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0 && i + 1 < argc) {
      seconds = std::atof(argv[++i]);
    } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2) return 2;
    } else if (std::strcmp(argv[i], "--minimised") == 0) {
      minimised = true;
    } else {
      std::fprintf(stderr, "usage: empty_window [--seconds S] [--size WxH] [--minimised]\n");
      return 2;
    }
  }
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    std::fprintf(stderr, "empty_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_Window* window = SDL_CreateWindow("empty_window", SDL_WINDOWPOS_CENTERED,
                                        SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_OPENGL);
  SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
  if (!context) {
    std::fprintf(stderr, "empty_window: %s\n", SDL_GetError());
    return 1;
  }
  SDL_GL_SetSwapInterval(0);
  if (minimised) SDL_MinimizeWindow(window);
  const Uint64 frequency = SDL_GetPerformanceFrequency();
  const Uint64 start = SDL_GetPerformanceCounter();
  double deadlineMs = 0;
  for (;;) {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
      if (event.type == SDL_QUIT) seconds = 0;
    }
    const bool shown = (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) == 0;
    if (!minimised || shown) {
      glClearColor(0, 0, 0, 1);
      glClear(GL_COLOR_BUFFER_BIT);
      SDL_GL_SwapWindow(window);
    }
    deadlineMs += 1000.0 / 60;
    const double nowMs = static_cast<double>(SDL_GetPerformanceCounter() - start) * 1000.0 /
                         static_cast<double>(frequency);
    if (nowMs >= seconds * 1000) break;
    if (deadlineMs > nowMs) SDL_Delay(static_cast<Uint32>(deadlineMs - nowMs));
  }
  SDL_GL_DeleteContext(context);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
