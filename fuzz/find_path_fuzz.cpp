// FindPath on grids whose size, costs, end points and weight come from the input. Checked
// against a breadth-first search (a path exists exactly when FindPath finds one, and what it
// returns is a chain of open neighbouring cells from start to goal) and, for weight 0, against
// Dijkstra's cheapest cost.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <deque>
#include <limits>
#include <queue>
#include <vector>

#include "engine/path/find_path.h"
#include "engine/values/engine_array.h"
#include "fuzz/fuzz_support.h"

namespace {

constexpr int kMaxSide = 40;
constexpr int kSteps[4][2] = {{0, -1}, {1, 0}, {-1, 0}, {0, 1}};

struct Grid {
  int width = 0;
  int height = 0;
  std::vector<double> costs;  // [y * width + x]

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  double At(int x, int y) const { return costs[static_cast<size_t>(y * width + x)]; }
  // The planner blocks cells whose cost is not above 0 or not finite as a float.
  bool Open(int x, int y) const {
    const double cost = At(x, y);
    return cost > 0 && std::isfinite(static_cast<float>(cost));
  }
};

double CostFromByte(uint8_t byte) {
  switch (byte % 16) {
    case 0:
    case 1:
    case 2:
      return 0;  // walls are common in mazes
    case 3:
      return -1;
    case 4:
      return std::numeric_limits<double>::quiet_NaN();
    case 5:
      return 1e300;  // finite, but not as a float
    case 6:
      return std::numeric_limits<double>::infinity();
    case 7:
      return 3e38;
    case 8:
      return 1e-30;
    default:
      return 1 + byte / 16;
  }
}

bool Reachable(const Grid& grid, int x0, int y0, int x1, int y1) {
  std::vector<bool> seen(grid.costs.size(), false);
  std::deque<std::pair<int, int>> queue{{x0, y0}};
  seen[static_cast<size_t>(y0 * grid.width + x0)] = true;
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop_front();
    if (x == x1 && y == y1) return true;
    for (const auto& step : kSteps) {
      const int nx = x + step[0], ny = y + step[1];
      if (!grid.Inside(nx, ny) || !grid.Open(nx, ny)) continue;
      if (seen[static_cast<size_t>(ny * grid.width + nx)]) continue;
      seen[static_cast<size_t>(ny * grid.width + nx)] = true;
      queue.emplace_back(nx, ny);
    }
  }
  return false;
}

// The planner's cost of entering each cell: c / largest + 1 in single precision.
std::vector<double> ScaledCosts(const Grid& grid) {
  float largest = 0;
  for (int y = 0; y < grid.height; ++y)
    for (int x = 0; x < grid.width; ++x)
      if (grid.Open(x, y)) largest = std::max(largest, static_cast<float>(grid.At(x, y)));
  std::vector<double> scaled(grid.costs.size(), -1);
  for (int y = 0; y < grid.height; ++y)
    for (int x = 0; x < grid.width; ++x)
      if (grid.Open(x, y))
        scaled[static_cast<size_t>(y * grid.width + x)] =
            static_cast<float>(grid.At(x, y)) / largest + 1;
  return scaled;
}

double CheapestCost(const Grid& grid, const std::vector<double>& scaled, int x0, int y0, int x1,
                    int y1) {
  std::vector<double> best(grid.costs.size(), std::numeric_limits<double>::infinity());
  using Entry = std::pair<double, int>;
  std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
  best[static_cast<size_t>(y0 * grid.width + x0)] = 0;
  open.emplace(0, y0 * grid.width + x0);
  while (!open.empty()) {
    const auto [cost, cell] = open.top();
    open.pop();
    if (cost > best[static_cast<size_t>(cell)]) continue;
    const int x = cell % grid.width, y = cell / grid.width;
    for (const auto& step : kSteps) {
      const int nx = x + step[0], ny = y + step[1];
      if (!grid.Inside(nx, ny) || !grid.Open(nx, ny)) continue;
      const int next = ny * grid.width + nx;
      const double through = cost + scaled[static_cast<size_t>(next)];
      if (through < best[static_cast<size_t>(next)]) {
        best[static_cast<size_t>(next)] = through;
        open.emplace(through, next);
      }
    }
  }
  return best[static_cast<size_t>(y1 * grid.width + x1)];
}

