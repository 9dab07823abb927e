// Times FindPath across the game's 17 x 12 grid, corner to corner, on a maze of 9s and 0s
// and on an open grid; and the bare search on a planner that is set up once.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/path/astar_planner.h"
#include "engine/path/find_path.h"

namespace {

using Clock = std::chrono::steady_clock;

// A maze shaped like the game's: outer wall, inner walls, corridors one cell wide.
const std::vector<std::string> kMaze = {
    "#################",  //
    "#.......#.......#",  //
    "#.###.#.#.#.###.#",  //
    "#.#...#...#...#.#",  //
    "#.#.#####.###.#.#",  //
    "#...#.......#...#",  //
    "###.#.#####.#.###",  //
    "#.....#...#.....#",  //
    "#.###.#.#.#.###.#",  //
    "#.#.....#.....#.#",  //
    "#...###...###...#",  //
    "#################",  //
};

zrb::EngineArray<double> CostGrid(bool open) {
  zrb::EngineArray<double> grid;
  zrb::DimArray(grid, 17, 12);
  for (int y = 0; y < 12; ++y) {
    for (int x = 0; x < 17; ++x) {
      grid(x, y) = open || kMaze[static_cast<size_t>(y)][static_cast<size_t>(x)] == '.' ? 9 : 0;
    }
  }
  return grid;
}

void TimeFindPath(const char* name, const zrb::EngineArray<double>& grid, int x0, int y0, int x1,
                  int y1, int iterations) {
  zrb::EngineArray<double> result;
  long checksum = 0;
  const auto start = Clock::now();
  for (int i = 0; i < iterations; ++i)
    checksum += zrb::FindPath(grid, result, 0, x0, y0, x1, y1);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf(
      "FindPath %-6s (%2d,%2d)->(%2d,%2d): path %ld cells, %8.2f us per call, %9.0f calls/s\n",
      name, x0, y0, x1, y1, checksum / iterations, seconds * 1e6 / iterations,
      iterations / seconds);
}

void TimeBareSearch(const char* name, const zrb::EngineArray<double>& grid, int x0, int y0, int x1,
                    int y1, int iterations) {
  zrb::path::PlannerRequest request;
  request.startX = x0;
  request.startY = y0;
  request.goalX = x1;
  request.goalY = y1;
  request.width = 17;
  request.height = 12;
  request.cells = grid.Data();
  zrb::path::AStarPlanner planner;
  if (!planner.Initialize(request)) return;
  long checksum = 0;
  const auto start = Clock::now();
  for (int i = 0; i < iterations; ++i) {
    planner.BeginSearch();
    planner.Search();
    checksum += planner.PathLength();
    planner.Reset();
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::printf("search   %-6s (planner set up once):  path %ld cells, %8.2f us per search\n", name,
              checksum / iterations, seconds * 1e6 / iterations);
}

}  // namespace

int main(int argc, char** argv) {
  // An optional argument sets the number of searches per figure.
  const int kIterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20000;
  const zrb::EngineArray<double> maze = CostGrid(false);
  const zrb::EngineArray<double> open = CostGrid(true);
  TimeFindPath("maze", maze, 1, 1, 15, 10, kIterations);
  TimeFindPath("maze", maze, 15, 10, 1, 1, kIterations);
  TimeFindPath("open", open, 0, 0, 16, 11, kIterations);
  TimeFindPath("open", open, 16, 11, 0, 0, kIterations);
  TimeBareSearch("maze", maze, 1, 1, 15, 10, kIterations);
  TimeBareSearch("open", open, 0, 0, 16, 11, kIterations);
  return 0;
}
