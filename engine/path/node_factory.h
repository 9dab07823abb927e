// A pool of search nodes allocated once, so that a search itself never allocates.
#pragma once

#include <vector>

#include "engine/path/node.h"

namespace zrb::path {

class NodeFactory {
 public:
  // Allocates capacity nodes (negative counts as 0); all of them free.
  void Create(int capacity);
  // A fresh node from the pool, or null when every node is in use.
  Node* Make(Node* parent, int x, int y, float g, float f);
  // Every node back to the pool.
  void ReturnAll() { nextFree_ = 0; }
  int Capacity() const { return static_cast<int>(nodes_.size()); }
  int InUse() const { return nextFree_; }

 private:
  std::vector<Node> nodes_;
  int nextFree_ = 0;
};

}  // namespace zrb::path
