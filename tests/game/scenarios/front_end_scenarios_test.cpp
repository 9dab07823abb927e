// The title, the main menu and its screens, driven by scripted keys.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/harness/game_run.h"

namespace tundrel::testing {
namespace {

const Bytes kFirstRunFile = {0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// The menu cursor's y (the penguin left of the entry) in each menu frame, runs of equal
// values once.
std::vector<int> MenuCursorSteps(const RunResult& run) {
  std::vector<int> steps;
  for (int i = 0; i < static_cast<int>(run.trace.size()); ++i) {
    if (run.trace[i].Text("screen") != "menu") continue;
    for (const DrawCall& call : run.Drawn(i).calls) {
      if (call.op == "DrawAnim" && call.args[0] == 4 && call.args[1] == 2 && call.args[2] == 200) {
        const int y = static_cast<int>(call.args[3]);
        if (steps.empty() || steps.back() != y) steps.push_back(y);
      }
    }
  }
  return steps;
}

// The settings cursor "|" (column 9) in each settings frame, runs of equal rows once.
std::vector<int> SettingsCursorSteps(const RunResult& run) {
  std::vector<int> steps;
  for (int i = 0; i < static_cast<int>(run.trace.size()); ++i) {
    if (run.trace[i].Text("screen") != "settings") continue;
    for (const DrawCall& call : run.Drawn(i).calls) {
      if (call.op == "DrawAnim" && call.args[0] == 3 && call.args[1] == 2 && call.args[2] == 144) {
        const int y = static_cast<int>(call.args[3]);
        if (steps.empty() || steps.back() != y) steps.push_back(y);
      }
    }
  }
  return steps;
}

TEST(FrontEnd, TitleFadesInOverSixtyFramesThenWaitsForAKey) {
  GameRun game;
  const RunResult run = game.Run(Script().PastTitle(), 200);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.FrameCount("title"), 61);  // the fade, then the picture with its prompt
  const int first = run.FirstFrame("title");
  ASSERT_GE(first, 0);
  EXPECT_TRUE(run.Drawn(first).Has("SetAlphaMode", {0.00833}));
  EXPECT_EQ(run.Drawn(first + 60).TextAt(450), "...press any key...");
  // Nothing is shown while the key is awaited; the menu follows its release.
  const int menu = run.FirstFrame("menu");
  ASSERT_EQ(menu, first + 61);
  EXPECT_GT(run.trace[menu].Number("ms"), 1540 + 250);
}

TEST(FrontEnd, EveryFrameTracesTheGameState) {
  GameRun game;
  const RunResult run = game.Run(Script(), 3);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(run.trace.size(), 3u);
  const TraceFrame& frame = run.trace.back();
  for (const char* field : {"score", "highScore", "round", "lives", "timer", "easyMode", "soundOn",
                            "fullScreen", "scanlinesOn", "inGame", "lossReason", "bonusRound",
                            "penguinSteps", "enemySteps", "enemies", "webs", "items", "sideSwap"}) {
    EXPECT_FALSE(std::isnan(frame.Number(field))) << field;
  }
  for (const char* penguin : {"p1", "p2"}) {
    for (const char* field : {"x", "y", "webState"}) {
      EXPECT_FALSE(std::isnan(frame.Number(field, penguin))) << penguin << "." << field;
    }
  }
  EXPECT_EQ(frame.Text("screen"), "start");
  EXPECT_EQ(frame.Int("lives"), 3);
}

TEST(FrontEnd, FirstRunStatusLineAndLeavingThroughTheMenu) {
  GameRun game;
  const RunResult run = game.Run(Script().PastTitle().Tap(2000, "Escape").Tap(2600, "Y"), 3000);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const int menu = run.FirstFrame("menu");
  ASSERT_GE(menu, 0);
  EXPECT_EQ(run.Drawn(menu).TextAt(16), "score|000000 round|01 high|0000000");
  EXPECT_EQ(run.Drawn(menu).TextColumnAt(16), 3);
  EXPECT_EQ(run.Drawn(menu).TextAt(200), "start game");
  EXPECT_EQ(run.Drawn(menu).TextAt(384), "1.0");

  const int confirm = run.FirstFrame("confirm-exit");
  ASSERT_GE(confirm, 0);
  EXPECT_EQ(run.Drawn(confirm).TextAt(220), "exit to windows (y/n)?");
  EXPECT_EQ(run.Drawn(confirm).TextColumnAt(220), 9);
  EXPECT_EQ(run.Drawn(confirm).TextAt(16), "score|000000 round|01 high|0000000");
  EXPECT_EQ(run.trace.back().Text("screen"), "confirm-exit");  // nothing after the yes
  EXPECT_LT(run.trace.back().Number("ms"), 2700);
  EXPECT_EQ(game.ReadFile("settings.cfg"), kFirstRunFile);
}

TEST(FrontEnd, RightAlsoConfirmsLeaving) {
  GameRun game;
  const RunResult run = game.Run(Script().PastTitle().Tap(2000, "Escape").Tap(2600, "Right"));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_LT(run.trace.back().Number("ms"), 2700);
  EXPECT_TRUE(game.Exists("settings.cfg"));
}

TEST(FrontEnd, NoLeftAndEscapeReturnToTheMenu) {
  GameRun game;
  Script script;
  script.PastTitle()
      .Tap(2000, "Escape")
      .Tap(2600, "N")
      .Tap(3200, "Escape")
      .Tap(3800, "Left")
      .Tap(4400, "Escape")
      .Tap(5000, "Escape")
      .Tap(6200, "Escape")
      .Tap(6800, "Y");
  const RunResult run = game.Run(script, 3000);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const std::vector<std::string> expected = {"start", "title",        "menu", "confirm-exit",
                                             "menu",  "confirm-exit", "menu", "confirm-exit",
                                             "menu",  "confirm-exit"};
  EXPECT_EQ(run.ScreenSequence(), expected);
  EXPECT_GT(run.trace.back().Number("ms"), 6800);
}

TEST(FrontEnd, MenuCursorWrapsBothWaysAndMovesOncePerPress) {
  GameRun game;
  Script script;
  script.PastTitle()
      .Tap(2000, "Up")    // start game -> exit game
      .Tap(2500, "Down")  // exit game -> start game
      .Down(3000, "Up")   // held for half a second: one step only
      .Up(3500, "Up")
      .Tap(4000, "Up");  // exit game -> credits
  const RunResult run = game.Run(script, 300);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(MenuCursorSteps(run), (std::vector<int>{190, 350, 190, 350, 310}));
  // While the key is held no frame is shown.
  for (const TraceFrame& frame : run.trace) {
    const double ms = frame.Number("ms");
    EXPECT_FALSE(ms > 3040 && ms < 3500) << ms;
  }
}

TEST(FrontEnd, SettingsCursorWrapsAndEscapeLeaves) {
  GameRun game;
  Script script;
  script.PastTitle()
      .Tap(2000, "Tab")
      .Tap(2600, "Up")    // fullscreen -> return to menu
      .Tap(3000, "Down")  // return to menu -> fullscreen
      .Tap(3400, "Down")  // -> sound
      .Tap(3800, "Escape");
  const RunResult run = game.Run(script, 400);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(SettingsCursorSteps(run), (std::vector<int>{240, 300, 240, 260}));
  const int settings = run.FirstFrame("settings");
  ASSERT_GE(settings, 0);
  const DrawFrame& drawn = run.Drawn(settings);
  EXPECT_EQ(drawn.TextAt(240), "|fullscreen on/(off)");
  EXPECT_EQ(drawn.TextAt(260), "sound (on)/off");
  EXPECT_EQ(drawn.TextAt(280), "scanlines on/(off)");
  EXPECT_EQ(drawn.TextAt(300), "return to menu");
  EXPECT_EQ(drawn.TextAt(16), "score|000000 round|01 high|0000000");
  const std::vector<std::string> expected = {"start", "title", "menu", "settings", "menu"};
  EXPECT_EQ(run.ScreenSequence(), expected);
}

TEST(FrontEnd, SoundSwitchStopsAndRestartsTheTheme) {
  GameRun game;
  game.AddSoundFixtures();
  Script script;
  script.PastTitle()
      .Tap(2000, "Tab")
      .Tap(2600, "Down")   // the sound line
      .Tap(3000, "Enter")  // off
      .Tap(3600, "Enter")  // on again
      .Tap(4200, "Escape");
  const RunResult run = game.Run(script, 400);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_GE(run.FirstMusicEvent("play _theme.mp3 loop"), 0);
  // Started with the menu, before the title's first frame.
  EXPECT_EQ(run.trace[run.FirstMusicEvent("play _theme.mp3 loop")].Text("screen"), "title");

  const int stopped = run.FirstMusicEvent("stop");
  ASSERT_GE(stopped, 0);
  EXPECT_GT(run.trace[stopped].Number("ms"), 3000);
  EXPECT_EQ(run.trace[stopped].Int("soundOn"), 0);
  EXPECT_TRUE(run.trace[stopped].ListHas("sounds", "play 3"));  // the blip of switching off
  EXPECT_EQ(run.Drawn(stopped).TextAt(260), "|sound on/(off)");

  const int restarted = run.FirstMusicEvent("play _theme.mp3 loop", stopped);
  ASSERT_GT(restarted, stopped);
  EXPECT_GT(run.trace[restarted].Number("ms"), 3600);
  EXPECT_EQ(run.trace[restarted].Int("soundOn"), 1);
  EXPECT_FALSE(run.trace[restarted].ListHas("sounds", "play 3"));  // switching on is silent
  EXPECT_EQ(run.Drawn(restarted).TextAt(260), "|sound (on)/off");
}

TEST(FrontEnd, ScanlineSwitchOverlaysEveryFrame) {
  GameRun game;
  Script script;
  script.PastTitle().Tap(2000, "Tab").Tap(2600, "Down").Tap(3000, "Down").Tap(3400, "Space");
  const RunResult run = game.Run(script, 280);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const DrawFrame& last = run.frames.back();
  EXPECT_EQ(run.trace.back().Int("scanlinesOn"), 1);
  EXPECT_TRUE(last.Has("DrawSprite", {8, 0, 0}));
  EXPECT_TRUE(last.Has("SetAlphaMode", {0.2}));
  EXPECT_EQ(last.TextAt(280), "|scanlines (on)/off");
  EXPECT_FALSE(run.Drawn(run.FirstFrame("menu")).Has("DrawSprite", {8, 0, 0}));
}

TEST(FrontEnd, FullScreenSwitchesOncePerPress) {
  GameRun game;
  Script script;
  script.PastTitle().Tap(2000, "Tab").Down(2600, "Enter").Up(3400, "Enter").Tap(4000, "Escape");
  script.Tap(4600, "Escape").Tap(5200, "Y");
  const RunResult run = game.Run(script, 600);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  int switches = 0;
  for (size_t i = 1; i < run.trace.size(); ++i) {
    if (run.trace[i].Int("fullScreen") != run.trace[i - 1].Int("fullScreen")) ++switches;
  }
  EXPECT_EQ(switches, 1);  // held for 800 ms, switched once
  EXPECT_EQ(run.trace.back().Int("fullScreen"), 1);
  EXPECT_EQ(game.ReadFile("settings.cfg"), (Bytes{1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(FrontEnd, InstructionPagesShowTheirLinesWithTheGapOnPageFour) {
  GameRun game;
  Script script;
  script.PastTitle().Tap(2000, "Down").Tap(2400, "Enter");
  for (int page = 2; page <= 5; ++page)
    script.Tap(2400 + 500 * page, "Space");
  const RunResult run = game.Run(script, 400);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(run.FrameCount("instructions"), 4);
  const int first = run.FirstFrame("instructions");
  const DrawFrame& page1 = run.Drawn(first);
  EXPECT_EQ(page1.TextAt(185), "instructions");
  EXPECT_EQ(page1.TextAt(220), "in this game you control two");
  EXPECT_EQ(page1.TextAt(300), " heartcage and be together.");  // the blank is printed
  EXPECT_EQ(page1.TextColumnAt(300), 6);
  EXPECT_EQ(page1.TextAt(320), "");  // "#" is not printed
  EXPECT_EQ(page1.TextAt(360), "press any key to continue.");

  const DrawFrame& page4 = run.Drawn(first + 3);
  EXPECT_EQ(page4.TextAt(220), "game can be played with keys");
  EXPECT_EQ(page4.TextAt(240), "or joypad if it's available.");
  EXPECT_EQ(page4.TextAt(260), "");
  EXPECT_EQ(page4.TextAt(280), "keys are: arrowkeys to move.");
  EXPECT_EQ(page4.TextAt(300), "space and left ctrl to fire.");
  EXPECT_TRUE(page4.Has("DrawAnim", {3, 43, 96, 280}));  // the capital K as small k
  EXPECT_TRUE(page4.Has("DrawAnim", {11, 8, 346, 330}));
  EXPECT_EQ(run.ScreenSequence().back(), "menu");
}

TEST(FrontEnd, CreditsWaitForAFurtherKeyAfterTheSelectKeyIsReleased) {
  GameRun game;
  Script script;
  script.PastTitle().Tap(2000, "Down").Tap(2300, "Down").Tap(2600, "Down");
  script.Down(3000, "Enter").Up(3300, "Enter").Tap(4000, "Space");
  const RunResult run = game.Run(script, 400);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ASSERT_EQ(run.FrameCount("credits"), 1);
  const DrawFrame& credits = run.Drawn(run.FirstFrame("credits"));
  EXPECT_EQ(credits.TextAt(200), "credits");
  EXPECT_EQ(credits.TextAt(360), "press any key to exit.");
  for (int y : {260, 280, 300})
    EXPECT_EQ(credits.TextColumnAt(y), 10);
  EXPECT_EQ(credits.TextAt(260).rfind("coding: ", 0), 0u);
  EXPECT_EQ(credits.TextAt(300).rfind("music : ", 0), 0u);
  const int back = run.FirstFrame("menu", run.FirstFrame("credits"));
  ASSERT_GT(back, 0);
  EXPECT_GT(run.trace[back].Number("ms"), 4040);
}

TEST(FrontEnd, TheWindowCloseEndsWithoutSaving) {
  GameRun game;
  const RunResult run = game.Run(Script().PastTitle().Tap(2000, "Tab").Close(2600));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.trace.back().Text("screen"), "settings");
  EXPECT_LT(run.trace.back().Number("ms"), 2650);
  EXPECT_FALSE(game.Exists("settings.cfg"));
}

}  // namespace
}  // namespace tundrel::testing
