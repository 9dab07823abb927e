// The scan-code table: the codes the game and the engine rely on, and the table's shape.
#include <SDL.h>
#include <gtest/gtest.h>

#include <map>

#include "engine/platform/key_codes.h"

namespace zrb::platform {
namespace {

TEST(KeyCodes, TheKeysTheGameAndTheEngineReadSitAtTheirSetOneCodes) {
  const std::map<SDL_Scancode, int> expected = {
      {SDL_SCANCODE_ESCAPE, 1},
      {SDL_SCANCODE_TAB, 15},
      {SDL_SCANCODE_Y, 21},
      {SDL_SCANCODE_RETURN, 28},
      {SDL_SCANCODE_LCTRL, 29},
      {SDL_SCANCODE_N, 49},
      {SDL_SCANCODE_LALT, 56},
      {SDL_SCANCODE_SPACE, 57},
      {SDL_SCANCODE_F4, 62},
      {SDL_SCANCODE_F12, 88},
      {SDL_SCANCODE_UP, 200},
      {SDL_SCANCODE_LEFT, 203},
      {SDL_SCANCODE_RIGHT, 205},
      {SDL_SCANCODE_DOWN, 208},
      {SDL_SCANCODE_KP_ENTER, 156},
      {SDL_SCANCODE_RCTRL, 157},
      {SDL_SCANCODE_RALT, 184},
      {SDL_SCANCODE_KP_DIVIDE, 181},
      {SDL_SCANCODE_HOME, 199},
      {SDL_SCANCODE_PAGEUP, 201},
      {SDL_SCANCODE_END, 207},
      {SDL_SCANCODE_PAGEDOWN, 209},
      {SDL_SCANCODE_INSERT, 210},
      {SDL_SCANCODE_DELETE, 211},
      {SDL_SCANCODE_LGUI, 219},
      {SDL_SCANCODE_RGUI, 220},
      {SDL_SCANCODE_APPLICATION, 221},
      {SDL_SCANCODE_Z, 44},
      {SDL_SCANCODE_KP_7, 71},
      {SDL_SCANCODE_KP_PERIOD, 83},
      {SDL_SCANCODE_F1, 59},
      {SDL_SCANCODE_F10, 68},
      {SDL_SCANCODE_F11, 87},
      {SDL_SCANCODE_1, 2},
      {SDL_SCANCODE_0, 11},
      {SDL_SCANCODE_LSHIFT, 42},
      {SDL_SCANCODE_RSHIFT, 54},
      {SDL_SCANCODE_NONUSBACKSLASH, 86},
  };
  for (const auto& [scancode, code] : expected) {
    EXPECT_EQ(KeyCodeFromScancode(scancode), code) << SDL_GetScancodeName(scancode);
    EXPECT_EQ(ScancodeFromKeyCode(code), scancode) << code;
  }
}

}  // namespace
}  // namespace zrb::platform
