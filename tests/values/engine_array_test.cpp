#include "engine/values/engine_array.h"

#include <gtest/gtest.h>

#include "engine/values/engine_string.h"
#include "support/fatal_trap.h"

namespace zrb {
namespace {

// A record like the game's: numbers and a text.
struct Item {
  int32_t kind = 0;
  double x = 0;
  EngineString label;
};

TEST(EngineArray, DimGivesZeroedElementsWithCapacityAboveTheCount) {
  EngineArray<double> a;
  DimArray(a, 10);
  EXPECT_EQ(a.ElementCount(), 10);
  EXPECT_EQ(a.Capacity(), 16);
  EXPECT_EQ(a.DimensionCount(), 1);
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(a(i), 0.0);

  EngineArray<int32_t> whole;
  DimArray(whole, 16);
  EXPECT_EQ(whole.Capacity(), 24);
  EngineArray<Item> records;
  DimArray(records, 64);
  EXPECT_EQ(records.Capacity(), 128);
  DimArray(records, 3);
  EXPECT_EQ(records.Capacity(), 128);  // large enough: kept
}

TEST(EngineArray, FirstIndexVariesFastest) {
  EngineArray<double> a;
  DimArray(a, 20, 15);
  EXPECT_EQ(a.Stride(1), 20);
  EXPECT_EQ(a.DimensionCount(), 2);
  EXPECT_EQ(&a(3, 2) - a.Data(), 43);
  EngineArray<int32_t> cube;
  DimArray(cube, 4, 3, 2, 5);
  EXPECT_EQ(cube.DimensionCount(), 4);
  EXPECT_EQ(cube.Stride(2), 12);
  EXPECT_EQ(cube.Stride(3), 24);
  EXPECT_EQ(&cube(1, 2, 1, 3) - cube.Data(), 1 + 2 * 4 + 1 * 12 + 3 * 24);
  EXPECT_EQ(&cube(-1, 2, 1, 4) - cube.Data(), cube.ElementCount() - 1);
}

TEST(EngineArray, SmallNumericArraysLiveInline) {
  EngineArray<double> doubles;
  DimArray(doubles, 15);
  EXPECT_TRUE(doubles.UsesInlineStorage());
  DimArray(doubles, 16);
  EXPECT_FALSE(doubles.UsesInlineStorage());
  EngineArray<int32_t> whole;
  DimArray(whole, 7);
  EXPECT_TRUE(whole.UsesInlineStorage());
  DimArray(whole, 8);
  EXPECT_FALSE(whole.UsesInlineStorage());

  // A heap buffer that is large enough stays, even for a small size.
  DimArray(doubles, 5);
  EXPECT_FALSE(doubles.UsesInlineStorage());

  // Copies and moves of inline arrays point at their own storage.
  EngineArray<double> small;
  DimArray(small, 5);
  small(4) = 2.5;
  EngineArray<double> copy(small);
  EngineArray<double> moved(std::move(small));
  copy(4) = 1.0;
  EXPECT_EQ(moved(4), 2.5);
  EXPECT_EQ(&moved(0), moved.Data());
  EXPECT_TRUE(moved.UsesInlineStorage());
}

TEST(EngineArray, DimResetsAndReusesALargeEnoughBuffer) {
  EngineArray<double> a;
  DimArray(a, 100);
  a(99) = 7;
  const double* buffer = a.Data();
  DimArray(a, 50, 2);
  EXPECT_EQ(a.Data(), buffer);
  EXPECT_EQ(a(49, 1), 0.0);
  DimArray(a, 0);  // no elements: the buffer is replaced by the inline storage
  EXPECT_TRUE(a.UsesInlineStorage());
  EXPECT_EQ(a.DimensionCount(), 0);
}

TEST(EngineArray, NegativeFirstIndexCountsFromTheEnd) {
  EngineArray<int32_t> a;
  DimArray(a, 10);
  for (int i = 0; i < 10; ++i)
    a[i] = i + 1;
  EXPECT_EQ(a(-1), 10);
  EXPECT_EQ(a[-10], 1);
  EXPECT_FATAL(a(-11), kErrorOutOfBounds);
  EXPECT_FATAL(a(10), kErrorOutOfBounds);
}

TEST(EngineArray, BadIndexesOfEveryDimensionAreFatal) {
  EngineArray<double> grid;
  DimArray(grid, 17, 12);
  EXPECT_FATAL(grid(0, 12), kErrorOutOfBounds);
  EXPECT_FATAL(grid(0, -1), kErrorOutOfBounds);
  EXPECT_FATAL(grid(17, 0), kErrorOutOfBounds);
  EXPECT_EQ(grid(-1, 11), 0.0);
  // A dimension not in use admits only index 0.
  EXPECT_FATAL(grid(0, 0, 1), kErrorOutOfBounds);
  EngineArray<double> line;
  DimArray(line, 10);
  EXPECT_FATAL(line(3, 1), kErrorOutOfBounds);
  EngineArray<double> never;
  EXPECT_FATAL(never(0), kErrorOutOfBounds);
  EXPECT_FATAL(never(-1), kErrorOutOfBounds);
  const EngineArray<double>& readOnly = grid;
  EXPECT_FATAL(readOnly(0, 0, 0, 1), kErrorOutOfBounds);
}

TEST(EngineArray, SkippedMiddleDimensionsStillGiveEveryElementItsOwnPlace) {
  EngineArray<int32_t> a;
  DimArray(a, 3, 0, 4);
  EXPECT_EQ(a.ElementCount(), 12);
  EXPECT_EQ(a.DimensionCount(), 3);
  for (int k = 0; k < 4; ++k) {
    for (int i = 0; i < 3; ++i)
      a(i, 0, k) = 10 * k + i;
  }
  for (int k = 0; k < 4; ++k) {
    for (int i = 0; i < 3; ++i)
      EXPECT_EQ(a(i, 0, k), 10 * k + i);
  }
  // Negative sizes of inner dimensions count as unused.
  DimArray(a, 2, -3);
  EXPECT_EQ(a.DimensionCount(), 1);
  EXPECT_EQ(a.Size(1), 0);
}

TEST(EngineArray, RedimKeepsTheOverlap) {
  EngineArray<double> a;
  DimArray(a, 10);
  for (int i = 0; i < 10; ++i)
    a(i) = i + 1;
  RedimArray(a, 5);
  ASSERT_EQ(a.Size(0), 5);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(a(i), i + 1);
  RedimArray(a, 12);
  ASSERT_EQ(a.Size(0), 12);
  for (int i = 0; i < 5; ++i)
    EXPECT_EQ(a(i), i + 1);
  for (int i = 5; i < 12; ++i)
    EXPECT_EQ(a(i), 0.0);
  EXPECT_FATAL(a(12), kErrorOutOfBounds);

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
  RedimArray(grid, 5);  // dropping the second dimension keeps its first row
  EXPECT_EQ(grid(2), 20);
}

TEST(EngineArray, RedimToNothingLeavesNoElementsButKeepsTheBuffer) {
  EngineArray<double> a;
  DimArray(a, 40);
  const double* buffer = a.Data();
  RedimArray(a, 0);
  EXPECT_EQ(ArraySize(a, 0), 0);
  EXPECT_EQ(a.DimensionCount(), 0);
  EXPECT_EQ(a.Data(), buffer);
  EXPECT_FATAL(a(0), kErrorOutOfBounds);
  RedimArray(a, 2);
  EXPECT_EQ(a(1), 0.0);
}

TEST(EngineArray, AppendAddsRecordsAtTheEnd) {
  EngineArray<Item> items;
  AppendArray(items, Item{3, 1.5, "web"});
  ASSERT_EQ(ArraySize(items, 0), 1);
  EXPECT_EQ(items(0).kind, 3);
  EXPECT_EQ(items(0).label, "web");
  AppendArray(items, Item{4, 2.5, "spider"});
  AppendArray(items, items(0));  // an element of the array itself
  ASSERT_EQ(ArraySize(items, 0), 3);
  EXPECT_EQ(items(1).label, "spider");
  EXPECT_EQ(items(-1).label, "web");
  EXPECT_EQ(items(2).x, 1.5);

  EngineArray<double> numbers;
  AppendArray(numbers, 5);
  EXPECT_EQ(numbers(0), 5.0);
}

TEST(EngineArray, AppendToATwoDimensionalArrayIsFatal) {
  EngineArray<Item> items;
  DimArray(items, 2, 2);
  EXPECT_FATAL(AppendArray(items, Item{}), kErrorAppendToMultiDim);
}

TEST(EngineArray, SizeOfDimension) {
  EngineArray<double> a;
  DimArray(a, 17, 12);
  EXPECT_EQ(ArraySize(a, 0), 17);
  EXPECT_EQ(ArraySize(a, 1), 12);
  EXPECT_EQ(ArraySize(a, 2), 0);
  EXPECT_EQ(ArraySize(a, 5), 0);
  EXPECT_EQ(ArraySize(a, -1), 0);
}

TEST(EngineArray, CopiesOfRecordArraysAreDeep) {
  EngineArray<Item> original;
  DimArray(original, 2);
  original(1).label = "flame";
  EngineArray<Item> copy(original);
  copy(1).label += "s";
  EXPECT_EQ(original(1).label, "flame");
  EXPECT_EQ(copy(1).label, "flames");
  EXPECT_NE(copy(1).label.c_str(), original(1).label.c_str());
  EngineArray<Item> assigned;
  assigned = original;
  EXPECT_EQ(assigned(1).label, "flame");
  EXPECT_EQ(ArraySize(assigned, 0), 2);
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
