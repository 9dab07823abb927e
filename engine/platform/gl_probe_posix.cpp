// The child process that asks the GL driver its name, before this process opens the display.
#include <SDL.h>
#include <SDL_opengl.h>
#include <dlfcn.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "engine/platform/window_surface.h"

namespace zrb::platform {
namespace {

// The driver's answer comes within a second or two even from a slow software rasteriser; a
// child that hangs (a wedged display) is ended and GL is assumed.
constexpr int kProbeTimeoutMs = 3000;
constexpr size_t kMaxNameBytes = 255;
// The answer without asking, for a display that offers no direct rendering.
constexpr const char* kNoDirectRendering =
    "software rasterizer (no direct rendering on the display)";

// Whether the X display that SDL will use can give a client direct rendering at all (DRI2,
// DRI3, or NVIDIA's own GLX). A display without any of them (Xvfb, a VNC server's X, most
// forwarded displays) gets every GL context drawn by a software rasteriser, so the driver
// need not be asked. Xlib is opened by hand, as SDL opens it: nothing to link.
bool DisplayLacksDirectRendering() {
  const char* display = std::getenv("DISPLAY");
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  if (!display || !*display || (driver && *driver && std::strcmp(driver, "x11") != 0)) {
    return false;
  }
  void* xlib = ::dlopen("libX11.so.6", RTLD_LAZY | RTLD_LOCAL);
  if (!xlib) return false;
  using Open = void* (*)(const char*);
  using Query = int (*)(void*, const char*, int*, int*, int*);
  using Close = int (*)(void*);
  const auto open = reinterpret_cast<Open>(::dlsym(xlib, "XOpenDisplay"));
  const auto query = reinterpret_cast<Query>(::dlsym(xlib, "XQueryExtension"));
  const auto close = reinterpret_cast<Close>(::dlsym(xlib, "XCloseDisplay"));
  void* connection = open && query && close ? open(nullptr) : nullptr;
  bool lacks = false;
  if (connection) {
    lacks = true;
    for (const char* extension : {"DRI3", "DRI2", "NV-GLX"}) {
      int opcode = 0, event = 0, error = 0;
      if (query(connection, extension, &opcode, &event, &error)) lacks = false;
    }
    close(connection);
  }
  ::dlclose(xlib);
  return lacks;
}

// In the child: a hidden window with a context, its renderer string down the pipe.
[[noreturn]] void AnswerProbe(int fd) {
  if (SDL_Init(SDL_INIT_VIDEO) == 0) {
    SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
    SDL_Window* window =
        SDL_CreateWindow("probe", 0, 0, 1, 1, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    const auto* name = context ? reinterpret_cast<const char*>(glGetString(GL_RENDERER)) : nullptr;
    if (name) {
      size_t length = 0;
      while (name[length] && length < kMaxNameBytes)
        ++length;
      while (length > 0) {
        const ssize_t written = ::write(fd, name, length);
        if (written <= 0) break;
        name += written;
        length -= static_cast<size_t>(written);
      }
    }
  }
  // No exit handlers and no clean-up: they belong to the parent's copy of the process.
  ::_exit(0);
}

std::string ReadAnswer(int fd, pid_t child) {
  std::string name;
  char buffer[kMaxNameBytes + 1];
  const Uint64 start = SDL_GetTicks64();
  for (;;) {
    const auto waited = static_cast<int>(SDL_GetTicks64() - start);
    if (waited >= kProbeTimeoutMs) {
      ::kill(child, SIGKILL);
      name.clear();
      break;
    }
    pollfd ready{fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, kProbeTimeoutMs - waited);
    if (polled < 0 && errno == EINTR) continue;
    if (polled <= 0) continue;  // the time check above ends it
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    name.append(buffer, static_cast<size_t>(got));
    if (name.size() > kMaxNameBytes) name.resize(kMaxNameBytes);
  }
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  return name;
}

std::string RunProbe() {
  // A child forked after this process opened the display would share its connection.
  if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return {};
  int fds[2];
  if (::pipe(fds) != 0) return {};
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(fds[0]);
    AnswerProbe(fds[1]);
  }
  ::close(fds[1]);
  std::string name = child > 0 ? ReadAnswer(fds[0], child) : std::string();
  ::close(fds[0]);
  return name;
}

}  // namespace

std::string ProbeGlRendererName() {
  static std::optional<std::string> answer;
  if (!answer) {
    if (SDL_WasInit(SDL_INIT_VIDEO) != 0) return {};  // too late to ask; not kept
    answer = DisplayLacksDirectRendering() ? kNoDirectRendering : RunProbe();
  }
  return *answer;
}

}  // namespace zrb::platform
