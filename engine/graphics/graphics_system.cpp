#include "engine/graphics/graphics_system.h"

#include <cstdio>
#include <vector>

#include "engine/graphics/cpu_renderer.h"
#include "engine/graphics/gl_renderer.h"
#include "engine/graphics/graphics_context.h"
#include "engine/graphics/png_writer.h"
#include "engine/graphics/recording_renderer.h"
#include "engine/graphics/shown_frames.h"
#include "engine/graphics/twin_renderer.h"
#include "engine/platform/file_access.h"
#include "engine/platform/window.h"
#include "engine/platform/window_surface.h"

namespace zrb::graphics {
namespace {

GraphicsContext& Context() {
  static GraphicsContext context;
  return context;
}

constexpr int kLastScreenshotNumber = 9999;

// --renderer both: the CPU renderer draws beside OpenGL, and requested screenshots come in
// pairs.
bool g_cpuBeside = false;
TwinRenderer* g_twin = nullptr;  // the installed renderer, when it is a pair

// "shot.png" -> "shot-cpu.png": where the CPU renderer's picture of a pair goes.
std::string SecondPicturePath(const std::string& path) {
  const bool png = path.size() > 4 && path.compare(path.size() - 4, 4, ".png") == 0;
  return (png ? path.substr(0, path.size() - 4) : path) + "-cpu.png";
}

void WritePicture(const std::vector<uint8_t>& pixels, int width, int height,
                  const std::string& path) {
  const auto png = EncodePng(pixels.data(), width, height);
  std::string problem;
  if (!png) {
    std::fprintf(stderr, "screenshot: the picture could not be encoded, %s not written\n",
                 path.c_str());
  } else if (!platform::ReplaceFile(path, *png, &problem)) {
    std::fprintf(stderr, "screenshot: cannot write %s: %s\n", path.c_str(), problem.c_str());
  }
}

// A new numbered file beside the others; a name taken meanwhile (by another program, or a
// link someone planted) only moves the picture on to the next number.
void WriteNumberedScreenshot(const std::string& prefix, const std::vector<uint8_t>& png) {
  std::string problem;
  for (int number = 1; number <= kLastScreenshotNumber; ++number) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "-%04d.png", number);
    const std::string path = prefix + suffix;
    switch (platform::CreateNewFile(path, png, &problem)) {
      case platform::CreateOutcome::kCreated:
        return;
      case platform::CreateOutcome::kNameTaken:
        continue;
      case platform::CreateOutcome::kFailed:
        std::fprintf(stderr, "screenshot: cannot write %s: %s\n", path.c_str(), problem.c_str());
        return;
    }
  }
  std::fprintf(stderr, "screenshot: every name %s-0001.png to %s-%04d.png is taken\n",
               prefix.c_str(), prefix.c_str(), kLastScreenshotNumber);
}

void WriteDueScreenshots(GraphicsContext& context, long frameNumber) {
  while (!context.screenshots.empty() && context.screenshots.begin()->first <= frameNumber) {
    const GraphicsContext::Screenshot shot = context.screenshots.begin()->second;
    context.screenshots.erase(context.screenshots.begin());
    std::vector<uint8_t> pixels;
    int width = 0, height = 0;
    if (!context.renderer->ReadPicture(pixels, width, height)) {
      std::fprintf(stderr, "screenshot: the %s renderer keeps no pixels, %s not written\n",
                   std::string(context.renderer->Name()).c_str(), shot.path.c_str());
      continue;
    }
    const auto png = EncodePng(pixels.data(), width, height);
    if (!png) {
      std::fprintf(stderr, "screenshot: the picture could not be encoded, %s not written\n",
                   shot.path.c_str());
      continue;
    }
    if (shot.numbered) {
      WriteNumberedScreenshot(shot.path, *png);
      continue;
    }
    std::string problem;
    if (!platform::ReplaceFile(shot.path, *png, &problem)) {
      std::fprintf(stderr, "screenshot: cannot write %s: %s\n", shot.path.c_str(), problem.c_str());
    }
    if (g_twin && g_twin->ReadSecondPicture(pixels, width, height)) {
      WritePicture(pixels, width, height, SecondPicturePath(shot.path));
    }
  }
}

}  // namespace

GraphicsContext& Graphics() {
  GraphicsContext& context = Context();
  if (!context.renderer) context.renderer = std::make_unique<RecordingRenderer>();
  return context;
}

void InstallRenderer(std::unique_ptr<Renderer> renderer, bool headless, int logicalWidth,
                     int logicalHeight) {
  GraphicsContext& context = Context();
  if (context.renderer) context.sprites.ReleaseAll(*context.renderer);
  context.renderer = std::move(renderer);
  context.shownFrames = dynamic_cast<ShownFramesRenderer*>(context.renderer.get());
  g_twin = dynamic_cast<TwinRenderer*>(context.renderer.get());
  context.headless = headless;
  context.logicalWidth = logicalWidth;
  context.logicalHeight = logicalHeight;
  context.draw = DrawState{};
}

