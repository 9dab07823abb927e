#include "engine/path/astar_planner.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(Planner, CostsAreScaledIntoOneToTwoAndBlockedCellsMarked) {
  EngineArray<double> grid;
  DimArray(grid, 6, 1);
  grid(0, 0) = 9;
  grid(1, 0) = 4.5;
  grid(2, 0) = 0;
  grid(3, 0) = -3;
  grid(4, 0) = std::numeric_limits<double>::quiet_NaN();
  grid(5, 0) = std::numeric_limits<double>::infinity();
  AStarPlanner planner;
  ASSERT_TRUE(planner.Initialize(RequestFor(grid, 0, 0, 1, 0)));
  EXPECT_EQ(planner.CellCost(0, 0), 2.0f);
  EXPECT_EQ(planner.CellCost(1, 0), 1.5f);
  EXPECT_EQ(planner.CellCost(2, 0), -1.0f);
  EXPECT_EQ(planner.CellCost(3, 0), -1.0f);
  EXPECT_EQ(planner.CellCost(4, 0), -1.0f);
  EXPECT_EQ(planner.CellCost(5, 0), -1.0f);
  EXPECT_EQ(planner.CellCost(6, 0), -1.0f);
  EXPECT_EQ(planner.CellCost(0, -1), -1.0f);
}

TEST(Planner, ReportsCostLengthAndReturnsItsNodesOnReset) {
  const EngineArray<double> grid = testing::GridFromRows({".....", ".....", "....."});
  AStarPlanner planner;
  ASSERT_TRUE(planner.Initialize(RequestFor(grid, 0, 0, 4, 2)));
  for (int run = 0; run < 2; ++run) {  // a second search on the same planner is the same
    planner.BeginSearch();
    EXPECT_FALSE(planner.Done());
    EXPECT_EQ(planner.OpenSize(), 1);
    planner.Search();
    EXPECT_TRUE(planner.Done());
    ASSERT_NE(planner.GoalNode(), nullptr);
    EXPECT_EQ(planner.PathLength(), 7);
    EXPECT_FLOAT_EQ(planner.PathCost(), 12.0f);
    EXPECT_GT(planner.ClosedSize(), 0);
    EXPECT_EQ(planner.SearchCount(), 1);
    planner.Reset();
    EXPECT_EQ(planner.OpenSize(), 0);
    EXPECT_EQ(planner.ClosedSize(), 0);
    EXPECT_EQ(planner.GoalNode(), nullptr);
    EXPECT_EQ(planner.PathCost(), -1.0f);
    EXPECT_EQ(planner.PathLength(), 0);
  }
}

TEST(Planner, RefusesRequestsWithNothingToSearch) {
  const EngineArray<double> grid = testing::GridFromRows({"...", "..."});
  AStarPlanner planner;
  EXPECT_FALSE(planner.Initialize(RequestFor(grid, 1, 1, 1, 1)));
  EXPECT_FALSE(planner.Initialize(RequestFor(grid, 0, 0, 3, 0)));
  EXPECT_FALSE(planner.Initialize(RequestFor(grid, 0, -1, 2, 1)));
  PlannerRequest noCells = RequestFor(grid, 0, 0, 1, 0);
  noCells.cells = nullptr;
  EXPECT_FALSE(planner.Initialize(noCells));
  PlannerRequest huge = RequestFor(grid, 0, 0, 1, 0);
  huge.width = 1 << 20;
  huge.height = 1 << 20;
  EXPECT_FALSE(planner.Initialize(huge));  // more cells than can be counted
  // Searching a refused request finds nothing and does not crash.
  planner.BeginSearch();
  planner.Search();
  EXPECT_TRUE(planner.Done());
  EXPECT_EQ(planner.GoalNode(), nullptr);
}

TEST(Planner, ASmallPoolStopsTheSearchWithoutAPath) {
  const EngineArray<double> grid = testing::GridFromRows({"......", "......", "......"});
  AStarPlanner planner;
  PlannerRequest request = RequestFor(grid, 0, 0, 5, 2);
  request.nodePoolSize = 4;
  ASSERT_TRUE(planner.Initialize(request));
  planner.BeginSearch();
  planner.Search();
  EXPECT_TRUE(planner.Done());
  EXPECT_TRUE(planner.RanOutOfNodes());
  EXPECT_EQ(planner.GoalNode(), nullptr);

  request.nodePoolSize = 0;
  request.openCapacity = 2;
  ASSERT_TRUE(planner.Initialize(request));
  planner.BeginSearch();
  planner.Search();
  EXPECT_TRUE(planner.RanOutOfNodes());
  EXPECT_EQ(planner.GoalNode(), nullptr);

  request.openCapacity = 0;
  ASSERT_TRUE(planner.Initialize(request));
  planner.BeginSearch();
  planner.Search();
  EXPECT_FALSE(planner.RanOutOfNodes());
  EXPECT_EQ(planner.PathLength(), 8);
}

TEST(Planner, DiagonalStepsWhenAllowed) {
  const EngineArray<double> grid = testing::GridFromRows({".....", ".....", ".....", "....."});
  AStarPlanner planner;
  PlannerRequest request = RequestFor(grid, 0, 0, 3, 3);
  request.allowDiagonal = 1;
  ASSERT_TRUE(planner.Initialize(request));
  planner.BeginSearch();
  planner.Search();
  EXPECT_EQ(planner.PathLength(), 4);
  EXPECT_FLOAT_EQ(planner.PathCost(), 3 * 2.0f * 1.4142137f);
  // Up-left is tried before up: the first step from the start of a search toward the
  // top-left corner is diagonal.
  request.startX = 3;
  request.startY = 3;
  request.goalX = 0;
  request.goalY = 0;
  request.diagonalCost = 0;  // diagonal steps cost as much as straight ones
  ASSERT_TRUE(planner.Initialize(request));
  planner.BeginSearch();
  planner.Search();
  EXPECT_EQ(planner.PathLength(), 4);
  EXPECT_FLOAT_EQ(planner.PathCost(), 6.0f);
}

}  // namespace
}  // namespace zrb::path
