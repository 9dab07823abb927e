// Losing a life: the loss screens, the restart of the round, game over and the high score.
#pragma once

namespace tundrel {

void CheckLifeLoss();

}  // namespace tundrel
