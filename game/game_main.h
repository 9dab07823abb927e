// The game program's entry and what it tells the engine before the engine starts.
#pragma once

#include "engine/frame/engine_main.h"

namespace tundrel {

int GameMain();
void ProjectSettings(zrb::ProjectSettings& settings);
// Adds the game's state to the trace line of each presented frame.
void TraceFrame(zrb::TraceWriter& trace);

}  // namespace tundrel
