#include "engine/path/fixed_deque.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <random>

namespace zrb::path {
namespace {

std::array<Node, 64> g_nodes;

TEST(FixedDeque, BehavesLikeADequeThroughWrapAround) {
  // Random inserts, erases and pops at every position of a small ring, which wraps often.
  std::mt19937 random(7);
  FixedDeque deque;
  deque.Create(9);
  std::deque<Node*> model;
  for (int step = 0; step < 5000; ++step) {
    const int size = static_cast<int>(model.size());
    const unsigned action = random() % 4;
    if (action <= 1) {
      const int index = static_cast<int>(random() % static_cast<unsigned>(size + 1));
      Node* node = &g_nodes[random() % 64];
      ASSERT_EQ(deque.Insert(index, node), size < 9);
      if (size < 9) model.insert(model.begin() + index, node);
    } else if (action == 2 && size > 0) {
      const int index = static_cast<int>(random() % static_cast<unsigned>(size));
      deque.Erase(index);
      model.erase(model.begin() + index);
    } else if (size > 0) {
      deque.PopBack();
      model.pop_back();
    }
    ASSERT_EQ(deque.Size(), static_cast<int>(model.size()));
    for (int i = 0; i < deque.Size(); ++i)
      ASSERT_EQ(deque.At(i), model[static_cast<size_t>(i)]);
    ASSERT_EQ(deque.Back(), model.empty() ? nullptr : model.back());
  }
}

TEST(FixedDeque, FullIsNotEmptyAndBadPositionsAreRefused) {
  FixedDeque deque;
  deque.Create(2);
  deque.PopBack();
  EXPECT_TRUE(deque.Empty());
  EXPECT_FALSE(deque.Insert(1, &g_nodes[0]));
  EXPECT_TRUE(deque.PushBack(&g_nodes[1]));
  EXPECT_TRUE(deque.Insert(0, &g_nodes[2]));
  EXPECT_EQ(deque.Size(), 2);  // head meets tail: full
  EXPECT_FALSE(deque.Empty());
  EXPECT_FALSE(deque.PushBack(&g_nodes[3]));
  EXPECT_EQ(deque.At(2), nullptr);
  deque.Erase(-1);
  EXPECT_EQ(deque.Size(), 2);
  FixedDeque none;
  none.Create(0);
  EXPECT_FALSE(none.PushBack(&g_nodes[0]));
}

}  // namespace
}  // namespace zrb::path
