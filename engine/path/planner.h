// The base of the grid planners: the cost grid, the node pool, the open list and closed set.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/path/fixed_deque.h"
#include "engine/path/node.h"
#include "engine/path/node_factory.h"
#include "engine/path/node_hash_table.h"
#include "engine/path/planner_request.h"

namespace zrb::path {

// Use: Initialize, BeginSearch, Search, read the path from GoalNode(), Reset. Everything a
// search needs is allocated by Initialize; BeginSearch and Search never allocate.
class Planner {
 public:
  Planner() = default;
  Planner(const Planner&) = delete;
  Planner& operator=(const Planner&) = delete;
  virtual ~Planner() = default;

  // Copies and normalises the grid and sizes the pool, open list and closed set. False, with
  // nothing to search, when the grid is empty, a start or goal coordinate lies outside it,
  // or start and goal are the same cell. Allocation failure throws std::bad_alloc.
  bool Initialize(const PlannerRequest& request);
  // Empties the lists and clears the done flag, the search counter and the goal node.
  virtual void BeginSearch();
  // Runs until the goal is taken from the open list or the open list runs dry.
  virtual void Search() = 0;
  // Returns every node to the pool and empties both lists; done, no goal node.
  virtual void Reset();

  bool Done() const { return done_; }
  // The goal's node once the search has reached it; its parent chain leads to the start.
  const Node* GoalNode() const { return goalNode_; }
  // The goal node's cost, -1 without one.
  float PathCost() const { return goalNode_ ? goalNode_->g : -1.0f; }
  // Cells on the found path, start and goal included; 0 without one.
  int PathLength() const;
  int OpenSize() const { return open_.Size(); }
  int ClosedSize() const { return closed_.Size(); }
  int SearchCount() const { return searchCount_; }
  // True when the last search stopped because the pool or the open list was full (only
  // possible with a request that sizes them below width x height); it found no path.
  bool RanOutOfNodes() const { return ranOutOfNodes_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The normalised cost of entering a cell, in (1, 2]; -1 when blocked or outside.
  float CellCost(int x, int y) const;

 protected:
  bool done_ = true;
  bool ranOutOfNodes_ = false;
  bool initialized_ = false;
  NodeFactory pool_;
  PlannerRequest request_;
  int width_ = 0;
  int height_ = 0;
  std::vector<float> grid_;
  int searchCount_ = 0;
  FixedDeque open_;
  NodeHashTable closed_;
  Node* goalNode_ = nullptr;

  // Where each cell's node is, so that a neighbour that already has a cheaper node is
  // skipped without walking the closed set's chain or scanning the open list. The lists
  // stay the record of the search; this only spares looking things up in them.
  enum class CellState : uint8_t { kNone, kOpen, kClosed };
  std::vector<Node*> cellNodes_;
  std::vector<CellState> cellStates_;
  int CellIndex(int x, int y) const { return y * width_ + x; }
};

}  // namespace zrb::path
