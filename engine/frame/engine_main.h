// The engine's entry, start-up and the one way the program ends.
//
// The game's main() hands its program to EngineMain, which parses the command line, asks the
// game for its project settings, starts the engine, runs the game's entry once and ends the
// program through EndProgram when the entry returns. The engine never calls into the game
// otherwise, except for the per-frame trace and the functions it registers by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/frame/command_line.h"
#include "engine/frame/project_settings.h"
#include "engine/frame/show_screen.h"
#include "engine/frame/trace_writer.h"
#include "engine/platform/player_folders.h"

namespace zrb {

struct GameProgram {
  const char* name = "zrb";  // for --help and --version
  const char* version = "1.0";
  // What --help says about playing (the keys), before the options; null for nothing.
  const char* playingHelp = nullptr;
  void (*projectSettings)(ProjectSettings& settings) = nullptr;
  int (*gameMain)() = nullptr;  // the game's entry; returning ends the program
  // Adds the game's fields to the trace line of each presented frame (--trace).
  void (*traceFrame)(TraceWriter& trace) = nullptr;
  // Functions the engine may call by name, ended by an entry without a function. None: null.
  const FunctionNameEntry* functionNames = nullptr;

  // A program players install gives its layout (engine/platform/player_folders.h). The engine
  // then works from the folder holding its data, keeps the player's files in the player's own
  // folders when it runs installed, opens the window at the largest whole scale the desktop
  // has room for, and keeps the player's last window scale in "preferences.txt" beside the
  // settings. Null: the program's own folder, a window at scale 1, nothing remembered.
  const platform::InstallLayout* install = nullptr;
  // The window's icon, a PNG picture in memory; null for the window system's default.
  const uint8_t* iconPng = nullptr;
  size_t iconPngSize = 0;
  // Alt+Enter, once the frame it was pressed in has been shown: switches between window and
  // full screen the way the program's own settings do. Null: the engine switches the mode.
  void (*displayModeKey)() = nullptr;
  // At the end of a recorded run (every real run, and any with --record), the whole replay;
  // the program keeps it where its player finds it. Never called while a replay plays.
  void (*keepReplay)(const std::string& replay) = nullptr;
};

// Runs the whole program. Never returns; the exit status is 0 for every ordinary ending,
// 1 after a runtime error or when the window cannot be opened, 2 for a bad command line.
[[noreturn]] int EngineMain(int argc, char** argv, const GameProgram& program);

// Start-up, for EngineMain and for tests that drive the engine themselves. True when the
// window (or, headless, its stand-in) exists.
bool EngineInit(const ProjectSettings& settings, const CommandLineOptions& options,
                const GameProgram& program);

// Ends the program: the runtime-error record goes to the log in debug mode, the engine shuts
// down, the process exits with `exitCode`.
[[noreturn]] void EndProgram(int exitCode = 0);

// A recorded run: its replay up to now, handed on as at its end (--record's file, the
// program's keepReplay), while the recording goes on. A game calls it where a game ends, so that
// its replay is kept also where the program is never ended (a page closed in the browser) or
// ends badly. Does nothing when not recording.
void KeepReplaySoFar();

// Releases everything the engine holds. Safe to run more than once.
void EngineShutdown();

// Appends a line to the log ("ErrorLog.txt" in the temporary directory).
void AppendLogLine(std::string_view text);

// The engine clock in milliseconds, starting near 0 at start-up.
double ElapsedMs();

// The full command line the program was started with.
const std::string& CommandLine();

// The options of this run, for the game (--check-media, --fullscreen/--windowed).
const CommandLineOptions& EngineOptions();

// The project settings in force (SetScreen keeps them up to date).
const ProjectSettings& CurrentProjectSettings();

// Exit status of a run that ended on a runtime error.
inline constexpr int kRuntimeErrorExitStatus = 1;
inline constexpr int kUsageErrorExitStatus = 2;

}  // namespace zrb
