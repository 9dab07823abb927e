// The playing field: the maze of each round and the round's set-up.
#pragma once

#include <cstdint>

namespace tundrel {

// Prepares the next round (round + 1): lists emptied, maze, enemies, timer, music.
void RoundStart(int32_t startMusic);
// Builds the stored layout 1..40 into mazeGrid and costGrid, laying its webs.
void BuildMaze(int32_t layout);
// Rounds above 40: two halves from random non-bonus layouts.
void BuildMixedMaze();

}  // namespace tundrel
