#include "engine/frame/engine_main.h"

#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "engine/frame/frame_state.h"
#include "engine/frame/run_setup.h"
#include "engine/graphics/graphics_system.h"
#include "engine/platform/clock.h"
#include "engine/platform/file_calls.h"
#include "engine/platform/input_script.h"
#include "engine/platform/log_file.h"
#include "engine/platform/replay.h"
#include "engine/platform/utf8_path.h"
#include "engine/platform/window.h"
#include "engine/values/runtime_error.h"

namespace zrb {
namespace frame {
namespace {

// Start-up changes the working directory, so paths are made absolute first. In a folder whose
// absolute path is too long for the system to take, a path stays as it was given.
std::string Absolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  const auto absolute = std::filesystem::absolute(platform::PathOf(path), error);
  if (error) return path;
  std::string result = platform::TextOf(absolute.lexically_normal());
  return result.size() < PATH_MAX ? result : path;
}

// Holds the --dir folder open, so that it is entered as it was checked, even where its
// absolute path would be too long to name, and checks that it can be entered at all.
bool HoldWorkingFolder(const std::string& given, const std::string& shown, std::string* error) {
  WorkingFolder& folder = State().workingFolder;
  folder = WorkingFolder{};
  if (given.empty()) return true;
  platform::UniqueFd fd = platform::HoldFolder(given);
  if (!fd) {
    *error = "--dir " + shown + ": " +
             (errno == ENOENT || errno == ENOTDIR ? std::string("no such directory")
                                                  : std::strerror(errno));
    return false;
  }
  if (!platform::EnterHeldFolder(fd, given, true)) {
    *error = "cannot enter " + shown + ": " + std::strerror(errno);
    return false;
  }
  folder.path = shown;
  folder.fd = std::move(fd);
  return true;
}

// A runtime error ends the program like any other ending, but says so and exits non-zero.
void OnFatalError(int32_t) {
  const std::string text = "Runtime error " + RuntimeErrorText();
  std::fprintf(stderr, "%s: %s\n", State().program.name, text.c_str());
  AppendLogLine(text);
  EndProgram(kRuntimeErrorExitStatus);
}

[[noreturn]] void ExitWithUsageError(const char* program, const std::string& message) {
  std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", program, message.c_str(), program);
  std::exit(kUsageErrorExitStatus);
}

}  // namespace

FrameState& State() {
  static FrameState state;
  return state;
}

bool PrepareRun(CommandLineOptions* options, std::string* error) {
  const std::string givenDirectory = options->workingDirectory;
  options->scriptPath = Absolute(options->scriptPath);
  options->replayPath = Absolute(options->replayPath);
  options->recordPath = Absolute(options->recordPath);
  options->tracePath = Absolute(options->tracePath);
  options->drawLogPath = Absolute(options->drawLogPath);
  options->workingDirectory = Absolute(options->workingDirectory);
  for (ScreenshotRequest& shot : options->screenshots)
    shot.path = Absolute(shot.path);

  if (!HoldWorkingFolder(givenDirectory, options->workingDirectory, error)) return false;
  // The clock the script runs on must be the run's own before the script is read.
  platform::SetHeadless(options->headless);
  platform::ClearInputScript();
  State().pendingReplay.reset();
  // A replay named as the script plays as one: a recorded run can be a player's replay.
  if (options->replayPath.empty() && !options->scriptPath.empty() &&
      platform::IsReplayFile(options->scriptPath)) {
    options->replayPath = options->scriptPath;
    options->scriptPath.clear();
  }
  const GameProgram& program = State().program;
  if (!options->replayPath.empty()) {
    platform::Replay replay;
    if (!platform::LoadReplayFile(options->replayPath, program.name ? program.name : "zrb",
                                  program.version ? program.version : "", &replay, error)) {
      return false;
    }
    options->seed = replay.seed;
    State().pendingReplay = std::move(replay);
  } else if (!options->scriptPath.empty()) {
    if (!platform::LoadInputScript(options->scriptPath, error)) return false;
  }
  State().trace.Close();
  if (!options->tracePath.empty() && !State().trace.Open(options->tracePath, error)) return false;
  // Like the trace, a draw log that was asked for and cannot be made stops the run here.
  if (!options->drawLogPath.empty() && !graphics::SetDrawLogPath(options->drawLogPath, error)) {
    return false;
  }
  return true;
}

}  // namespace frame

int EngineMain(int argc, char** argv, const GameProgram& program) {
  frame::FrameState& state = frame::State();
  state.program = program;
  state.commandLine = frame::JoinCommandLine(argc, argv);
  const char* name = program.name ? program.name : "zrb";

  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  CommandLineOptions options;
  std::string error;
  if (!frame::ParseCommandLine(args, &options, &error)) frame::ExitWithUsageError(name, error);
  if (options.help) {
    std::fputs(frame::UsageText(name, program.playingHelp ? program.playingHelp : "").c_str(),
               stdout);
    std::exit(0);
  }
  if (options.version) {
    std::printf("%s %s\n", name, program.version ? program.version : "");
    std::exit(0);
  }
  if (!frame::PrepareRun(&options, &error)) frame::ExitWithUsageError(name, error);

  SetFatalErrorHandler(&frame::OnFatalError);
  ProjectSettings settings;
  if (program.projectSettings) program.projectSettings(settings);
  if (!EngineInit(settings, options, program)) {
    std::fprintf(stderr, "%s: cannot open the game window: %s (--headless runs without one)\n",
                 name, platform::WindowError().c_str());
    EndProgram(kRuntimeErrorExitStatus);
  }
  ResetRuntimeErrorRecord();
  if (program.gameMain) program.gameMain();
  EndProgram(0);
}

void AppendLogLine(std::string_view text) {
  platform::AppendLogLine(text);
}

double ElapsedMs() {
  return platform::NowMs();
}

const std::string& CommandLine() {
  return frame::State().commandLine;
}

const CommandLineOptions& EngineOptions() {
  return frame::State().options;
}

const ProjectSettings& CurrentProjectSettings() {
  return frame::State().settings;
}

}  // namespace zrb
