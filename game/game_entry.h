// The game program as the engine sees it: its project settings, its entry, its trace fields.
#pragma once

#include "engine/frame/engine_main.h"

namespace tundrel {

void ProjectSettings(zrb::ProjectSettings& settings);
int GameMain();
void TraceFrame(zrb::TraceWriter& trace);

}  // namespace tundrel
