// What a program players install gets beside the engine's own rules: its folders chosen at
// start-up, the window's icon and remembered scale, and the display-mode key. Internal to
// engine/frame.
#pragma once

#include "engine/frame/command_line.h"
#include "engine/frame/engine_main.h"

namespace zrb::frame {

// Chooses the run's folders (player_folders.h) and the preferences file; the first thing
// start-up does, since the log's place depends on it.
void ChooseRunFolders(const GameProgram& program, const CommandLineOptions& options);

// The run's working folder: --dir, else the folder holding the program's data.
std::string RunWorkingFolder(const CommandLineOptions& options);

// The scale the window opens at: --scale, else the player's stored one, else the largest that
// fits (0); 1 for a program without an install layout.
int StartingWindowScale(const GameProgram& program, const CommandLineOptions& options);

// Gives the window the program's icon. False, with a log line, when the picture is unusable.
bool ApplyWindowIcon(const GameProgram& program);

// Shutdown: stores the scale the player resized the window to, when it differs from the
// stored one.
void StoreWindowScale();

// The pump's Alt+Enter handler: the switch waits for the end of the frame being shown.
void OnDisplayModeKey();
// ShowScreen, after presenting: carries out a waiting switch.
void SwitchDisplayModeIfAsked();

}  // namespace zrb::frame
