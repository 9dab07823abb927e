// A ring buffer of node pointers with a fixed capacity, for the sorted open list.
#pragma once

#include <vector>

#include "engine/path/node.h"

namespace zrb::path {

// Positions count from the head (0) to the tail. Inserting and erasing move whichever side
// of the position is shorter, which the ring makes possible at both ends.
class FixedDeque {
 public:
  // Allocates room for capacity pointers (negative counts as 0) and empties the deque.
  void Create(int capacity);
  int Capacity() const { return static_cast<int>(slots_.size()); }
  int Size() const;
  bool Empty() const { return empty_; }

  // The last element; null when empty.
  Node* Back() const;
  // Removes the last element (nothing when empty).
  void PopBack();
  // The element at a position; null outside 0..Size()-1.
  Node* At(int index) const;
  // Places node at index 0..Size(); false when full or the index is outside.
  bool Insert(int index, Node* node);
  // Removes the element at a position (nothing outside 0..Size()-1).
  void Erase(int index);
  // False when full.
  bool PushBack(Node* node) { return Insert(Size(), node); }
  void Clear();

 private:
  // index lies in 0..Capacity(), so one subtraction wraps it (no division per access).
  int Slot(int index) const {
    const int slot = head_ + index;
    return slot >= Capacity() ? slot - Capacity() : slot;
  }

  std::vector<Node*> slots_;
  int head_ = 0;
  int tail_ = 0;  // one past the last element
  bool empty_ = true;
};

}  // namespace zrb::path
