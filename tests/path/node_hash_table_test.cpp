#include "engine/path/node_hash_table.h"

#include <gtest/gtest.h>

#include <vector>

namespace zrb::path {
namespace {

TEST(NodeHashTable, BucketCountUsesAnEvenNumberOfBitsUpTo24) {
  NodeHashTable table;
  table.Create(8);
  EXPECT_EQ(table.BucketCount(), 256);
  table.Create(9);
  EXPECT_EQ(table.BucketCount(), 256);
  table.Create(2);
  EXPECT_EQ(table.BucketCount(), 4);
  table.Create(-5);
  EXPECT_EQ(table.BucketCount(), 1);
  EXPECT_EQ(table.BucketOf(123, 456), 0);
}

TEST(NodeHashTable, CellsInterleaveTheLowBitsOfXAndY) {
  NodeHashTable table;
  table.Create(8);  // m = 15, y shifted by 4
  EXPECT_EQ(table.BucketOf(0, 0), 0);
  EXPECT_EQ(table.BucketOf(3, 0), 3);
  EXPECT_EQ(table.BucketOf(3, 2), 3 | (2 << 4));
  EXPECT_EQ(table.BucketOf(16, 11), 0 | (11 << 4));  // x = 16 shares with x = 0
  EXPECT_EQ(table.BucketOf(15, 15), 255);
}

TEST(NodeHashTable, FindsRemovesAndKeepsCollidingChainsIntact) {
  NodeHashTable table;
  table.Create(4);  // m = 3: many cells share a bucket
  std::vector<Node> nodes;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x)
      nodes.push_back(Node{nullptr, x, y, 0, 0, nullptr});
  }
  for (Node& node : nodes)
    table.Insert(&node);
  EXPECT_EQ(table.Size(), 64);
  table.Insert(&nodes[5]);  // already chained: not added twice
  EXPECT_EQ(table.Size(), 64);
  for (const Node& node : nodes)
    EXPECT_EQ(table.Find(node.x, node.y), &node);
  EXPECT_EQ(table.Find(8, 0), nullptr);

  // Remove every other node, half through the remembered link and half by walking.
  for (size_t i = 0; i < nodes.size(); i += 2) {
    if (i % 4 == 0) {
      ASSERT_EQ(table.Find(nodes[i].x, nodes[i].y), &nodes[i]);
    } else {
      table.Find(0, 7);  // remembers some other node
    }
    table.Remove(&nodes[i]);
  }
  EXPECT_EQ(table.Size(), 32);
  for (size_t i = 0; i < nodes.size(); ++i) {
    EXPECT_EQ(table.Find(nodes[i].x, nodes[i].y), i % 2 ? &nodes[i] : nullptr) << i;
  }
  table.Remove(&nodes[0]);  // not in the table any more
  EXPECT_EQ(table.Size(), 32);
  table.Clear();
  EXPECT_EQ(table.Size(), 0);
  EXPECT_EQ(table.Find(1, 0), nullptr);
}

}  // namespace
}  // namespace zrb::path
