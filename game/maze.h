// The playing field: the maze of each round and the round's set-up.
#pragma once

#include <cstdint>
#include <functional>

namespace tundrel {

// Prepares the next round (round + 1): lists emptied, maze, enemies, timer, music.
void RoundStart(int32_t startMusic);
// Builds the stored layout 1..40 into mazeGrid and costGrid, laying its webs.
void BuildMaze(int32_t layout);
// Rounds above 40: two halves from random non-bonus layouts.
void BuildMixedMaze();

// Division rounding toward minus infinity, as pixel-to-cell conversions need.
int32_t FloorDiv(int32_t value, int32_t divisor);
// The code of cell (c, r); a cell outside the grid reads as outer wall (9).
int32_t MazeCode(int32_t column, int32_t row);
// Whether a pixel point given relative to the maze origin (x - 48, y - 48) lies in a free
// cell (code below 8).
bool IsFreePoint(int32_t px, int32_t py);

// A rectangle of cells, bounds included.
struct CellRegion {
  int32_t firstColumn, lastColumn, firstRow, lastRow;
};
// Draws cells with `draw` until one is floor (code 0). A region without floor would make
// that loop endless, so after many draws the region is scanned row by row instead. False
// (and nothing picked) when the region holds no floor at all.
bool PickFloorCell(const std::function<void(int32_t& column, int32_t& row)>& draw,
                   const CellRegion& region, int32_t& column, int32_t& row);

}  // namespace tundrel
