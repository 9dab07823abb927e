// The game program's entry and what it tells the engine before the engine starts.
#pragma once

#include "engine/frame/engine_main.h"

namespace tundrel {

int GameMain();
// The game's arrays, sized, and the stored maze layouts copied into the level table.
void PrepareGameData();
// Loads every picture and sound of the catalogue into its slot, in catalogue order.
void LoadCatalogue();
void ProjectSettings(zrb::ProjectSettings& settings);
// Adds the game's state to the trace line of each presented frame.
void TraceFrame(zrb::TraceWriter& trace);

// The build's date and time, "Mmm dd yyyy-hh:mm:ss": SOURCE_DATE_EPOCH's, else the newest
// release's, so that a build can be repeated byte for byte.
const char* BuildStamp();
// The program's fixed identifier: eight lower-case hexadecimal digits.
inline constexpr const char* kProgramIdentifier = "7d1c9a4e";
// "1.0 (<identifier>)" for --version: the same for every build of the same sources.
const char* VersionText();

}  // namespace tundrel