bool InitGraphics(bool headless, int logicalWidth, int logicalHeight) {
  if (logicalWidth <= 0 || logicalHeight <= 0) return false;
  std::unique_ptr<Renderer> renderer;
  TwinRenderer* twin = nullptr;
  if (headless) {
    renderer = std::make_unique<RecordingRenderer>();
  } else if (platform::WindowDrawsOnSurface()) {
    renderer = CreateCpuRenderer(logicalWidth, logicalHeight);
  } else {
    GlRendererOptions options;
#ifdef __EMSCRIPTEN__
    // A canvas shows whatever its drawing buffer holds whenever the page yields to the
    // browser, which a wait in the middle of drawing does: frames are drawn offscreen and
    // reach the canvas whole.
    options.target = PictureTarget::kOffscreen;
#endif
    renderer = CreateGlRenderer(logicalWidth, logicalHeight, options);
    if (!renderer) return false;
    if (g_cpuBeside) {
      auto pair = std::make_unique<TwinRenderer>(
          std::move(renderer), CreateCpuRenderer(logicalWidth, logicalHeight, false));
      twin = pair.get();
      renderer = std::move(pair);
    }
  }
  // Either renderer of a window repaints from its last frame and draws nothing while hidden.
  if (!headless) {
    renderer = std::make_unique<ShownFramesRenderer>(std::move(renderer), &platform::WindowIsShown);
  }
  InstallRenderer(std::move(renderer), headless, logicalWidth, logicalHeight);
  if (twin) g_twin = twin;
  GraphicsContext& context = Context();
  if (!context.drawLogPath.empty() && !context.drawLog.IsOpen()) {
    context.drawLog.Open(context.drawLogPath);
  }
  if (headless && !context.screenshots.empty()) {
    std::fprintf(stderr, "screenshots need a window; none is taken in a headless run\n");
    context.screenshots.clear();
  }
  return true;
}

void ShutdownGraphics() {
  GraphicsContext& context = Context();
  // The program ended before their frame came (the player left early).
  for (const auto& [frame, shot] : context.screenshots) {
    std::fprintf(stderr, "screenshot: the program ended before frame %ld, %s not written\n", frame,
                 shot.path.c_str());
  }
  context.screenshots.clear();
  if (context.renderer) context.sprites.ReleaseAll(*context.renderer);
  context.renderer.reset();
  context.shownFrames = nullptr;
  g_twin = nullptr;
  context.draw = DrawState{};
  context.drawLog.Close();
  context.decodeBuffer = DecodedImage{};
}

bool BeforeSwap(long frameNumber) {
  GraphicsContext& context = Graphics();
  context.drawLog.EndFrame(frameNumber);
  if (!context.screenshots.empty()) WriteDueScreenshots(context, frameNumber);
  context.renderer->PresentPicture();
  return !context.shownFrames || !context.shownFrames->Hidden();
}

void RepaintWindow() {
  ShownFramesRenderer* frames = Context().shownFrames;  // none before InitGraphics
  if (!frames || !frames->PresentLastAgain()) return;
  platform::SwapWindow();
  frames->ResumeFrame();
}

void AfterSwap() {
  GraphicsContext& context = Graphics();
  context.renderer->StartFrame(context.draw.clearColour);
}

void ResetDrawState() {
  DrawState& draw = Graphics().draw;
  draw.blend = BlendMode::kOff;
  draw.alphaTest = true;
  draw.alphaFactor = 1.0f;
  draw.colour = {1, 1, 1, 1};
}

bool SetDrawLogPath(const std::string& path, std::string* error) {
  GraphicsContext& context = Context();
  if (!path.empty() && path == context.drawLogPath && context.drawLog.IsOpen()) return true;
  context.drawLogPath = path;
  context.drawLog.Close();
  return path.empty() || context.drawLog.Open(path, error);
}

namespace {

void Request(long frameNumber, GraphicsContext::Screenshot shot) {
  GraphicsContext& context = Context();
  if (context.renderer && context.headless) {
    std::fprintf(stderr, "screenshots need a window; %s not taken in a headless run\n",
                 shot.path.c_str());
    return;
  }
  context.screenshots.emplace(frameNumber, std::move(shot));
}

}  // namespace

void DrawOnCpuBeside(bool beside) {
  g_cpuBeside = beside;
}

void RequestScreenshot(long frameNumber, const std::string& path) {
  Request(frameNumber, {path, false});
}

void RequestNumberedScreenshot(long frameNumber, const std::string& prefix) {
  Request(frameNumber, {prefix, true});
}

}  // namespace zrb::graphics
