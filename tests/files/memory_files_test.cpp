#include "engine/files/memory_files.h"

#include <gtest/gtest.h>

#include "files/files_test_support.h"

namespace zrb::files {
namespace {

TEST(MemoryFiles, NameCarriesSizeInEightHexColumnsAndFindsTheBlock) {
  auto block = std::make_shared<const std::vector<uint8_t>>(0x1A2B, uint8_t{7});
  MemoryFile file(block);
  const std::string& name = file.Name();
  ASSERT_EQ(name.size(), 23u);
  EXPECT_EQ(name.substr(0, 15), "mem://    1a2b.");
  EXPECT_EQ(FindMemoryFile(name), block);
  EXPECT_TRUE(IsMemoryName(name));
  EXPECT_FALSE(IsMemoryName("MEM://    1a2b.       1"));
}

TEST(MemoryFiles, WithdrawnStaleOrForgedNamesFindNothing) {
  auto block = std::make_shared<const std::vector<uint8_t>>(16, uint8_t{1});
  MemoryFile file(block);
  const std::string name = file.Name();
  std::string wrongSize = name;
  wrongSize[13] = '7';  // size 0x17 instead of 0x10
  EXPECT_EQ(FindMemoryFile(wrongSize), nullptr);
  for (const char* forged : {"mem://", "mem://      10", "mem://      10.", "mem://zz.zz",
                             "mem://      10.fffffffffffff"}) {
    EXPECT_EQ(FindMemoryFile(forged), nullptr) << forged;
  }

  MemoryFile moved = std::move(file);
  EXPECT_EQ(moved.Name(), name);
  EXPECT_EQ(file.Name(), "");
  EXPECT_EQ(FindMemoryFile(name), block);
  moved.Withdraw();
  EXPECT_EQ(FindMemoryFile(name), nullptr);
  EXPECT_EQ(block->size(), 16u) << "whoever still shares the block keeps it";

  MemoryFile next(block);
  EXPECT_NE(next.Name(), name) << "a number is not handed out twice";
}

}  // namespace
}  // namespace zrb::files
