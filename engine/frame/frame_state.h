// The application frame's single state: settings, flags, frame clocks, the frame deadline.
// Internal to engine/frame.
#pragma once

#include <optional>
#include <string>

#include "engine/frame/command_line.h"
#include "engine/frame/engine_main.h"
#include "engine/frame/project_settings.h"
#include "engine/frame/trace_file.h"
#include "engine/platform/replay.h"
#include "engine/platform/unique_fd.h"

namespace zrb::frame {

// The --dir folder as checked before start-up, held open.
struct WorkingFolder {
  std::string path;  // as the run names it (FrameState::workingDirectory)
  platform::UniqueFd fd;
};

struct FrameState {
  ProjectSettings settings;
  CommandLineOptions options;
  GameProgram program;
  std::string commandLine;
  std::string workingDirectory;
  WorkingFolder workingFolder;
  std::string normalTitle;

  // Start-up sets this on; it doubles as the mark that start-up was reached (focus changes
  // are ignored before that).
  bool autoPause = false;
  bool escapeEnds = true;
  bool paused = false;
  bool quitCallbackDone = false;
  bool ending = false;
  bool initialising = false;

  // What start-up brought up, so that shutdown releases each thing once.
  bool windowCreated = false;
  bool inputUp = false;
  bool audioUp = false;
  bool graphicsUp = false;
  bool archiveSet = false;

  // Frame clocks (engine milliseconds) and the grid.
  double currentFrameMs = 0;
  double previousFrameMs = 0;
  double startMs = 0;
  double periodMs = 1000.0 / 60.0;
  double deadlineMs = 0;
  long framesPresented = 0;
  double lastDeadlineMs = 0;
  double lastReleaseMs = 0;

  enum class CallbackLookup { kNotYet, kAbsent, kPresent };
  CallbackLookup messageCallbackLookup = CallbackLookup::kNotYet;
  void (*messageCallback)() = nullptr;

  bool screenshotKeyWasDown = false;
  bool displayModeKeyPending = false;
  // The window scale read from the preferences file at start-up (0: none stored) and the file.
  int storedWindowScale = 0;
  std::string preferencesPath;
  std::string defaultFont;  // the resolved default font file, "" when there is none
  int selectedFont = 0;

  TraceFile trace;
  // --replay (or a replay given as the script): read before start-up, played from it.
  std::optional<platform::Replay> pendingReplay;
};

// Start-up: plays the pending replay, or records this run when it is not headless or --record
// asks for it (from the seed on, before the first sample).
void StartReplay(uint32_t seed);

// After the sound is up: a recording notes whether sounds play; a replay plays as recorded
// (with sounds, on the clock when no device takes them, or without).
void MatchReplaySound();

// Ending: hands the recorded replay to --record's file and to the program's keepReplay.
void KeepReplay();

FrameState& State();

// The window procedure's handlers (close request, activation) and the headless input stall.
void InstallEventHandlers();

// Takes pending window events, with the game's message callback when it registered one.
void PumpMessages();

// Swaps, waits for the deadline, moves the deadline on, writes the trace line, and ends the
// program once --max-frames frames have been presented.
void PresentFrame();

// Sets the working directory to the run's folder (start-up and shutdown).
bool EnterWorkingDirectory();

}  // namespace zrb::frame
