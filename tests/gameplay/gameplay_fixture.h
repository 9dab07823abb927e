// A headless engine with the game's media for tests that drive the game's routines directly.
// Each test starts from a clean game state, an open maze and a fixed random seed; the screen
// name of every frame the game presents is recorded.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "game/state.h"

namespace tundrel::testing {

class GameplayTest : public ::testing::Test {
 public:
  void SetUp() override;

  // Frames presented since the test began, by screen name.
  static int CountScreens(std::string_view name);
  // Sets a cell's code and its path cost.
  static void SetCell(int32_t column, int32_t row, int32_t code);
  static void PlacePenguins(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  static EnemyRecord& AddEnemyAt(int32_t type, double x, double y);
};

}  // namespace tundrel::testing