double WeightFrom(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange(0, 5)) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 2:
      return 0.5;
    case 3:
      return std::numeric_limits<double>::quiet_NaN();
    case 4:
      return -2;
    default:
      return input.ConsumeFloatingPoint<double>();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider input(data, size);
  Grid grid;
  grid.width = input.ConsumeIntegralInRange(0, kMaxSide);
  grid.height = input.ConsumeIntegralInRange(0, kMaxSide);
  const int x0 = input.ConsumeIntegralInRange(-1, grid.width);
  const int y0 = input.ConsumeIntegralInRange(-1, grid.height);
  const int x1 = input.ConsumeIntegralInRange(-1, grid.width);
  const int y1 = input.ConsumeIntegralInRange(-1, grid.height);
  const double weight = WeightFrom(input);
  const bool resultIsGrid = input.ConsumeBool();

  zrb::EngineArray<double> costGrid;
  zrb::DimArray(costGrid, grid.width, grid.height);
  grid.costs.resize(static_cast<size_t>(grid.width * grid.height));
  for (int y = 0; y < grid.height; ++y) {
    for (int x = 0; x < grid.width; ++x) {
      const double cost = CostFromByte(input.ConsumeIntegral<uint8_t>());
      grid.costs[static_cast<size_t>(y * grid.width + x)] = cost;
      costGrid(x, y) = cost;
    }
  }

  zrb::EngineArray<double> separate;
  zrb::EngineArray<double>& result = resultIsGrid ? costGrid : separate;
  const int length = zrb::FindPath(costGrid, result, weight, x0, y0, x1, y1);

  const bool searchable = grid.width > 0 && grid.height > 0 && grid.Inside(x0, y0) &&
                          grid.Inside(x1, y1) && !(x0 == x1 && y0 == y1);
  if (length == 0) {
    FUZZ_CHECK(zrb::ArraySize(result, 0) == 0);
    FUZZ_CHECK(!searchable || !Reachable(grid, x0, y0, x1, y1));
    return 0;
  }
  FUZZ_CHECK(searchable && Reachable(grid, x0, y0, x1, y1));
  FUZZ_CHECK(zrb::ArraySize(result, 0) == length && zrb::ArraySize(result, 1) == 2);
  FUZZ_CHECK(result(0, 0) == x0 && result(0, 1) == y0);
  FUZZ_CHECK(result(length - 1, 0) == x1 && result(length - 1, 1) == y1);
  std::vector<bool> visited(grid.costs.size(), false);
  const std::vector<double> scaled = ScaledCosts(grid);
  double pathCost = 0;
  for (int i = 0; i < length; ++i) {
    const int x = static_cast<int>(result(i, 0)), y = static_cast<int>(result(i, 1));
    FUZZ_CHECK(grid.Inside(x, y));
    FUZZ_CHECK(!visited[static_cast<size_t>(y * grid.width + x)]);
    visited[static_cast<size_t>(y * grid.width + x)] = true;
    if (i == 0) continue;
    FUZZ_CHECK(grid.Open(x, y));
    const int px = static_cast<int>(result(i - 1, 0)), py = static_cast<int>(result(i - 1, 1));
    FUZZ_CHECK(std::abs(x - px) + std::abs(y - py) == 1);
    pathCost += scaled[static_cast<size_t>(y * grid.width + x)];
  }
  const bool cheapestFirst = weight <= 0 || std::isnan(weight);
  if (cheapestFirst) {
    const double cheapest = CheapestCost(grid, scaled, x0, y0, x1, y1);
    FUZZ_CHECK(pathCost <= cheapest * (1 + 1e-4));
  }
  return 0;
}
