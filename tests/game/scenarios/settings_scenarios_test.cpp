// settings.cfg across whole runs: what is read at start-up, what is written on leaving.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "game/harness/game_run.h"

namespace tundrel::testing {
namespace {

const Bytes kHighScoreFile = {0, 1, 0, 0, 0x87, 0xD6, 0x12, 0x00, 0, 0, 0, 0};

Script LeaveThroughTheMenu() {
  Script script;
  script.PastTitle().Tap(2000, "Escape").Tap(2600, "Y");
  return script;
}

TEST(SettingsRuns, StoredHighScoreShowsAndIsWrittenBackUnchanged) {
  GameRun game;
  game.WriteFile("settings.cfg", kHighScoreFile);
  const RunResult run = game.Run(LeaveThroughTheMenu());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const int menu = run.FirstFrame("menu");
  ASSERT_GE(menu, 0);
  EXPECT_EQ(run.Drawn(menu).TextAt(16), "score|000000 round|01 high|1234567");
  EXPECT_EQ(run.trace[menu].Int("highScore"), 1234567);
  EXPECT_EQ(game.ReadFile("settings.cfg"), kHighScoreFile);
  EXPECT_FALSE(game.Exists("settings.cfg.new"));
}

TEST(SettingsRuns, EveryStoredSettingTakesEffect) {
  GameRun game;
  const Bytes stored = {1, 0, 1, 1, 5, 0, 0, 0, 1, 0, 0, 0};
  game.WriteFile("settings.cfg", stored);
  const RunResult run = game.Run(LeaveThroughTheMenu());
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const TraceFrame& menu = run.trace[run.FirstFrame("menu")];
  EXPECT_EQ(menu.Int("fullScreen"), 1);
  EXPECT_EQ(menu.Int("soundOn"), 0);
  EXPECT_EQ(menu.Int("scanlinesOn"), 1);
  EXPECT_EQ(menu.Int("easyMode"), 1);
  EXPECT_TRUE(run.Drawn(run.FirstFrame("menu")).Has("DrawSprite", {8, 0, 0}));
  // The joypad switch has no screen: it survives the save as it was read.
  EXPECT_EQ(game.ReadFile("settings.cfg"), stored);
}

TEST(SettingsRuns, ShortFileDoesNotStopTheGameAndIsReplacedOnLeaving) {
  for (size_t length : {1u, 5u, 11u}) {
    SCOPED_TRACE(length);
    GameRun game;
    game.WriteFile("settings.cfg", Bytes(length, 1));
    const RunResult run = game.Run(LeaveThroughTheMenu());
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const int menu = run.FirstFrame("menu");
    ASSERT_GE(menu, 0);
    EXPECT_EQ(run.trace[menu].Int("fullScreen"), 0);
    EXPECT_EQ(run.trace[menu].Int("highScore"), 0);
    EXPECT_EQ(game.ReadFile("settings.cfg"), (Bytes{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  }
}

TEST(SettingsRuns, ARunEndedOtherwiseLeavesTheFileAsItWas) {
  GameRun game;
  const Bytes stored = {0, 1, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0};
  game.WriteFile("settings.cfg", stored);
  // Scanlines switched on, then the window is closed.
  Script script;
  script.PastTitle().Tap(2000, "Tab").Tap(2400, "Up").Tap(2800, "Up").Tap(3200, "Enter");
  const RunResult run = game.Run(script.Close(3800));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.trace.back().Int("scanlinesOn"), 1);
  EXPECT_EQ(game.ReadFile("settings.cfg"), stored);
}

TEST(SettingsRuns, CommandLineModeHoldsForThisRunOnly) {
  GameRun game;
  game.WriteFile("settings.cfg", {1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  RunResult run = game.Run(LeaveThroughTheMenu(), 3000, {"--windowed"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.trace[run.FirstFrame("menu")].Int("fullScreen"), 0);
  EXPECT_EQ(game.ReadFile("settings.cfg")[0], 1);

  // Switched in the settings menu, the player's choice is what is stored.
  game.WriteFile("settings.cfg", {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  Script script;
  script.PastTitle().Tap(2000, "Tab").Tap(2600, "Enter").Tap(3200, "Escape");
  script.Tap(3800, "Escape").Tap(4400, "Y");
  run = game.Run(script, 3000, {"--windowed"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.trace.back().Int("fullScreen"), 1);
  EXPECT_EQ(game.ReadFile("settings.cfg")[0], 1);

  game.WriteFile("settings.cfg", {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  run = game.Run(LeaveThroughTheMenu(), 3000, {"--fullscreen"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.trace[run.FirstFrame("menu")].Int("fullScreen"), 1);
  EXPECT_EQ(game.ReadFile("settings.cfg")[0], 0);
}

// The key waits read the joypad only when the file enables it, and only a fully pushed stick
// ends them: buttons read 128.
TEST(SettingsRuns, JoypadEndsTheKeyWaitOnlyWhenEnabled) {
  const Bytes enabled = {0, 1, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0};
  const Bytes disabled = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  struct Case {
    Bytes file;
    bool stick;
    double menuAfter;  // the title's key wait ends at the push, or at the key's release
    double menuBefore;
  };
  for (const Case& c : {Case{enabled, true, 1600, 2000}, Case{enabled, false, 3000, 3400},
                        Case{disabled, true, 3000, 3400}}) {
    SCOPED_TRACE(std::string(c.file[8] ? "enabled" : "disabled") +
                 (c.stick ? " stick" : " button"));
    GameRun game;
    game.WriteFile("settings.cfg", c.file);
    Script script;
    script.Down(1500, "Space").Joy(1600, c.stick ? "x" : "button1", c.stick ? 32767 : 128);
    script.Up(3000, "Space");
    const RunResult run = game.Run(script, 250);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const int menu = run.FirstFrame("menu");
    ASSERT_GE(menu, 0);
    EXPECT_GT(run.trace[menu].Number("ms"), c.menuAfter + 250);
    EXPECT_LT(run.trace[menu].Number("ms"), c.menuBefore);
  }
}

// An installed game's folder is not writable: the settings go to the user's data folder.
TEST(SettingsRuns, ReadOnlyGameFolderKeepsSettingsInTheDataFolder) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write into any folder";
  GameRun game;
  game.UseWorkingSubfolder("installed");
  game.WriteFile("settings.cfg", kHighScoreFile);  // shipped beside the game
  const std::filesystem::path data = game.Dir().parent_path() / "data";
  std::filesystem::permissions(game.Dir(), std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::remove);
  const std::string xdg = "XDG_DATA_HOME=" + data.string();

  RunResult run = game.Run(LeaveThroughTheMenu(), 3000, {}, {xdg});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.trace[run.FirstFrame("menu")].Int("highScore"), 1234567);
  EXPECT_EQ(game.ReadFile((data / "tundrel/settings.cfg").string()), kHighScoreFile);

  // The data folder's file is read first.
  const Bytes changed = {0, 1, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0};
  game.WriteFile((data / "tundrel/settings.cfg").string(), changed);
  run = game.Run(LeaveThroughTheMenu(), 3000, {}, {xdg});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.trace[run.FirstFrame("menu")].Int("highScore"), 3);
  EXPECT_EQ(game.ReadFile("settings.cfg"), kHighScoreFile);
}

}  // namespace
}  // namespace tundrel::testing
