#include "engine/path/find_path.h"

#include <gtest/gtest.h>

#include <deque>
#include <queue>
#include <random>

#include "grid_helpers.h"

namespace zrb {
namespace {

using testing::Cells;
using testing::CellsOf;
using testing::GridFromRows;

// Breadth-first search that looks at neighbours up, right, left, down and keeps the first
// parent found: with equal cell costs, the route the planner must return.
Cells BreadthFirstRoute(const EngineArray<double>& grid, int x0, int y0, int x1, int y1) {
  const int width = ArraySize(grid, 0);
  const int height = ArraySize(grid, 1);
  std::vector<int> parent(static_cast<size_t>(width * height), -2);
  std::deque<int> queue{y0 * width + x0};
  parent[static_cast<size_t>(y0 * width + x0)] = -1;
  const int steps[4][2] = {{0, -1}, {1, 0}, {-1, 0}, {0, 1}};
  while (!queue.empty()) {
    const int cell = queue.front();
    queue.pop_front();
    if (cell == y1 * width + x1) break;
    for (const auto& step : steps) {
      const int x = cell % width + step[0];
      const int y = cell / width + step[1];
      if (x < 0 || y < 0 || x >= width || y >= height || grid(x, y) <= 0) continue;
      if (parent[static_cast<size_t>(y * width + x)] != -2) continue;
      parent[static_cast<size_t>(y * width + x)] = cell;
      queue.push_back(y * width + x);
    }
  }
  Cells route;
  if (parent[static_cast<size_t>(y1 * width + x1)] == -2) return route;
  for (int cell = y1 * width + x1; cell >= 0; cell = parent[static_cast<size_t>(cell)]) {
    route.insert(route.begin(), {cell % width, cell / width});
  }
  return route;
}

// Cheapest cost from start to goal with the planner's cost scaling, by a plain Dijkstra.
double CheapestCost(const EngineArray<double>& grid, int x0, int y0, int x1, int y1) {
  const int width = ArraySize(grid, 0);
  const int height = ArraySize(grid, 1);
  double largest = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x)
      largest = std::max(largest, grid(x, y));
  }
  std::vector<double> best(static_cast<size_t>(width * height), 1e300);
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
  best[static_cast<size_t>(y0 * width + x0)] = 0;
  open.push({0.0, y0 * width + x0});
  while (!open.empty()) {
    const auto [cost, cell] = open.top();
    open.pop();
    if (cost > best[static_cast<size_t>(cell)]) continue;
    const int steps[4][2] = {{0, -1}, {1, 0}, {-1, 0}, {0, 1}};
    for (const auto& step : steps) {
      const int x = cell % width + step[0];
      const int y = cell / width + step[1];
      if (x < 0 || y < 0 || x >= width || y >= height || grid(x, y) <= 0) continue;
      const double next = cost + grid(x, y) / largest + 1;
      if (next < best[static_cast<size_t>(y * width + x)]) {
        best[static_cast<size_t>(y * width + x)] = next;
        open.push({next, y * width + x});
      }
    }
  }
  return best[static_cast<size_t>(y1 * width + x1)];
}

double RouteCost(const EngineArray<double>& grid, const Cells& route) {
  double largest = 0;
  for (int y = 0; y < ArraySize(grid, 1); ++y) {
    for (int x = 0; x < ArraySize(grid, 0); ++x)
      largest = std::max(largest, grid(x, y));
  }
  double cost = 0;
  for (size_t i = 1; i < route.size(); ++i) {
    const auto [x, y] = route[i];
    EXPECT_GT(grid(x, y), 0.0) << "route enters a blocked cell";
    EXPECT_EQ(std::abs(x - route[i - 1].first) + std::abs(y - route[i - 1].second), 1)
        << "route jumps at step " << i;
    cost += grid(x, y) / largest + 1;
  }
  return cost;
}

