#include "engine/path/astar_planner.h"

#include <gtest/gtest.h>

#include <limits>

#include "grid_helpers.h"

namespace zrb::path {
namespace {

PlannerRequest RequestFor(const EngineArray<double>& grid, int x0, int y0, int x1, int y1) {
  PlannerRequest request;
  request.startX = x0;
  request.startY = y0;
  request.goalX = x1;
  request.goalY = y1;
  request.width = ArraySize(grid, 0);
  request.height = ArraySize(grid, 1);
  request.cells = grid.Data();
  return request;
}

// Runs a search and leaves the planner holding its result.
void SearchOnce(AStarPlanner& planner, const PlannerRequest& request) {
  ASSERT_TRUE(planner.Initialize(request));
  planner.BeginSearch();
  planner.Search();
  EXPECT_TRUE(planner.Done());
}

TEST(Planner, RefusesRequestsWithNothingToSearch) {
  const EngineArray<double> grid = testing::GridFromRows({"...", "..."});
  AStarPlanner planner;
  EXPECT_FALSE(planner.Initialize(RequestFor(grid, 1, 1, 1, 1)));
  EXPECT_FALSE(planner.Initialize(RequestFor(grid, 0, 0, 3, 0)));
  PlannerRequest huge = RequestFor(grid, 0, 0, 1, 0);
  huge.width = huge.height = 1 << 20;
  EXPECT_FALSE(planner.Initialize(huge));
  planner.BeginSearch();  // searching a refused request finds nothing
  planner.Search();
  EXPECT_EQ(planner.GoalNode(), nullptr);
}

TEST(Planner, ATooSmallPoolOrOpenListEndsTheSearchWithoutAPath) {
  const EngineArray<double> grid = testing::GridFromRows({"......", "......", "......"});
  AStarPlanner planner;
  PlannerRequest request = RequestFor(grid, 0, 0, 5, 2);
  request.nodePoolSize = 4;
  SearchOnce(planner, request);
  EXPECT_TRUE(planner.RanOutOfNodes());
  EXPECT_EQ(planner.GoalNode(), nullptr);
  request.nodePoolSize = 0;
  request.openCapacity = 2;
  SearchOnce(planner, request);
  EXPECT_TRUE(planner.RanOutOfNodes());
  request.openCapacity = 0;
  SearchOnce(planner, request);
  EXPECT_FALSE(planner.RanOutOfNodes());
  EXPECT_EQ(planner.PathLength(), 8);
}

}  // namespace
}  // namespace zrb::path
