// A headless engine with the game's media, shared by the gameplay tests. Each test starts
// from a clean game state with a fixed random seed; the screen name of every frame the game
// presents is recorded, so a test can see which loops ran and for how many frames.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "game/state.h"

namespace tundrel::testing {

inline constexpr int kKeyEscape = 1;
inline constexpr int kKeyLeftCtrl = 29;
inline constexpr int kKeySpace = 57;
inline constexpr int kKeyUp = 200;
inline constexpr int kKeyLeft = 203;
inline constexpr int kKeyRight = 205;
inline constexpr int kKeyDown = 208;

class GameplayTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  static void HoldKey(int code);
  static void ReleaseKey(int code);
  static void ReleaseAllKeys();

  // The screens presented since the test began (or since ForgetScreens), one per frame.
  static const std::vector<std::string>& Screens();
  static int CountScreens(std::string_view name);
  static void ForgetScreens();

  // A maze of floor inside the outer wall, with the path grid to match and no records.
  static void BuildOpenMaze();
  // Sets a cell's code and its path cost.
  static void SetCell(int32_t column, int32_t row, int32_t code);
  static void PlacePenguins(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  static EnemyRecord& AddEnemyAt(int32_t type, double x, double y);
  static void AddItemAt(int32_t type, int32_t cellX, int32_t cellY);

  // Whether the slot's (only) buffer is sounding on the headless audio clock.
  static bool SoundSounding(int32_t slot);
};

}  // namespace tundrel::testing
