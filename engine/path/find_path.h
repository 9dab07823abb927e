// Cheapest route between two cells of a cost grid, for the enemies.
#pragma once

#include "engine/values/engine_array.h"

namespace zrb {

// costGrid is [x][y]: a number above 0 is the cost of entering the cell, 0 or less blocks
// it. Costs are compared after scaling to c / largest + 1, so every step also counts.
// weight (clamped to 0..1) blends cost so far (0) with the Manhattan distance to the goal (1).
// Only up, down, left and right steps are taken; among equally cheap routes the one that
// prefers up, then right, then left, then down wins.
//
// Returns the number of cells on the path, start and goal included, and redimensions result
// to [n][2] with row i holding the x (column 0) and y (column 1) of the i-th cell, row 0 the
// start. No path, a start or goal outside the grid, or start equal to goal give 0 and a
// result without rows. A grid too large for memory also gives 0 and sets "out of memory".
int FindPath(const EngineArray<double>& costGrid, EngineArray<double>& result, double weight,
             int x0, int y0, int x1, int y1);

}  // namespace zrb
