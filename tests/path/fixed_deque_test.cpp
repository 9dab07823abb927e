#include "engine/path/fixed_deque.h"

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <random>

namespace zrb::path {
namespace {

std::array<Node, 64> g_nodes;

Node* N(int i) {
  return &g_nodes[static_cast<size_t>(i)];
}

void ExpectSame(const FixedDeque& deque, const std::deque<Node*>& model) {
  ASSERT_EQ(deque.Size(), static_cast<int>(model.size()));
  ASSERT_EQ(deque.Empty(), model.empty());
  for (int i = 0; i < deque.Size(); ++i)
    ASSERT_EQ(deque.At(i), model[static_cast<size_t>(i)]);
  ASSERT_EQ(deque.Back(), model.empty() ? nullptr : model.back());
}

TEST(FixedDeque, BehavesLikeADequeThroughWrapAround) {
  // Random inserts, erases and pops at every position of a small ring, which wraps often.
  std::mt19937 random(7);
  FixedDeque deque;
  deque.Create(9);
  std::deque<Node*> model;
  for (int step = 0; step < 5000; ++step) {
    const int action = static_cast<int>(random() % 4);
    const int size = static_cast<int>(model.size());
    if (action <= 1) {
      const int index = static_cast<int>(random() % static_cast<unsigned>(size + 1));
      Node* node = N(static_cast<int>(random() % 64));
      const bool inserted = deque.Insert(index, node);
      ASSERT_EQ(inserted, size < 9);
      if (inserted) model.insert(model.begin() + index, node);
    } else if (action == 2 && size > 0) {
      const int index = static_cast<int>(random() % static_cast<unsigned>(size));
      deque.Erase(index);
      model.erase(model.begin() + index);
    } else if (size > 0) {
      deque.PopBack();
      model.pop_back();
    }
    ExpectSame(deque, model);
  }
}

TEST(FixedDeque, FullAndEmptyAreToldApartAndBadPositionsAreRefused) {
  FixedDeque deque;
  deque.Create(3);
  EXPECT_TRUE(deque.Empty());
  EXPECT_EQ(deque.Back(), nullptr);
  deque.PopBack();  // nothing to pop: stays empty
  EXPECT_EQ(deque.Size(), 0);
  EXPECT_FALSE(deque.Insert(1, N(0)));
  EXPECT_FALSE(deque.Insert(-1, N(0)));
  EXPECT_TRUE(deque.PushBack(N(1)));
  EXPECT_TRUE(deque.PushBack(N(2)));
  EXPECT_TRUE(deque.Insert(0, N(3)));
  EXPECT_EQ(deque.Size(), 3);  // head meets tail: full, not empty
  EXPECT_FALSE(deque.Empty());
  EXPECT_FALSE(deque.PushBack(N(4)));
  EXPECT_EQ(deque.At(3), nullptr);
  EXPECT_EQ(deque.At(-1), nullptr);
  deque.Erase(5);
  EXPECT_EQ(deque.Size(), 3);
  deque.Clear();
  EXPECT_TRUE(deque.Empty());

  FixedDeque none;
  none.Create(0);
  EXPECT_FALSE(none.PushBack(N(0)));
  EXPECT_EQ(none.Size(), 0);
}

}  // namespace
}  // namespace zrb::path
