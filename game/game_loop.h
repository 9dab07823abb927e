// One game: selection, then the round loop until game over or a confirmed quit.
#pragma once

namespace tundrel {

void PlayGame();

}  // namespace tundrel
