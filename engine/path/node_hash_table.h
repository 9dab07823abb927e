// The closed set: nodes chained in 2^k buckets by their cell.
#pragma once

#include <vector>

#include "engine/path/node.h"

namespace zrb::path {

// A cell (x, y) hashes to bucket (x AND m) OR ((y AND m) << k/2) with m = 2^(k/2) - 1, so
// neighbouring cells land in different buckets.
class NodeHashTable {
 public:
  // k is bits limited to 0..24 and rounded down to an even number: 8 gives 256 buckets.
  void Create(int bits);
  int BucketCount() const { return static_cast<int>(buckets_.size()); }
  int BucketOf(int x, int y) const;

  // Puts the node at the head of its chain unless the chain already holds it.
  void Insert(Node* node);
  // The node of that cell, or null. Remembers where it was linked, for Remove.
  Node* Find(int x, int y);
  // Unlinks the node (nothing when it is not in the table).
  void Remove(Node* node);
  void Clear();
  int Size() const { return size_; }

 private:
  std::vector<Node*> buckets_;
  int halfBits_ = 0;
  unsigned mask_ = 0;
  Node** foundLink_ = nullptr;  // the link that pointed at the last node Find returned
  Node* found_ = nullptr;
  int size_ = 0;
};

}  // namespace zrb::path
