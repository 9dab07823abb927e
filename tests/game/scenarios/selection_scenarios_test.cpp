// The penguin and difficulty selection at the start of a game.
#include <gtest/gtest.h>

#include <string>

#include "game/harness/game_run.h"

namespace tundrel::testing {
namespace {

// Enter on "start game" opens the selection; Space confirms there (Space is no menu key).
Script ToSelection() {
  Script script;
  script.PastTitle().Tap(2000, "Enter");
  return script;
}

// The cursor penguin's frame and y in a selection frame: {2, 190} tibbo, {12, 230} nella.
std::pair<int, int> Cursor(const DrawFrame& frame) {
  for (const DrawCall& call : frame.calls) {
    if (call.op == "DrawAnim" && call.args[0] == 4 && call.args[2] == 220) {
      return {static_cast<int>(call.args[1]), static_cast<int>(call.args[3])};
    }
  }
  return {-1, -1};
}

// The selection frame last shown before `ms`.
int SelectFrameBefore(const RunResult& run, double ms) {
  int found = -1;
  for (int i = 0; i < static_cast<int>(run.trace.size()); ++i) {
    if (run.trace[i].Number("ms") < ms && run.trace[i].Text("screen") == "select") found = i;
  }
  return found;
}

// The first frame presented after `ms` (a key pressed at ms acts in the frame after it).
const TraceFrame& FrameAfter(const RunResult& run, double ms) {
  for (const TraceFrame& frame : run.trace) {
    if (frame.Number("ms") > ms) return frame;
  }
  return run.trace.back();
}

TEST(Selection, ScreenShowsBothPenguinsAndTheDifficulty) {
  GameRun game;
  const RunResult run = game.Run(ToSelection(), 200);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const int first = run.FirstFrame("select");
  ASSERT_GE(first, 0);
  // The selection waits a quarter second before its first frame.
  EXPECT_GT(run.trace[first].Number("ms"), 2250);
  const DrawFrame& drawn = run.Drawn(first);
  EXPECT_EQ(drawn.TextAt(200), "tibbo");
  EXPECT_EQ(drawn.TextColumnAt(200), 17);
  EXPECT_EQ(drawn.TextAt(240), "nella");
  EXPECT_EQ(drawn.TextAt(295), "difficulty = (normal) / easy");
  EXPECT_EQ(drawn.TextAt(370), "and press fire to start.");
  EXPECT_EQ(drawn.TextAt(16), "score|000000 round|01 high|0000000");
  EXPECT_EQ(Cursor(drawn), std::make_pair(2, 190));
}

TEST(Selection, DownTwiceLeavesNellaChosenAndGivesSideSwapTen) {
  GameRun game;
  Script script = ToSelection();
  script.Tap(2600, "Down").Tap(3000, "Down").Tap(3200, "Escape").Tap(3400, "Space");
  const RunResult run = game.Run(script, 250);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Cursor(run.Drawn(SelectFrameBefore(run, 3000))), std::make_pair(12, 230));
  EXPECT_EQ(Cursor(run.Drawn(SelectFrameBefore(run, 3400))), std::make_pair(12, 230));
  // Escape does nothing here, and nothing is set before the confirmation.
  EXPECT_EQ(run.trace[SelectFrameBefore(run, 3400)].Int("sideSwap"), 0);

  const TraceFrame& frame = FrameAfter(run, 3420);
  EXPECT_EQ(frame.Int("sideSwap"), 10);
  EXPECT_EQ(frame.Int("x", "p1"), 272);  // nella, left of the centre wall
  EXPECT_EQ(frame.Int("x", "p2"), 336);
  EXPECT_EQ(frame.Int("y", "p1"), 368);
  EXPECT_EQ(frame.Int("y", "p2"), 368);
  EXPECT_EQ(run.FrameCount("easy-notice"), 0);
}

TEST(Selection, TibboIsTheDefaultAndUpReturnsToIt) {
  GameRun game;
  Script script = ToSelection();
  script.Tap(2600, "Down").Tap(3000, "Up").Tap(3400, "Up").Tap(3800, "Space");
  const RunResult run = game.Run(script, 270);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Cursor(run.Drawn(SelectFrameBefore(run, 3800))), std::make_pair(2, 190));
  const TraceFrame& after = FrameAfter(run, 3820);
  EXPECT_EQ(after.Int("sideSwap"), 0);
  EXPECT_EQ(after.Int("x", "p1"), 336);
  EXPECT_EQ(after.Int("x", "p2"), 272);
}

TEST(Selection, EasyModeShowsItsNoticeForExactly180Frames) {
  GameRun game;
  Script script = ToSelection();
  script.Tap(2600, "Right").Tap(3000, "Space");
  const RunResult run = game.Run(script, 500);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.Drawn(SelectFrameBefore(run, 3000)).TextAt(295), "difficulty = normal / (easy)");
  const int notice = run.FirstFrame("easy-notice");
  ASSERT_GE(notice, 0);
  EXPECT_EQ(run.FrameCount("easy-notice"), 180);
  for (int i = notice; i < notice + 180; ++i)
    EXPECT_EQ(run.trace[i].Text("screen"), "easy-notice");
  EXPECT_EQ(run.trace[notice].Int("easyMode"), 1);
  const DrawFrame& drawn = run.Drawn(notice);
  EXPECT_EQ(drawn.TextAt(156), "you're now playing on easy mode,");
  EXPECT_EQ(drawn.TextAt(340), "you'll only score 10% of normal!");
  EXPECT_TRUE(drawn.Has("DrawAnim", {5, 21, 304, 240}));
  EXPECT_EQ(drawn.TextAt(16), "");          // no status line
  EXPECT_EQ(drawn.Count("DrawSprite"), 0);  // and no background
}

TEST(Selection, HeldRightBlipsOnceAndLeftReturnsToNormal) {
  GameRun game;
  game.AddSoundFixtures();
  Script script = ToSelection();
  script.Down(2600, "Right").Up(3200, "Right").Tap(3600, "Left").Tap(4000, "Space");
  const RunResult run = game.Run(script, 300);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  int blips = 0;
  for (const TraceFrame& frame : run.trace) {
    const double ms = frame.Number("ms");
    if (ms > 2600 && ms < 3300 && frame.ListHas("sounds", "play 3")) ++blips;
  }
  EXPECT_EQ(blips, 1);
  EXPECT_EQ(run.trace[SelectFrameBefore(run, 3200)].Int("easyMode"), 1);
  EXPECT_EQ(run.trace[SelectFrameBefore(run, 4000)].Int("easyMode"), 0);
  EXPECT_EQ(run.FrameCount("easy-notice"), 0);
}

}  // namespace
}  // namespace tundrel::testing
