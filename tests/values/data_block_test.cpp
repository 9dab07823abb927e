#include "engine/values/data_block.h"

#include <gtest/gtest.h>

#include "support/fatal_trap.h"

namespace zrb {
namespace {

constexpr DataItem kMixed[] = {1, 2.75, "3.9", "-4abc", "hello", -12.5};
// Declared as the game declares its tables: a block that needs no start-up code.
constexpr DataItem kLayout[] = {9, 9, 9, 0, 8};
constinit DataBlock g_layout(kLayout);

TEST(DataBlock, ReadsConvertToTheTargetType) {
  DataBlock block(kMixed);
  RestoreData(block);
  double numbers[6];
  for (double& value : numbers)
    ReadData(value);
  EXPECT_EQ(numbers[2], 3.9);
  EXPECT_EQ(numbers[3], -4.0);
  EXPECT_EQ(numbers[4], 0.0);
  EXPECT_EQ(numbers[5], -12.5);
  RestoreData(block);
  int32_t whole[6];
  for (int32_t& value : whole)
    ReadData(value);
  EXPECT_EQ(whole[1], 2);
  EXPECT_EQ(whole[2], 3);
  EXPECT_EQ(whole[3], -4);
  EXPECT_EQ(whole[5], -12);
  RestoreData(block);
  EngineString texts[6];
  for (EngineString& value : texts)
    ReadData(value);
  EXPECT_EQ(texts[1], "2.75");
  EXPECT_EQ(texts[3], "-4abc");
  EXPECT_EQ(texts[5], "-12.5");
}

TEST(DataBlock, RestoreSwitchesBlocksAndReadingPastTheEndIsFatal) {
  DataBlock mixed(kMixed);
  RestoreData(mixed);
  int32_t value = 0;
  ReadData(value);
  RestoreData(g_layout);
  for (int i = 0; i < 5; ++i)
    ReadData(value);
  EXPECT_EQ(value, 8);
  EXPECT_FATAL(ReadData(value), kErrorOutOfData);
  RestoreData(mixed);
  ReadData(value);
  EXPECT_EQ(value, 1);
  DataBlock empty(std::span<const DataItem>{});
  RestoreData(empty);
  EngineString text;
  EXPECT_FATAL(ReadData(text), kErrorOutOfData);
}

}  // namespace
}  // namespace zrb
