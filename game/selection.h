// The choice of penguin and difficulty before every game.
#pragma once

namespace tundrel {

// Returns once the player has confirmed (and the easy-mode notice, if any, has run).
void SelectPenguin();

}  // namespace tundrel
