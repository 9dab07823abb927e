#include "engine/path/node_factory.h"

#include <algorithm>

namespace zrb::path {

void NodeFactory::Create(int capacity) {
  nodes_.assign(static_cast<size_t>(std::max(capacity, 0)), Node{});
  nextFree_ = 0;
}

Node* NodeFactory::Make(Node* parent, int x, int y, float g, float f) {
  if (nextFree_ >= Capacity()) return nullptr;
  Node& node = nodes_[static_cast<size_t>(nextFree_++)];
  node = Node{parent, x, y, f, g, nullptr};
  return &node;
}

}  // namespace zrb::path