TEST(FindPath, OpenGridPrefersUpThenRightThenLeftThenDown) {
  const EngineArray<double> grid = GridFromRows({"...", "...", "..."});
  EngineArray<double> result;
  EXPECT_EQ(FindPath(grid, result, 0, 0, 0, 2, 2), 5);
  EXPECT_EQ(ArraySize(result, 1), 2);
  EXPECT_EQ(CellsOf(result), (Cells{{0, 0}, {1, 0}, {2, 0}, {2, 1}, {2, 2}}));
  EXPECT_EQ(FindPath(grid, result, 0, 2, 2, 0, 0), 5);
  EXPECT_EQ(CellsOf(result), (Cells{{2, 2}, {2, 1}, {2, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(FindPath(grid, result, 0, 0, 2, 2, 0), 5);
  EXPECT_EQ(CellsOf(result), (Cells{{0, 2}, {0, 1}, {0, 0}, {1, 0}, {2, 0}}));
}

TEST(FindPath, RightIsPreferredOverLeftAroundAWall) {
  const EngineArray<double> grid = GridFromRows({"...", "...", ".#.", "..."});
  EngineArray<double> result;
  EXPECT_EQ(FindPath(grid, result, 0, 1, 1, 1, 3), 5);
  EXPECT_EQ(CellsOf(result), (Cells{{1, 1}, {2, 1}, {2, 2}, {2, 3}, {1, 3}}));
}

TEST(FindPath, MatchesBreadthFirstRoutesOnRandomMazes) {
  std::mt19937 random(17);
  int found = 0;
  for (int trial = 0; trial < 300; ++trial) {
    EngineArray<double> grid;
    DimArray(grid, 17, 12);
    for (int y = 0; y < 12; ++y) {
      for (int x = 0; x < 17; ++x)
        grid(x, y) = random() % 100 < 30 ? 0.0 : 9.0;
    }
    const int x0 = static_cast<int>(random() % 17), y0 = static_cast<int>(random() % 12);
    const int x1 = static_cast<int>(random() % 17), y1 = static_cast<int>(random() % 12);
    if (x0 == x1 && y0 == y1) continue;
    EngineArray<double> result;
    const int n = FindPath(grid, result, 0, x0, y0, x1, y1);
    const Cells expected = grid(x1, y1) > 0 ? BreadthFirstRoute(grid, x0, y0, x1, y1) : Cells{};
    ASSERT_EQ(n, static_cast<int>(expected.size())) << "trial " << trial;
    ASSERT_EQ(CellsOf(result), expected) << "trial " << trial;
    found += n > 0;
  }
  EXPECT_GT(found, 100);  // the mazes are open enough that most searches succeed
}

TEST(FindPath, FindsTheCheapestRouteOnMixedCosts) {
  std::mt19937 random(5);
  for (int trial = 0; trial < 200; ++trial) {
    EngineArray<double> grid;
    DimArray(grid, 12, 9);
    for (int y = 0; y < 9; ++y) {
      for (int x = 0; x < 12; ++x) {
        grid(x, y) = random() % 100 < 20 ? 0.0 : 1.0 + static_cast<double>(random() % 50);
      }
    }
    grid(0, 0) = 5;
    grid(11, 8) = 5;
    EngineArray<double> result;
    const int n = FindPath(grid, result, 0, 0, 0, 11, 8);
    const double cheapest = CheapestCost(grid, 0, 0, 11, 8);
    if (cheapest > 1e299) {
      EXPECT_EQ(n, 0);
      continue;
    }
    ASSERT_GT(n, 0);
    const Cells route = CellsOf(result);
    EXPECT_EQ(route.front(), std::make_pair(0, 0));
    EXPECT_EQ(route.back(), std::make_pair(11, 8));
    EXPECT_NEAR(RouteCost(grid, route), cheapest, 1e-3) << "trial " << trial;
  }
}

TEST(FindPath, EveryStepCountsOnTopOfTheScaledCost) {
  // Raw costs would take the cheap row below (3 + 9 = 12 against 18); scaled costs add one
  // per step and keep to the two-step route (4.0 against 5.33).
  EngineArray<double> result;
  const EngineArray<double> shortcut = GridFromRows({"...", "111"});
  EXPECT_EQ(FindPath(shortcut, result, 0, 0, 0, 2, 0), 3);
  EXPECT_EQ(CellsOf(result), (Cells{{0, 0}, {1, 0}, {2, 0}}));
  // A longer stretch of expensive cells is still worth a detour of two steps.
  const EngineArray<double> detour = GridFromRows({"1XXX1", "11111"});
  EXPECT_EQ(FindPath(detour, result, 0, 0, 0, 4, 0), 7);
  EXPECT_EQ(CellsOf(result), (Cells{{0, 0}, {0, 1}, {1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 0}}));
}

TEST(FindPath, BlockedStartIsStillLeft) {
  const EngineArray<double> grid = GridFromRows({"#..", "..."});
  EngineArray<double> result;
  EXPECT_EQ(FindPath(grid, result, 0, 0, 0, 2, 0), 3);
  EXPECT_EQ(CellsOf(result), (Cells{{0, 0}, {1, 0}, {2, 0}}));
}

TEST(FindPath, NoRouteGivesZeroAndNoRows) {
  const EngineArray<double> grid = GridFromRows({"..#..", "..#..", "..#.#"});
  EngineArray<double> result;
  DimArray(result, 4, 2);
  result(3, 1) = 7;
  EXPECT_EQ(FindPath(grid, result, 0, 0, 0, 4, 2), 0);  // blocked goal
  EXPECT_EQ(ArraySize(result, 0), 0);
  EXPECT_EQ(ArraySize(result, 1), 0);
  EXPECT_EQ(FindPath(grid, result, 0, 0, 0, 4, 0), 0);  // walled off
  EXPECT_EQ(FindPath(grid, result, 0, 1, 1, 1, 1), 0);  // start is the goal
  EXPECT_EQ(ArraySize(result, 0), 0);
  EXPECT_EQ(FindPath(grid, result, 0, 0, 0, 1, 1), 3);
  for (auto [x0, y0, x1, y1] : {std::array{-1, 0, 1, 1}, std::array{0, 0, 5, 0},
                                std::array{0, 3, 1, 1}, std::array{0, 0, 0, -1}}) {
    EXPECT_EQ(FindPath(grid, result, 0, x0, y0, x1, y1), 0);
    EXPECT_EQ(ArraySize(result, 0), 0);
  }
  EngineArray<double> line;
  DimArray(line, 5);
  EXPECT_EQ(FindPath(line, result, 0, 0, 0, 3, 0), 0);  // not a two-dimensional grid
  EngineArray<double> none;
  EXPECT_EQ(FindPath(none, result, 0, 0, 0, 1, 0), 0);
}

TEST(FindPath, WeightIsClampedToZeroToOne) {
  std::mt19937 random(3);
  EngineArray<double> grid;
  DimArray(grid, 17, 12);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 17; ++x)
      grid(x, y) = random() % 100 < 25 ? 0.0 : 9.0;
  }
  grid(0, 0) = 9;
  grid(16, 11) = 9;
  EngineArray<double> a, b;
  const int uniform = FindPath(grid, a, 0, 0, 0, 16, 11);
  EXPECT_EQ(FindPath(grid, b, -3, 0, 0, 16, 11), uniform);
  EXPECT_EQ(CellsOf(a), CellsOf(b));
  const int greedy = FindPath(grid, a, 1, 0, 0, 16, 11);
  EXPECT_EQ(FindPath(grid, b, 7.5, 0, 0, 16, 11), greedy);
  EXPECT_EQ(CellsOf(a), CellsOf(b));
  // A greedy route is valid but never shorter than the uniform-cost one.
  if (uniform > 0) {
    EXPECT_GE(greedy, uniform);
    RouteCost(grid, CellsOf(a));
  }
}

TEST(FindPath, ResultMayBeTheCostGridItself) {
  EngineArray<double> grid = GridFromRows({"....", "....", "...."});
  EXPECT_EQ(FindPath(grid, grid, 0, 0, 0, 3, 2), 6);
  EXPECT_EQ(ArraySize(grid, 0), 6);
  EXPECT_EQ(grid(5, 0), 3.0);
  EXPECT_EQ(grid(5, 1), 2.0);
}

}  // namespace
}  // namespace zrb
