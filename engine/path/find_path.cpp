#include "engine/path/find_path.h"

#include <new>

#include "engine/path/astar_planner.h"
#include "engine/values/runtime_error.h"

namespace zrb {

int FindPath(const EngineArray<double>& costGrid, EngineArray<double>& result, double weight,
             int x0, int y0, int x1, int y1) {
  path::PlannerRequest request;
  request.startX = x0;
  request.startY = y0;
  request.goalX = x1;
  request.goalY = y1;
  request.diagonalCost = 1;
  request.allowDiagonal = 0;
  request.nodePoolSize = 0;
  request.openCapacity = 0;
  request.hashBits = 8;
  request.weight = static_cast<float>(weight);
  request.width = costGrid.Size(0);
  request.height = costGrid.Size(1);
  request.cells = costGrid.Data();

  path::AStarPlanner planner;
  bool searchable = false;
  try {
    searchable = planner.Initialize(request);
  } catch (const std::bad_alloc&) {
    SetRuntimeError(kErrorOutOfMemory);
  }
  // From here on the planner holds its own copy of the grid, so result may be costGrid.
  if (!searchable) {
    RedimArray(result, 0);
    return 0;
  }
  planner.BeginSearch();
  planner.Search();
  const int length = planner.PathLength();
  if (length == 0) {
    RedimArray(result, 0);
    planner.Reset();
    return 0;
  }
  DimArray(result, length, 2);
  int row = length - 1;
  for (const path::Node* node = planner.GoalNode(); node; node = node->parent, --row) {
    result(row, 0) = node->x;
    result(row, 1) = node->y;
  }
  planner.Reset();
  return length;
}

}  // namespace zrb
