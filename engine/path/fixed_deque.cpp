#include "engine/path/fixed_deque.h"

#include <algorithm>

namespace zrb::path {

void FixedDeque::Create(int capacity) {
  slots_.assign(static_cast<size_t>(std::max(capacity, 0)), nullptr);
  Clear();
}

int FixedDeque::Size() const {
  if (empty_) return 0;
  const int span = tail_ - head_;
  return span > 0 ? span : span + Capacity();
}

Node* FixedDeque::Back() const {
  return empty_ ? nullptr : At(Size() - 1);
}

void FixedDeque::PopBack() {
  if (!empty_) Erase(Size() - 1);
}

Node* FixedDeque::At(int index) const {
  if (index < 0 || index >= Size()) return nullptr;
  return slots_[static_cast<size_t>(Slot(index))];
}

bool FixedDeque::Insert(int index, Node* node) {
  const int size = Size();
  if (size >= Capacity() || index < 0 || index > size) return false;
  const int capacity = Capacity();
  if (index < size / 2) {
    // Move the front part one place toward the front.
    head_ = (head_ + capacity - 1) % capacity;
    for (int i = 0; i < index; ++i)
      slots_[Slot(i)] = slots_[Slot(i + 1)];
  } else {
    // Move the back part one place toward the back.
    for (int i = size; i > index; --i)
      slots_[Slot(i)] = slots_[Slot(i - 1)];
    tail_ = (tail_ + 1) % capacity;
  }
  slots_[Slot(index)] = node;
  empty_ = false;
  return true;
}

void FixedDeque::Erase(int index) {
  const int size = Size();
  if (index < 0 || index >= size) return;
  const int capacity = Capacity();
  if (index < size / 2) {
    for (int i = index; i > 0; --i)
      slots_[Slot(i)] = slots_[Slot(i - 1)];
    head_ = (head_ + 1) % capacity;
  } else {
    for (int i = index; i < size - 1; ++i)
      slots_[Slot(i)] = slots_[Slot(i + 1)];
    tail_ = (tail_ + capacity - 1) % capacity;
  }
  empty_ = size == 1;
}

void FixedDeque::Clear() {
  head_ = 0;
  tail_ = 0;
  empty_ = true;
}

}  // namespace zrb::path
