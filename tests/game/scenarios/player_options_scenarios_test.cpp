// What the player sets from outside the menus, in whole headless runs: Alt+Enter switches the
// display mode like the settings' line and is never the menu's Enter; --joypad is stored at
// once.
#include <gtest/gtest.h>

#include <string>

#include "game/harness/game_run.h"

namespace tundrel::testing {
namespace {

TEST(PlayerOptionRuns, AltEnterSwitchesTheDisplayModeAndNeverChoosesInTheMenu) {
  struct Case {
    const char* alt;
    const char* enter;
  };
  for (const Case c : {Case{"LAlt", "Enter"}, Case{"RAlt", "156"}}) {  // 156: keypad Enter
    SCOPED_TRACE(std::string(c.alt) + "+" + c.enter);
    GameRun game;
    Script script;
    // The menu's first line starts a game on Enter; with Alt held it must not, nor may the key
    // repeating, nor the Enter still held once Alt is let go.
    script.PastTitle().Down(2000, c.alt).Down(2100, c.enter).Down(2150, c.enter);
    script.Up(2200, c.alt).Up(2400, c.enter);
    script.Tap(3000, "Escape").Tap(3600, "Y");
    const RunResult run = game.Run(script);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.ScreenSequence(),
              (std::vector<std::string>{"start", "title", "menu", "confirm-exit"}));
    const int menu = run.FirstFrame("menu");
    ASSERT_GE(menu, 0);
    EXPECT_EQ(run.trace[menu].Int("fullScreen"), 0);
    EXPECT_EQ(run.trace.back().Int("fullScreen"), 1);
    // Stored like a switch in the settings menu.
    EXPECT_EQ(game.ReadFile("settings.cfg"), (Bytes{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  }
}

TEST(PlayerOptionRuns, JoypadOptionIsStoredAtOnceHoweverTheRunEnds) {
  struct Case {
    const char* value;
    uint8_t before;
    int exitCode;
    uint8_t after;
  };
  for (const Case c :
       {Case{"on", 0, 0, 1}, Case{"off", 1, 0, 0}, Case{"on", 1, 0, 1}, Case{"maybe", 1, 2, 1}}) {
    SCOPED_TRACE(std::string(c.value) + " over " + std::to_string(c.before));
    GameRun game;
    const Bytes stored = {0, 1, 0, 0, 0x39, 0x30, 0, 0, c.before, 0, 0, 0};
    game.WriteFile("settings.cfg", stored);
    Script script;
    script.PastTitle().Close(2500);  // the close box: no save through the menu
    const RunResult run = game.Run(script, 3000, {"--joypad", c.value});
    ASSERT_EQ(run.exitCode, c.exitCode) << run.err;
    Bytes expected = stored;
    expected[8] = c.after;
    EXPECT_EQ(game.ReadFile("settings.cfg"), expected);
    if (c.exitCode == 2) {
      EXPECT_NE(run.err.find("--joypad expects on or off"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace tundrel::testing
