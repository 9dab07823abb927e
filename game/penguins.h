// The two penguins: input, mirrored movement, spraying, drawing, the meeting and the swap.
#pragma once

namespace tundrel {

void MovePenguins();
void DrawPenguins();
// A bird touched a free penguin: both glide to each other's place.
void SwapPenguins();
// Both penguins at their start positions for sideSwap, walk state cleared.
void ResetPenguins();

}  // namespace tundrel
