#include "engine/frame/engine_main.h"

#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include "engine/frame/frame_state.h"
#include "engine/frame/run_setup.h"
#include "engine/platform/clock.h"
#include "engine/platform/input_script.h"
#include "engine/platform/log_file.h"
#include "engine/platform/window.h"
#include "engine/values/runtime_error.h"

namespace zrb {
namespace frame {
namespace {

std::string Absolute(const std::string& path) {
  if (path.empty()) return path;
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.lexically_normal().string();
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
  options->scriptPath = Absolute(options->scriptPath);
  options->tracePath = Absolute(options->tracePath);
  options->drawLogPath = Absolute(options->drawLogPath);
  options->workingDirectory = Absolute(options->workingDirectory);
  for (ScreenshotRequest& shot : options->screenshots)
    shot.path = Absolute(shot.path);

  std::error_code fsError;
  if (!options->workingDirectory.empty() &&
      !std::filesystem::is_directory(options->workingDirectory, fsError)) {
    *error = "--dir " + options->workingDirectory + ": no such directory";
    return false;
  }
  // The clock the script runs on must be the run's own before the script is read.
  platform::SetHeadless(options->headless);
  if (!options->scriptPath.empty()) {
    if (!platform::LoadInputScript(options->scriptPath, error)) return false;
  } else {
    platform::ClearInputScript();
  }
  State().trace.Close();
  if (!options->tracePath.empty() && !State().trace.Open(options->tracePath, error)) return false;
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
    std::fputs(frame::UsageText(name).c_str(), stdout);
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
