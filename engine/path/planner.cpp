#include "engine/path/planner.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace zrb::path {
namespace {

bool Inside(int x, int y, int width, int height) {
  return x >= 0 && y >= 0 && x < width && y < height;
}

}  // namespace

bool Planner::Initialize(const PlannerRequest& request) {
  grid_.clear();
  cellNodes_.clear();
  cellStates_.clear();
  initialized_ = false;
  done_ = true;
  ranOutOfNodes_ = false;
  goalNode_ = nullptr;
  searchCount_ = 0;
  width_ = 0;
  height_ = 0;
  const int64_t cellCount = int64_t{std::max(request.width, 0)} * std::max(request.height, 0);
  if (cellCount == 0 || cellCount > std::numeric_limits<int>::max() || !request.cells) return false;
  if (!Inside(request.startX, request.startY, request.width, request.height) ||
      !Inside(request.goalX, request.goalY, request.width, request.height) ||
      (request.startX == request.goalX && request.startY == request.goalY)) {
    return false;
  }

  // Costs become floats in (1, 2]: divided by the largest, plus one. Blocked cells, and
  // costs that are not finite as floats, become -1.
  const int cells = static_cast<int>(cellCount);
  grid_.resize(static_cast<size_t>(cells));
  float largest = 0;
  for (int i = 0; i < cells; ++i) {
    const double cost = request.cells[i];
    const float asFloat = static_cast<float>(cost);
    if (cost > 0 && std::isfinite(asFloat)) {
      grid_[static_cast<size_t>(i)] = asFloat;
      largest = std::max(largest, asFloat);
    } else {
      grid_[static_cast<size_t>(i)] = -1;
    }
  }
  if (largest > 0) {
    for (float& cost : grid_) {
      if (cost >= 0) cost = cost / largest + 1;
    }
  }

  cellNodes_.assign(static_cast<size_t>(cells), nullptr);
  cellStates_.assign(static_cast<size_t>(cells), CellState::kNone);
  pool_.Create(request.nodePoolSize > 0 ? request.nodePoolSize : cells);
  open_.Create(request.openCapacity > 0 ? request.openCapacity : cells);
  closed_.Create(request.hashBits);

  request_ = request;
  request_.weight = std::isnan(request.weight) ? 0.0f : std::clamp(request.weight, 0.0f, 1.0f);
  width_ = request.width;
  height_ = request.height;
  initialized_ = true;
  return true;
}

void Planner::BeginSearch() {
  Reset();
  done_ = false;
  ranOutOfNodes_ = false;
  searchCount_ = 0;
  goalNode_ = nullptr;
}

void Planner::Reset() {
  std::fill(cellNodes_.begin(), cellNodes_.end(), nullptr);
  std::fill(cellStates_.begin(), cellStates_.end(), CellState::kNone);
  pool_.ReturnAll();
  open_.Clear();
  closed_.Clear();
  goalNode_ = nullptr;
  done_ = true;
}

int Planner::PathLength() const {
  int length = 0;
  for (const Node* node = goalNode_; node; node = node->parent)
    ++length;
  return length;
}

float Planner::CellCost(int x, int y) const {
  if (!Inside(x, y, width_, height_)) return -1;
  return grid_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

}  // namespace zrb::path
