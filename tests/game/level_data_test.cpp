#include <gtest/gtest.h>

#include <array>

#include "engine/values/data_block.h"
#include "game/state.h"
#include "support/fatal_trap.h"

namespace tundrel {
namespace {

using Layout = std::array<std::array<int32_t, kMazeRows>, kMazeColumns>;  // [column][row]

std::array<Layout, 42> ReadAllLayouts() {
  std::array<Layout, 42> layouts{};
  zrb::RestoreData(levelData);
  for (Layout& layout : layouts) {
    for (int row = 0; row < kMazeRows; ++row) {
      for (int column = 0; column < kMazeColumns; ++column) {
        zrb::ReadData(layout[column][row]);
      }
    }
  }
  return layouts;
}

TEST(LevelData, HoldsExactly42LayoutsOf204Codes) {
  EXPECT_EQ(levelData.Count(), 42 * 204);
  ReadAllLayouts();
  int32_t past_end = 0;
  EXPECT_FATAL(zrb::ReadData(past_end), zrb::kErrorOutOfData);
}

TEST(LevelData, EveryLayoutKeepsTheMazeInvariants) {
  const auto layouts = ReadAllLayouts();
  for (int n = 1; n <= 42; ++n) {
    SCOPED_TRACE("layout " + std::to_string(n));
    const Layout& cells = layouts[n - 1];
    for (int row = 0; row < kMazeRows; ++row) {
      for (int column = 0; column < kMazeColumns; ++column) {
        const int code = cells[column][row];
        const bool border = row == 0 || row == 11 || column == 0 || column == 16;
        ASSERT_TRUE(code == 0 || code == 1 || code == 8 || code == 9) << column << "," << row;
        // The outer wall is the whole border and nothing else.
        EXPECT_EQ(code == 9, border) << column << "," << row;
      }
    }
    // The halves meet only along the cage row.
    EXPECT_EQ(cells[8][1], 0);
    for (int row = 2; row <= 10; ++row) {
      const bool open_gap = n == 22 && (row == 6 || row == 7);
      EXPECT_EQ(cells[8][row], open_gap ? 0 : 8) << "row " << row;
    }
    if (n % 5 == 3) {
      for (int row = 0; row < kMazeRows; ++row) {
        for (int column = 0; column < kMazeColumns; ++column)
          EXPECT_NE(cells[column][row], 1);
      }
    }
  }
}

TEST(LevelData, SampledCellsMatchTheDrawnMazes) {
  const auto layouts = ReadAllLayouts();
  // Layout 1, row 4: "..o....#......." -> a web start at column 3, wall at column 8.
  EXPECT_EQ(layouts[0][3][4], 1);
  EXPECT_EQ(layouts[0][8][4], 8);
  // Layout 25, row 1: "######..o######".
  EXPECT_EQ(layouts[24][1][1], 8);
  EXPECT_EQ(layouts[24][7][1], 0);
  EXPECT_EQ(layouts[24][9][1], 1);
  // Layout 40, row 10: "...o...#.#....#".
  EXPECT_EQ(layouts[39][4][10], 1);
  EXPECT_EQ(layouts[39][15][10], 8);
}

TEST(InstructionPages, EndWithTheHashLineAndKeepTheEmptyLine) {
  DataBlock* pages[] = {&instructionsPage1, &instructionsPage2, &instructionsPage3,
                        &instructionsPage4};
  for (DataBlock* page : pages) {
    zrb::RestoreData(*page);
    EngineString line;
    int lines = 0;
    do {
      zrb::ReadData(line);
      ++lines;
    } while (line != "#");
    EXPECT_EQ(lines, 6);
  }
  zrb::RestoreData(instructionsPage4);
  EngineString line;
  zrb::ReadData(line);
  zrb::ReadData(line);
  EXPECT_EQ(line, "or joypad if it's available.");
  zrb::ReadData(line);
  EXPECT_TRUE(line.Empty());
}

}  // namespace
}  // namespace tundrel
