#include "engine/values/data_block.h"

#include <gtest/gtest.h>

#include "support/fatal_trap.h"

namespace zrb {
namespace {

constexpr DataItem kMixed[] = {1, 2.75, "3.9", "-4abc", "hello", -12.5};
// A table declared as the game declares its layouts: plain numbers in a constant array,
// and a block over it that needs no start-up code.
constexpr DataItem kLayout[] = {9, 9, 9, 0, 8, 0, 9, 9, 9};
constinit DataBlock g_layout(kLayout);

TEST(DataBlock, ReadsIntoDoublesConvertingTexts) {
  DataBlock block(kMixed);
  RestoreData(block);
  double values[6];
  for (double& value : values)
    ReadData(value);
  EXPECT_EQ(values[0], 1.0);
  EXPECT_EQ(values[1], 2.75);
  EXPECT_EQ(values[2], 3.9);
  EXPECT_EQ(values[3], -4.0);
  EXPECT_EQ(values[4], 0.0);
  EXPECT_EQ(values[5], -12.5);
}

TEST(DataBlock, ReadsIntoWholeNumbersTruncatingTowardZero) {
  DataBlock block(kMixed);
  RestoreData(block);
  int32_t values[6];
  for (int32_t& value : values)
    ReadData(value);
  EXPECT_EQ(values[0], 1);
  EXPECT_EQ(values[1], 2);
  EXPECT_EQ(values[2], 3);
  EXPECT_EQ(values[3], -4);
  EXPECT_EQ(values[4], 0);
  EXPECT_EQ(values[5], -12);
}

TEST(DataBlock, ReadsIntoTextsPrintingNumbers) {
  DataBlock block(kMixed);
  RestoreData(block);
  EngineString values[6];
  for (EngineString& value : values)
    ReadData(value);
  EXPECT_EQ(values[0], "1");
  EXPECT_EQ(values[1], "2.75");
  EXPECT_EQ(values[2], "3.9");
  EXPECT_EQ(values[3], "-4abc");
  EXPECT_EQ(values[4], "hello");
  EXPECT_EQ(values[5], "-12.5");
}

TEST(DataBlock, RestoreStartsOverAndSwitchesBlocks) {
  DataBlock mixed(kMixed);
  RestoreData(mixed);
  int32_t value = 0;
  ReadData(value);
  ReadData(value);
  EXPECT_EQ(mixed.NextIndex(), 2);
  RestoreData(g_layout);
  for (int i = 0; i < 4; ++i)
    ReadData(value);
  EXPECT_EQ(value, 0);
  ReadData(value);
  EXPECT_EQ(value, 8);
  RestoreData(mixed);
  ReadData(value);
  EXPECT_EQ(value, 1);
}

TEST(DataBlock, ReadingPastTheEndIsFatalOutOfData) {
  DataBlock block(kLayout);
  RestoreData(block);
  double value = 0;
  for (int i = 0; i < block.Count(); ++i)
    ReadData(value);
  EXPECT_FATAL(ReadData(value), kErrorOutOfData);
  EngineString text;
  EXPECT_FATAL(ReadData(text), kErrorOutOfData);
  DataBlock empty(std::span<const DataItem>{});
  RestoreData(empty);
  int32_t whole = 0;
  EXPECT_FATAL(ReadData(whole), kErrorOutOfData);
}

}  // namespace
}  // namespace zrb
