#include "engine/path/node_hash_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace zrb::path {
namespace {

TEST(NodeHashTable, FindsAndRemovesWithinCollidingChains) {
  NodeHashTable table;
  table.Create(4);  // m = 3: many cells share a bucket
  std::vector<Node> nodes;
  for (int i = 0; i < 64; ++i)
    nodes.push_back(Node{nullptr, i % 8, i / 8, 0, 0, nullptr});
  for (Node& node : nodes)
    table.Insert(&node);
  table.Insert(&nodes[5]);  // already chained: not added twice
  EXPECT_EQ(table.Size(), 64);
  // Remove every other node, some through the link Find remembered and some by walking.
  for (size_t i = 0; i < nodes.size(); i += 2) {
    table.Find(i % 4 ? 7 : nodes[i].x, i % 4 ? 7 : nodes[i].y);
    table.Remove(&nodes[i]);
  }
  EXPECT_EQ(table.Size(), 32);
  for (size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_EQ(table.Find(nodes[i].x, nodes[i].y), i % 2 ? &nodes[i] : nullptr) << i;
  }
  table.Remove(&nodes[0]);  // not in the table any more
  EXPECT_EQ(table.Size(), 32);
  table.Clear();
  EXPECT_EQ(table.Find(1, 0), nullptr);
}

}  // namespace
}  // namespace zrb::path
