#include "engine/values/engine_array.h"

#include <gtest/gtest.h>

#include "engine/values/engine_string.h"
#include "support/fatal_trap.h"

namespace zrb {
namespace {

struct Item {  // a record like the game's
  int32_t kind = 0;
  double x = 0;
  EngineString label;
};

TEST(EngineArray, BadIndexesAreFatalOutOfBounds) {
  EngineArray<int32_t> a;
  DimArray(a, 10);
  for (int i = 0; i < 10; ++i)
    a[i] = i + 1;
  EXPECT_EQ(a(-1), 10);
  EXPECT_EQ(a[-10], 1);
  EXPECT_FATAL(a(-11), kErrorOutOfBounds);
  EXPECT_FATAL(a(10), kErrorOutOfBounds);
  EXPECT_FATAL(a(3, 1), kErrorOutOfBounds);  // an unused dimension admits only index 0
  EngineArray<double> grid;
  DimArray(grid, 17, 12);
  EXPECT_FATAL(grid(0, 12), kErrorOutOfBounds);
  EXPECT_FATAL(grid(0, -1), kErrorOutOfBounds);
  const EngineArray<double> never;
  EXPECT_FATAL(never(-1), kErrorOutOfBounds);
}

TEST(EngineArray, SkippedMiddleDimensionsStillGiveEachElementItsPlace) {
  EngineArray<int32_t> a;
  DimArray(a, 3, 0, 4);
  EXPECT_EQ(a.ElementCount(), 12);
  for (int k = 0; k < 4; ++k) {
    for (int i = 0; i < 3; ++i)
      a(i, 0, k) = 10 * k + i;
  }
  for (int k = 0; k < 4; ++k)
    EXPECT_EQ(a(2, 0, k), 10 * k + 2);
  DimArray(a, 2, -3);  // negative inner sizes count as unused
  EXPECT_EQ(a.DimensionCount(), 1);
}

TEST(EngineArray, RedimKeepsTheOverlap) {
  EngineArray<double> a;
  DimArray(a, 10);
  for (int i = 0; i < 10; ++i)
    a(i) = i + 1;
  RedimArray(a, 5);
  RedimArray(a, 12);
  for (int i = 0; i < 12; ++i)
    EXPECT_EQ(a(i), i < 5 ? i + 1 : 0);
  EngineArray<int32_t> grid;
  DimArray(grid, 3, 4);
  for (int j = 0; j < 4; ++j) {
    for (int i = 0; i < 3; ++i)
      grid(i, j) = 10 * i + j;
  }
  RedimArray(grid, 5, 2);
  for (int j = 0; j < 2; ++j) {
    for (int i = 0; i < 5; ++i)
      EXPECT_EQ(grid(i, j), i < 3 ? 10 * i + j : 0);
  }
  const int32_t* buffer = grid.Data();
  RedimArray(grid, 0);  // no elements, buffer kept
  EXPECT_EQ(ArraySize(grid, 0), 0);
  EXPECT_EQ(grid.Data(), buffer);
  EXPECT_FATAL(grid(0), kErrorOutOfBounds);
}

TEST(EngineArray, AppendAndCopyRecordsDeeply) {
  EngineArray<Item> items;
  AppendArray(items, Item{3, 1.5, "web"});
  AppendArray(items, Item{4, 2.5, "spider"});
  AppendArray(items, items(0));  // an element of the array itself
  ASSERT_EQ(ArraySize(items, 0), 3);
  EXPECT_EQ(items(1).label, "spider");
  EXPECT_EQ(items(-1).label, "web");
  EngineArray<Item> copy(items);
  copy(1).label += "s";
  EXPECT_EQ(items(1).label, "spider");
  EXPECT_EQ(copy(1).label, "spiders");
  DimArray(items, 2, 2);
  EXPECT_FATAL(AppendArray(items, Item{}), kErrorAppendToMultiDim);
}

TEST(EngineArray, SizesBeyondMemoryAreFatalOutOfMemory) {
  EngineArray<double> a;
  EXPECT_FATAL(DimArray(a, 100000, 100000), kErrorOutOfMemory);
  EXPECT_EQ(a.DimensionCount(), 0);
  EXPECT_FATAL(a(0), kErrorOutOfBounds);
  EngineArray<Item> records;
  EXPECT_FATAL(DimArray(records, 50000, 50000), kErrorOutOfMemory);
}

}  // namespace
}  // namespace zrb
