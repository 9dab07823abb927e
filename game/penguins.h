// The two penguins: input, mirrored movement, spraying, drawing, the meeting and the swap.
#pragma once

#include <cstdint>

#include "game/state.h"

namespace tundrel {

void MovePenguins();
void DrawPenguins();
// A bird touched a free penguin: both glide to each other's place.
void SwapPenguins();
// Both penguins at their start positions for sideSwap, walk state cleared.
void ResetPenguins();

// Penguin 1 or penguin 2 by number, as the webs record them.
Penguin& PenguinByNumber(int32_t which);

}  // namespace tundrel
