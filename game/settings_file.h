// settings.cfg: the options and the high score between runs.
#pragma once

namespace tundrel {

void LoadSettings();
void SaveSettings();

}  // namespace tundrel
