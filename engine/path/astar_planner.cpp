#include "engine/path/astar_planner.h"

#include <cstdlib>

namespace zrb::path {
namespace {

constexpr float kDiagonalFactor = 1.4142137f;

struct Step {
  int dx;
  int dy;
};

// Up-left, up, up-right, right, left, down-left, down, down-right; y grows downward.
constexpr Step kNeighbours[] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0},
                                {-1, 0},  {-1, 1}, {0, 1},  {1, 1}};

}  // namespace

void AStarPlanner::BeginSearch() {
  Planner::BeginSearch();
  if (!initialized_) {
    done_ = true;
    return;
  }
  Node* start = pool_.Make(nullptr, request_.startX, request_.startY, 0, 0);
  if (!start || !open_.PushBack(start)) {
    ranOutOfNodes_ = true;
    done_ = true;
    return;
  }
  const int cell = CellIndex(start->x, start->y);
  cellNodes_[static_cast<size_t>(cell)] = start;
  cellStates_[static_cast<size_t>(cell)] = CellState::kOpen;
}

void AStarPlanner::Search() {
  ++searchCount_;
  if (done_) return;
  for (;;) {
    if (open_.Empty()) {
      done_ = true;
      return;
    }
    Node* current = open_.Back();
    open_.PopBack();
    const size_t currentCell = static_cast<size_t>(CellIndex(current->x, current->y));
    cellStates_[currentCell] = CellState::kClosed;
    if (current->x == request_.goalX && current->y == request_.goalY) {
      closed_.Insert(current);
      done_ = true;
      goalNode_ = current;
      return;
    }
    for (const Step& step : kNeighbours) {
      const bool diagonal = step.dx != 0 && step.dy != 0;
      if (diagonal && !request_.allowDiagonal) continue;
      if (!Relax(current, step.dx, step.dy)) {
        ranOutOfNodes_ = true;
        done_ = true;
        return;
      }
    }
    closed_.Insert(current);
  }
}

bool AStarPlanner::Relax(Node* current, int dx, int dy) {
  const int x = current->x + dx;
  const int y = current->y + dy;
  float cost = CellCost(x, y);
  if (cost < 0) return true;
  if (dx != 0 && dy != 0 && request_.diagonalCost) cost *= kDiagonalFactor;
  const float g = current->g + cost;
  const int h = std::abs(request_.goalX - x) + std::abs(request_.goalY - y);
  const float f = (static_cast<float>(h) - g) * request_.weight + g;

  const size_t cell = static_cast<size_t>(CellIndex(x, y));
  Node* known = cellNodes_[cell];
  if (known && known->g <= g) return true;  // kept: only a strictly cheaper cost moves it

  if (cellStates_[cell] == CellState::kClosed) {
    Node* closed = closed_.Find(x, y);
    if (!closed) return true;
    closed_.Remove(closed);
    closed->parent = current;
    closed->g = g;
    closed->f = f;
    cellStates_[cell] = CellState::kOpen;
    return InsertSorted(closed);
  }
  if (cellStates_[cell] == CellState::kOpen) {
    const int openIndex = FindOpen(x, y);
    Node* open = open_.At(openIndex);
    if (!open) return true;
    open_.Erase(openIndex);
    open->parent = current;
    open->g = g;
    open->f = f;
    return InsertSorted(open);
  }
  Node* fresh = pool_.Make(current, x, y, g, f);
  if (!fresh) return false;
  cellNodes_[cell] = fresh;
  cellStates_[cell] = CellState::kOpen;
  return InsertSorted(fresh);
}

bool AStarPlanner::InsertSorted(Node* node) {
  int low = 0;
  int high = open_.Size();
  while (low < high) {
    const int middle = low + (high - low) / 2;
    if (open_.At(middle)->f <= node->f) {
      high = middle;
    } else {
      low = middle + 1;
    }
  }
  return open_.Insert(low, node);
}

int AStarPlanner::FindOpen(int x, int y) const {
  for (int i = open_.Size() - 1; i >= 0; --i) {
    const Node* node = open_.At(i);
    if (node->x == x && node->y == y) return i;
  }
  return -1;
}

}  // namespace zrb::path
