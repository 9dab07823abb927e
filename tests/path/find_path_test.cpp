// FindPath against a breadth-first search written here (the fuzz target checks cheapest costs
// against Dijkstra's), and the planner behind it: requests it refuses, searches that run out of
// room, and its table of visited cells.
#include "engine/path/find_path.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/path/astar_planner.h"
#include "engine/path/node_hash_table.h"
#include "engine/values/engine_array.h"

namespace zrb {
namespace {

using namespace path;

// Cost grids drawn as text: '#' blocks a cell, '.' costs 9 (as in the game's grid), a digit
// costs that much, any other letter 90.
EngineArray<double> GridFromRows(const std::vector<std::string>& rows) {
  EngineArray<double> grid;
  DimArray(grid, static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < ArraySize(grid, 1); ++y) {
    for (int x = 0; x < ArraySize(grid, 0); ++x) {
      const char c = rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
      grid(x, y) = c == '#' ? 0.0 : c == '.' ? 9.0 : (c >= '0' && c <= '9') ? c - '0' : 90.0;
    }
  }
  return grid;
}

using Cells = std::vector<std::pair<int, int>>;

Cells CellsOf(const EngineArray<double>& result) {
  Cells cells;
  for (int i = 0; i < ArraySize(result, 0); ++i) {
    cells.emplace_back(static_cast<int>(result(i, 0)), static_cast<int>(result(i, 1)));
  }
  return cells;
}

constexpr int kSteps[4][2] = {{0, -1}, {1, 0}, {-1, 0}, {0, 1}};  // up, right, left, down

EngineArray<double> RandomGrid(std::mt19937& random, int width, int height, int wallPercent,
                               bool mixedCosts) {
  EngineArray<double> grid;
  DimArray(grid, width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool wall = static_cast<int>(random() % 100) < wallPercent;
      grid(x, y) = wall ? 0.0 : mixedCosts ? 1.0 + random() % 50 : 9.0;
    }
  }
  return grid;
}

// With equal costs, the planner's route is the breadth-first one that looks at neighbours
// up, right, left, down and keeps the first parent found.
Cells BreadthFirstRoute(const EngineArray<double>& grid, int x0, int y0, int x1, int y1) {
  const int width = ArraySize(grid, 0), height = ArraySize(grid, 1);
  std::vector<int> parent(static_cast<size_t>(width * height), -2);
  std::deque<int> queue{y0 * width + x0};
  parent[static_cast<size_t>(queue.front())] = -1;
  for (; !queue.empty(); queue.pop_front()) {
    for (const auto& step : kSteps) {
      const int x = queue.front() % width + step[0], y = queue.front() / width + step[1];
      if (x < 0 || y < 0 || x >= width || y >= height || grid(x, y) <= 0) continue;
      if (parent[static_cast<size_t>(y * width + x)] != -2) continue;
      parent[static_cast<size_t>(y * width + x)] = queue.front();
      queue.push_back(y * width + x);
    }
  }
  Cells route;
  if (grid(x1, y1) <= 0 || parent[static_cast<size_t>(y1 * width + x1)] == -2) return route;
  for (int cell = y1 * width + x1; cell >= 0; cell = parent[static_cast<size_t>(cell)]) {
    route.insert(route.begin(), {cell % width, cell / width});
  }
  return route;
}

TEST(FindPath, AmongEqualRoutesUpThenRightThenLeftThenDownWins) {
  const EngineArray<double> open = GridFromRows({"...", "...", "..."});
  EngineArray<double> result;
  EXPECT_EQ(FindPath(open, result, 0, 0, 0, 2, 2), 5);
  EXPECT_EQ(ArraySize(result, 1), 2);
  EXPECT_EQ(CellsOf(result), (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
  EXPECT_EQ(FindPath(open, result, 0, 2, 2, 0, 0), 5);
  EXPECT_EQ(CellsOf(result), (Cells{{2, 2}, {2, 1}, {2, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(FindPath(open, result, 0, 2, 0, 0, 2), 5);
  EXPECT_EQ(CellsOf(result), (Cells{{2, 0}, {1, 0}, {0, 0}, {0, 1}, {0, 2}}));
  const EngineArray<double> wall = GridFromRows({"...", "...", ".#.", "..."});
  EXPECT_EQ(FindPath(wall, result, 0, 1, 1, 1, 3), 5);
  EXPECT_EQ(CellsOf(result), (Cells{{1, 1}, {2, 1}, {2, 2}, {2, 3}, {1, 3}}));
}

TEST(FindPath, EqualCostsGiveTheBreadthFirstRouteOnRandomMazes) {
  std::mt19937 random(17);
  int found = 0;
  for (int trial = 0; trial < 300; ++trial) {
    const EngineArray<double> grid = RandomGrid(random, 17, 12, 30, false);
    const int x0 = random() % 17, y0 = random() % 12, x1 = random() % 17, y1 = random() % 12;
    if (x0 == x1 && y0 == y1) continue;
    EngineArray<double> result;
    const Cells expected = BreadthFirstRoute(grid, x0, y0, x1, y1);
    ASSERT_EQ(FindPath(grid, result, 0, x0, y0, x1, y1), static_cast<int>(expected.size()));
    ASSERT_EQ(CellsOf(result), expected) << "trial " << trial;
    found += !expected.empty();
  }
  EXPECT_GT(found, 100);
}

TEST(FindPath, EveryStepCountsOnTopOfTheScaledCost) {
  // Raw costs would take the row of 1s (3 + 9 against 18); scaled, the two steps cost 4.0
  // against 5.33. A longer stretch of dear cells is still worth a detour of two steps.
  EngineArray<double> result;
  EXPECT_EQ(FindPath(GridFromRows({"...", "111"}), result, 0, 0, 0, 2, 0), 3);
  EXPECT_EQ(FindPath(GridFromRows({"1XXX1", "11111"}), result, 0, 0, 0, 4, 0), 7);
  EXPECT_EQ(CellsOf(result), (Cells{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 0}}));
}

TEST(FindPath, BlockedStartIsLeftButBlockedGoalNeverReached) {
  const EngineArray<double> grid = GridFromRows({"#..#", "...."});
  EngineArray<double> result;
  EXPECT_EQ(FindPath(grid, result, 0, 0, 0, 2, 0), 3);
  EXPECT_EQ(CellsOf(result), (Cells{{0, 0}, {1, 0}, {2, 0}}));
  EXPECT_EQ(FindPath(grid, result, 0, 1, 0, 3, 0), 0);
  EXPECT_EQ(ArraySize(result, 0), 0);
}

TEST(FindPath, NothingToFindGivesZeroAndNoRows) {
  const EngineArray<double> grid = GridFromRows({"..#..", "..#..", "..#.."});
  EngineArray<double> result;
  for (auto [x0, y0, x1, y1] :
       {std::array{0, 0, 4, 0}, std::array{1, 1, 1, 1}, std::array{-1, 0, 1, 1},
        std::array{0, 0, 5, 0}, std::array{0, 3, 1, 1}, std::array{0, 0, 0, -1}}) {
    DimArray(result, 4, 2);
    EXPECT_EQ(FindPath(grid, result, 0, x0, y0, x1, y1), 0);
    EXPECT_EQ(ArraySize(result, 0) + ArraySize(result, 1), 0);
  }
  EngineArray<double> line;
  DimArray(line, 5);
  EXPECT_EQ(FindPath(line, result, 0, 0, 0, 3, 0), 0);  // not a two-dimensional grid
}

TEST(FindPath, WeightIsClampedAndTheResultMayBeTheGridItself) {
  std::mt19937 random(3);
  EngineArray<double> grid = RandomGrid(random, 17, 12, 25, false);
  grid(0, 0) = grid(16, 11) = 9;
  EngineArray<double> a, b;
  EXPECT_EQ(FindPath(grid, a, 0, 0, 0, 16, 11), FindPath(grid, b, -3, 0, 0, 16, 11));
  EXPECT_EQ(CellsOf(a), CellsOf(b));
  const int greedy = FindPath(grid, a, 1, 0, 0, 16, 11);
  EXPECT_EQ(FindPath(grid, b, 7.5, 0, 0, 16, 11), greedy);
  EXPECT_EQ(CellsOf(a), CellsOf(b));
  const Cells shortest = BreadthFirstRoute(grid, 0, 0, 16, 11);
  EXPECT_GE(greedy, static_cast<int>(shortest.size()));
  // The grid is copied before the result is written, so the two may be one array.
  EXPECT_EQ(FindPath(grid, grid, 0, 0, 0, 16, 11), static_cast<int>(shortest.size()));
  EXPECT_EQ(CellsOf(grid), shortest);
}

// The planner behind FindPath.
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
  const EngineArray<double> grid = GridFromRows({"...", "..."});
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
  const EngineArray<double> grid = GridFromRows({"......", "......", "......"});
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
}  // namespace zrb
