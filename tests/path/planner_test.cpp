// The planner behind FindPath: requests it refuses, searches that run out of room, and its
// table of visited cells.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "engine/path/astar_planner.h"
#include "engine/path/node_hash_table.h"
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

TEST(NodeHashTable, FindsAndRemovesWithinCollidingChains) {
  NodeHashTable table;
  table.Create(4);  // m = 3: many cells share a bucket
  std::vector<Node> nodes;
  for (int i = 0; i < 64; ++i)
    nodes.push_back(Node{nullptr, i % 8, i / 8, 0, 0, nullptr});
  for (Node& node : nodes)
    table.Insert(&node);
  table.Insert(&nodes[5]);  // already chained: not added twice
  EXPECT_EQ(table.Size(), 64);
  // Remove every other node, some through the link Find remembered and some by walking.
  for (size_t i = 0; i < nodes.size(); i += 2) {
    table.Find(i % 4 ? 7 : nodes[i].x, i % 4 ? 7 : nodes[i].y);
    table.Remove(&nodes[i]);
  }
  EXPECT_EQ(table.Size(), 32);
  for (size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_EQ(table.Find(nodes[i].x, nodes[i].y), i % 2 ? &nodes[i] : nullptr) << i;
  }
  table.Remove(&nodes[0]);  // not in the table any more
  EXPECT_EQ(table.Size(), 32);
  table.Clear();
  EXPECT_EQ(table.Find(1, 0), nullptr);
}

}  // namespace
}  // namespace zrb::path
