// Start-up, in its order: log, clock, window, caption, random seed, input and sound, display
// mode, archive and working directory, graphics, the first empty frame, the default font.
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/audio/audio_system.h"
#include "engine/files/resolver.h"
#include "engine/frame/desktop.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/frame_pacing.h"
#include "engine/frame/frame_state.h"
#include "engine/frame/random_seed.h"
#include "engine/graphics/graphics_system.h"
#include "engine/input/input.h"
#include "engine/input/input_system.h"
#include "engine/platform/clock.h"
#include "engine/platform/file_calls.h"
#include "engine/platform/log_file.h"
#include "engine/platform/message_box.h"
#include "engine/platform/paths.h"
#include "engine/platform/window.h"

namespace zrb {
namespace frame {
namespace {

constexpr const char* kDriverNoticeFile = "opengldriver.txt";
// Game-controller mappings beyond SDL's own, in the community database's format.
constexpr const char* kControllerMappings = "gamecontrollerdb.txt";
constexpr size_t kDriverNoticeMaxBytes = 2047;
constexpr const char* kDriverNoticeTitle = "No OpenGL Hardware Drivers";
constexpr const char* kDriverNoticeDefault =
    "Please update your GFX adapter's driver\nso it can render OpenGL by HARDWARE\n\n\n"
    "Bitte aktualisieren Sie Ihren\nGrafkkartentreiber, damit er OpenGL\nper HARDWARE "
    "unterst\xC3\xBCtzt!";

// The software-renderer notice is given once per process.
bool g_softwareRendererNoticed = false;

void ResetRunFlags(FrameState& state) {
  state.escapeEnds = true;
  state.paused = false;
  state.quitCallbackDone = false;
  state.ending = false;
  state.windowCreated = state.inputUp = state.audioUp = state.graphicsUp = state.archiveSet = false;
  state.framesPresented = 0;
  state.messageCallbackLookup = FrameState::CallbackLookup::kNotYet;
  state.messageCallback = nullptr;
  state.screenshotKeyWasDown = false;
  state.displayModeKeyPending = false;
  state.defaultFont.clear();
  state.selectedFont = 0;
}

// True when the renderer draws on the processor; logs it the first time.
bool NoteSoftwareRenderer() {
  if (platform::IsHeadless() || g_softwareRendererNoticed) return false;
  if (!platform::IsSoftwareRenderer(platform::GlRendererName())) return false;
  g_softwareRendererNoticed = true;
  AppendLogLine("*** OpenGL Software Emulation - update driver!");
  return true;
}

// A distributor may put a note beside the program telling players what to do about a
// software-only driver; without that file nothing is shown. Automated runs never block on it.
void ShowDriverNotice() {
  std::string resolved;
  if (!files::Resolve(files::ArchiveSlot::kPrimary, kDriverNoticeFile, resolved, true)) return;
  const auto content = files::ReadResolvedFile(resolved);
  if (!content) return;
  std::string text(content->begin(),
                   content->begin() + std::min(content->size(), kDriverNoticeMaxBytes));
  if (text.empty()) text = kDriverNoticeDefault;
  const char* ci = std::getenv("CI");
  if (ci && *ci) {
    AppendLogLine("opengldriver.txt not shown: running under CI");
    return;
  }
  platform::ShowWarningBox(kDriverNoticeTitle, text);
}

void ResolveDefaultFont(FrameState& state) {
  std::string resolved;
  for (const char* name : {"smalfont.png", "smalfont.bmp"}) {
    if (files::Resolve(files::ArchiveSlot::kPrimary, name, resolved, true)) {
      state.defaultFont = name;
      break;
    }
  }
  state.selectedFont = 0;
}

void SetFrameClocks(FrameState& state) {
  state.currentFrameMs = state.previousFrameMs = state.startMs = platform::NowMs();
}

}  // namespace

bool EnterWorkingDirectory() {
  const FrameState& state = State();
  const std::string& dir = state.workingDirectory;
  if (state.workingFolder.fd && state.workingFolder.path == dir) {
    return platform::EnterHeldFolder(state.workingFolder.fd, dir);
  }
  return !dir.empty() && ::chdir(dir.c_str()) == 0;
}

}  // namespace frame

bool EngineInit(const ProjectSettings& settings, const CommandLineOptions& options,
                const GameProgram& program) {
  frame::FrameState& state = frame::State();
  state.settings = settings;
  if (options.fullScreen) state.settings.fullScreen = *options.fullScreen;
  state.options = options;
  state.program = program;
  frame::ResetRunFlags(state);
  const ProjectSettings& s = state.settings;

  frame::ChooseRunFolders(program, options);  // the log's folder among them
  platform::DeleteLogFile();
  state.autoPause = true;
  frame::InstallEventHandlers();

  platform::SetHeadless(options.headless);  // the clock starts again from 0
  platform::NowMs();
  AppendLogLine("Init GFX");

  state.periodMs = frame::FramePeriodMs(s.frameRate);
  platform::WindowConfig window;
  window.width = s.width;
  window.height = s.height;
  window.scale = frame::StartingWindowScale(program, options);
  window.multisample = s.multisample;
  window.drawing = options.renderer == "cpu"  ? platform::WindowDrawing::kSurface
                   : options.renderer.empty() ? platform::WindowDrawing::kAutomatic
                                              : platform::WindowDrawing::kOpenGl;
  window.title = "Zorbel";
  if (!platform::OpenWindow(window)) {
    AppendLogLine("No window: " + platform::WindowError());
    return false;
  }
  state.windowCreated = true;
  frame::ApplyWindowIcon(program);
  state.deadlineMs = platform::NowMs();
  const bool softwareRenderer = frame::NoteSoftwareRenderer();

  platform::SetWindowTitle(s.caption);
  state.normalTitle = s.caption;

  const uint32_t seed =
      options.seed ? *options.seed : static_cast<uint32_t>(std::trunc(platform::NowMs()));
  frame::SeedEngineRandom(seed);
  frame::StartReplay(seed);

  const std::string workingFolder = frame::RunWorkingFolder(options);
  input::InitInput(
      input::InputConfig{s.exclusiveMouse, workingFolder + "/" + frame::kControllerMappings});
  state.inputUp = true;
  if (!audio::InitAudio(options.headless)) {
    // One line for the player; the driver's own complaints went to the log.
    const std::string why = audio::DescribeAudio();
    AppendLogLine("No sound device (" + why + ")");
    constexpr std::string_view kSilent = "none: ";
    const std::string reason = why.rfind(kSilent, 0) == 0 ? why.substr(kSilent.size()) : why;
    std::fprintf(stderr, "%s: no sound device (%s); playing without sound\n",
                 program.name ? program.name : "zrb", reason.c_str());
  }
  state.audioUp = true;
  frame::MatchReplaySound();

  if (!platform::SetWindowMode(s.width, s.height, s.fullScreen) && s.fullScreen) {
    AppendLogLine("No Fullscreen Mode available");
  }

  const std::string executable = platform::ExecutablePath();
  SetMediaArchive(executable, executable);
  state.archiveSet = true;
  state.workingDirectory = workingFolder;
  if (!frame::EnterWorkingDirectory()) {
    AppendLogLine("Cannot enter the working directory " + state.workingDirectory);
  }
  if (softwareRenderer) frame::ShowDriverNotice();

  if (!options.drawLogPath.empty()) graphics::SetDrawLogPath(options.drawLogPath);
  graphics::DrawOnCpuBeside(options.renderer == "both");
  for (const ScreenshotRequest& shot : options.screenshots) {
    graphics::RequestScreenshot(shot.frame, shot.path);
  }
  graphics::InitGraphics(options.headless, s.width, s.height);
  state.graphicsUp = true;

  frame::SetFrameClocks(state);
  state.initialising = true;
  frame::PresentFrame();
  state.initialising = false;
  graphics::ResetDrawState();

  frame::ResolveDefaultFont(state);
  state.paused = false;
  frame::SetFrameClocks(state);
  ShowMousePointer(s.exclusiveMouse ? 0 : 1);
  AppendLogLine("Init Finalized");

  if (options.maxFrames > 0 && state.framesPresented >= options.maxFrames) EndProgram(0);
  return true;
}

}  // namespace zrb
