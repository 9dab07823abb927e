// One game: selection, then the round loop until game over or a confirmed quit.
#pragma once

namespace tundrel {

void PlayGame();

// The start of a game after the selection: score, lives and round reset, round 1 set up.
void StartGame();
// One pass of the round loop: a whole game frame, from the penguins' moves to the life check.
void RoundFrame();
// 20 units a frame while above 1; never in easy mode.
void StepTimer();

}  // namespace tundrel
