// What a path search is asked to do.
#pragma once

#include <cstdint>

namespace zrb::path {

struct PlannerRequest {
  int startX = 0;
  int startY = 0;
  int goalX = 0;
  int goalY = 0;
  uint8_t diagonalCost = 1;   // 1: a diagonal step costs sqrt(2) times the cell's cost
  uint8_t allowDiagonal = 0;  // 0: only up, down, left and right steps
  int nodePoolSize = 0;       // 0: width x height
  int openCapacity = 0;       // 0: width x height
  int hashBits = 8;
  float weight = 0;  // 0: cost so far only (uniform cost), 1: distance estimate only
  int width = 0;
  int height = 0;
  const double* cells = nullptr;  // cell (x, y) at index y * width + x; above 0 = cost
};

}  // namespace zrb::path
