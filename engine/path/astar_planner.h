// Best-first grid search ordered by a blend of cost so far and Manhattan distance.
#pragma once

#include "engine/path/planner.h"

namespace zrb::path {

// f = (h - g) * weight + g: weight 0 is a uniform-cost search, 1 a greedy one. The open list
// is kept in descending f, so its back is the best node; among equal f the node inserted
// first is taken first. A node's parent changes only for a strictly cheaper cost.
class AStarPlanner : public Planner {
 public:
  // Also takes the start node from the pool and puts it on the open list.
  void BeginSearch() override;
  void Search() override;

 private:
  // Places the node before the first one (from the front) whose f is not above its own.
  bool InsertSorted(Node* node);
  // Position of the cell's node in the open list, searched from the back; -1 when absent.
  int FindOpen(int x, int y) const;
  // Looks at one neighbour of current; false when the pool or the open list is full.
  bool Relax(Node* current, int dx, int dy);
};

}  // namespace zrb::path
