// Cost grids drawn as text for the path tests: '#' blocks a cell, '.' costs 9 (as in the
// game's grid), a digit costs that much, any other letter 90.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "engine/values/engine_array.h"

namespace zrb::testing {

inline EngineArray<double> GridFromRows(const std::vector<std::string>& rows) {
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

inline Cells CellsOf(const EngineArray<double>& result) {
  Cells cells;
  for (int i = 0; i < ArraySize(result, 0); ++i) {
    cells.emplace_back(static_cast<int>(result(i, 0)), static_cast<int>(result(i, 1)));
  }
  return cells;
}

}  // namespace zrb::testing
