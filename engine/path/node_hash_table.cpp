#include "engine/path/node_hash_table.h"

#include <algorithm>

namespace zrb::path {

void NodeHashTable::Create(int bits) {
  const int k = std::clamp(bits, 0, 24) & ~1;
  halfBits_ = k / 2;
  mask_ = (1u << halfBits_) - 1;
  buckets_.assign(size_t{1} << k, nullptr);
  foundLink_ = nullptr;
  found_ = nullptr;
  size_ = 0;
}

int NodeHashTable::BucketOf(int x, int y) const {
  const unsigned ux = static_cast<unsigned>(x);
  const unsigned uy = static_cast<unsigned>(y);
  return static_cast<int>((ux & mask_) | ((uy & mask_) << halfBits_));
}

void NodeHashTable::Insert(Node* node) {
  if (!node || buckets_.empty()) return;
  Node*& head = buckets_[static_cast<size_t>(BucketOf(node->x, node->y))];
  for (Node* walk = head; walk; walk = walk->next) {
    if (walk == node) return;
  }
  node->next = head;
  head = node;
  ++size_;
}

Node* NodeHashTable::Find(int x, int y) {
  foundLink_ = nullptr;
  found_ = nullptr;
  if (buckets_.empty()) return nullptr;
  for (Node** link = &buckets_[static_cast<size_t>(BucketOf(x, y))]; *link; link = &(*link)->next) {
    if ((*link)->x == x && (*link)->y == y) {
      foundLink_ = link;
      found_ = *link;
      return found_;
    }
  }
  return nullptr;
}

void NodeHashTable::Remove(Node* node) {
  if (!node || buckets_.empty()) return;
  Node** link = nullptr;
  if (found_ == node && foundLink_ && *foundLink_ == node) {
    link = foundLink_;
  } else {
    for (Node** walk = &buckets_[static_cast<size_t>(BucketOf(node->x, node->y))]; *walk;
         walk = &(*walk)->next) {
      if (*walk == node) {
        link = walk;
        break;
      }
    }
  }
  if (!link) return;
  *link = node->next;
  node->next = nullptr;
  --size_;
  foundLink_ = nullptr;
  found_ = nullptr;
}

void NodeHashTable::Clear() {
  std::fill(buckets_.begin(), buckets_.end(), nullptr);
  foundLink_ = nullptr;
  found_ = nullptr;
  size_ = 0;
}

}  // namespace zrb::path
