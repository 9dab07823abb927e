// Whole games, headless, driven by scripts: what the player sees and hears frame by frame.
#include <gtest/gtest.h>

#include "scenario_runner.h"

namespace tundrel::scenarios {
namespace {

// Title, menu "start game", then tibbo at normal difficulty; round 1's first frame reads its
// keys at 3516.7 ms.
constexpr const char* kStartGame =
    "1500 key Enter down\n1600 key Enter up\n"
    "2500 key Enter down\n2600 key Enter up\n"
    "3500 key Enter down\n3600 key Enter up\n";

TEST(Scenario, Round1PlayedToTheCage) {
  ScenarioOptions options;
  options.script = ReadScenarioScript("round1_meeting.script");
  options.maxFrames = 1100;
  const ScenarioRun run = RunScenario(options);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;

  const int celebration = run.Find("celebration");
  ASSERT_GT(celebration, 0) << "the penguins never met; frames " << run.frames.size() << ", last "
                            << (run.frames.empty() ? "" : run.frames.back().Str("screen"));
  const TraceFrame& met = run.frames[celebration];
  EXPECT_EQ(run.frames[celebration - 1].Str("screen"), "round");
  EXPECT_EQ(met.Int("round"), 1);
  EXPECT_TRUE(met.HasSound("play 0"));  // the ding
  EXPECT_TRUE(met.HasMusic("play _LevelComplete.mp3 once"));
  EXPECT_LT(met.Int("p1.y"), 84);
  EXPECT_LT(met.Int("p2.y"), 84);
  EXPECT_EQ(met.Int("score"), met.Int("timer") / 6000 * 100);
  EXPECT_EQ(run.RunLength(celebration), 270);
  EXPECT_EQ(met.Int("enemies"), 0);  // the spider burst away

  const int card = celebration + 270;
  EXPECT_EQ(run.frames[card].Str("screen"), "title-card");
  EXPECT_EQ(run.RunLength(card), 150);
  EXPECT_TRUE(run.frames[card].HasText("round 02"));
  EXPECT_TRUE(run.frames[card].HasText("= 3"));
  const TraceFrame& next = run.frames[card + 150];
  EXPECT_EQ(next.Str("screen"), "round");
  EXPECT_EQ(next.Int("round"), 2);
  EXPECT_EQ(next.Int("lives"), 3);
  EXPECT_EQ(next.Int("timer"), 54059);
  EXPECT_EQ(next.Int("p1.x"), 336);
  EXPECT_TRUE(next.HasMusic("play _InGame2.mp3 loop"));
}

TEST(Scenario, QuittingWithLivesLeftShowsTheQuitScreenTakesALifeAndEndsTheGame) {
  ScenarioOptions options;
  options.script = std::string(kStartGame) +
                   "4600 key Escape down\n4650 key Escape up\n"
                   "5500 key Right down\n5600 key Right up\n";
  options.maxFrames = 700;
  const ScenarioRun run = RunScenario(options);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;

  const int confirm = run.Find("confirm-quit");
  ASSERT_GT(confirm, 0);
  const int quit = run.Find("quit-screen", confirm);
  ASSERT_GT(quit, confirm);
  EXPECT_EQ(run.RunLength(quit), 280);
  const TraceFrame& shown = run.frames[quit];
  EXPECT_TRUE(shown.HasText("someone took the easy way"));
  EXPECT_TRUE(shown.HasText("out, and exited the game!"));
  EXPECT_TRUE(shown.HasText("score won't be counted!"));
  EXPECT_TRUE(shown.HasMusic("play _dead.mp3 once"));
  EXPECT_EQ(shown.Int("inGame"), 0);

  const int menu = quit + 280;
  ASSERT_LT(menu, static_cast<int>(run.frames.size()));
  EXPECT_EQ(run.frames[menu].Str("screen"), "menu");
  EXPECT_EQ(run.frames[menu].Int("lives"), 2);
  EXPECT_EQ(run.Count("game-over"), 0);
  EXPECT_TRUE(run.frames[menu].HasMusic("play _theme.mp3 loop"));
}

TEST(Scenario, EscapeAnsweredNoLeavesTheRoundAsItWas) {
  ScenarioOptions options;
  options.script = std::string(kStartGame) +
                   "4600 key Escape down\n4650 key Escape up\n"
                   "5500 key Left down\n5600 key Left up\n";
  options.maxFrames = 500;
  const ScenarioRun run = RunScenario(options);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const int confirm = run.Find("confirm-quit");
  ASSERT_GT(confirm, 0);
  const int back = run.Find("round", confirm);
  ASSERT_GT(back, confirm);
  EXPECT_EQ(run.frames[back].Int("lives"), 3);
  EXPECT_EQ(run.frames[back].Int("timer"), run.frames[confirm - 1].Int("timer") - 20);
  EXPECT_EQ(run.Count("quit-screen"), 0);
}

// Idle penguins lose every life, to the clock or to the round's spider, whichever comes first.
TEST(Scenario, LosingEveryLifeEndsTheGame) {
  ScenarioOptions options;
  options.script = kStartGame;
  options.maxFrames = 12200;
  const ScenarioRun run = RunScenario(options);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;

  int from = 0;
  for (int life = 3; life >= 0; --life) {
    SCOPED_TRACE(life);
    const int start = run.Find("round", from);
    ASSERT_GE(start, 0);
    int loss = start;
    while (loss < static_cast<int>(run.frames.size()) &&
           run.frames[loss].Str("screen") == "round") {
      ++loss;
    }
    ASSERT_LT(loss, static_cast<int>(run.frames.size()));
    const TraceFrame& lost = run.frames[loss];
    EXPECT_EQ(run.frames[start].Int("round"), 1);
    EXPECT_EQ(lost.Int("lives"), life);
    if (lost.Str("screen") == "out-of-time") {
      // The timer steps from 54059 by 20 and reaches -1 in the round's 2703rd frame.
      EXPECT_EQ(loss - start, 2703);
      EXPECT_EQ(run.RunLength(loss), 240);
      EXPECT_TRUE(lost.HasText("out of time!"));
      EXPECT_EQ(lost.HasText("life lost!"), life > 0);
      EXPECT_EQ(lost.HasText("final life lost!"), life == 0);
      from = loss + 240;
    } else {
      ASSERT_EQ(lost.Str("screen"), "freeze");
      EXPECT_LT(loss - start, 2703);
      from = loss + 120 + 150;
    }
  }
  const int over = run.Find("game-over", from);
  ASSERT_EQ(over, from);
  ASSERT_LT(over + 180, static_cast<int>(run.frames.size()));
  EXPECT_EQ(run.RunLength(over), 180);
  const TraceFrame& end = run.frames[over];
  EXPECT_TRUE(end.HasText("game over!"));
  const bool beaten = end.Int("score") > 0;
  EXPECT_EQ(end.HasText("highscore was achieved!"), beaten);
  EXPECT_EQ(end.HasText("highscore not beaten!"), !beaten);
  EXPECT_TRUE(end.HasSound(beaten ? "play 20" : "play 21"));
  const TraceFrame& menu = run.frames[over + 180];
  EXPECT_EQ(menu.Str("screen"), "menu");
  EXPECT_EQ(menu.Int("highScore"), end.Int("score"));
  EXPECT_TRUE(menu.HasMusic("play _theme.mp3 loop"));
}

TEST(Scenario, EasyModeStopsTheClockAndOffersNoItems) {
  ScenarioOptions options;
  options.script =
      "1500 key Enter down\n1600 key Enter up\n2500 key Enter down\n2600 key Enter up\n"
      "3300 key Right down\n3400 key Right up\n3500 key Enter down\n3600 key Enter up\n";
  options.maxFrames = 4200;
  const ScenarioRun run = RunScenario(options);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const int notice = run.Find("easy-notice");
  ASSERT_GT(notice, 0);
  EXPECT_EQ(run.RunLength(notice), 180);
  const int start = run.Find("round", notice);
  ASSERT_EQ(start, notice + 180);
  // The idle penguins may be caught meanwhile; the clock stays put all the same.
  int rounds = 0;
  for (int i = start; i < static_cast<int>(run.frames.size()); ++i) {
    EXPECT_EQ(run.frames[i].Int("items"), 0);
    EXPECT_EQ(run.frames[i].Int("easyMode"), 1);
    if (run.frames[i].Str("screen") != "round") continue;
    EXPECT_EQ(run.frames[i].Int("timer"), 54059);
    ++rounds;
  }
  EXPECT_GT(rounds, 2900);
  EXPECT_EQ(run.Count("out-of-time"), 0);
}

TEST(Scenario, ABonusRoundThatTimesOutGivesNoBonusAndCostsNoLife) {
  ScenarioOptions options;
  options.stage = true;
  options.args = {"--round", "3"};
  options.maxFrames = 1950;
  const ScenarioRun run = RunScenario(options);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const int start = run.Find("round");
  ASSERT_GE(start, 0);
  EXPECT_EQ(run.frames[start].Int("bonusRound"), 1);
  EXPECT_EQ(run.frames[start].Int("timer"), 30059);
  const int noBonus = run.Find("no-bonus");
  EXPECT_EQ(noBonus - start, 1503);
  EXPECT_EQ(run.RunLength(noBonus), 240);
  EXPECT_TRUE(run.frames[noBonus].HasText("no bonus!"));
  EXPECT_EQ(run.Count("celebration"), 0);
  EXPECT_EQ(run.Count("out-of-time"), 0);
  const int card = noBonus + 240;
  EXPECT_EQ(run.frames[card].Str("screen"), "title-card");
  EXPECT_TRUE(run.frames[card].HasText("round 04"));
  EXPECT_EQ(run.frames[card].Int("lives"), 3);
}

TEST(Scenario, MeetingInABonusRoundWithHeartsLeftGivesTheSmallBonus) {
  ScenarioOptions options;
  options.stage = true;
  options.args = {"--round", "3", "--place", "323,80,285,80"};
  options.script = "10 key Left down\n200 key Left up\n";
  options.maxFrames = 700;
  const ScenarioRun run = RunScenario(options);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const int celebration = run.Find("celebration");
  ASSERT_GT(celebration, 0);
  const int tally = celebration + 270;
  EXPECT_EQ(run.frames[tally].Str("screen"), "bonus-tally");
  EXPECT_EQ(run.RunLength(tally), 150);
  EXPECT_TRUE(run.frames[tally].HasText("bonus!"));
  EXPECT_TRUE(run.frames[tally].HasText("10000 pts!"));
  const TraceFrame& next = run.frames[tally + 150];
  EXPECT_EQ(next.Str("screen"), "title-card");
  EXPECT_EQ(next.Int("score"), 500 + 10000);
  EXPECT_EQ(next.Int("round"), 4);
}

TEST(Scenario, TheFinalLifeLostOnTimeEndsTheGameWithTheSoundsEvenWhenMuted) {
  for (bool muted : {false, true}) {
    SCOPED_TRACE(muted);
    ScenarioOptions options;
    options.stage = true;
    // Power mode: the spider that touches a penguin bursts, so only the clock ends the life.
    options.args = {"--round", "1", "--lives", "0", "--power", "--high", "999999"};
    if (muted) options.args.push_back("--mute");
    const ScenarioRun run = RunScenario(options);
    ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
    const int out = run.Find("out-of-time");
    ASSERT_GT(out, 0);
    EXPECT_EQ(out - run.Find("round"), 2703);
    EXPECT_TRUE(run.frames[out].HasText("final life lost!"));
    EXPECT_FALSE(run.frames[out].HasText("life lost!"));
    const int over = run.Find("game-over", out);
    ASSERT_EQ(over, out + 240);
    EXPECT_EQ(run.RunLength(over), 180);
    EXPECT_EQ(over + 180, static_cast<int>(run.frames.size()));  // the stage ends with the game
    const TraceFrame& end = run.frames[over];
    EXPECT_TRUE(end.HasText("highscore not beaten!"));
    EXPECT_TRUE(end.HasSound("play 21"));
    if (muted) {
      for (const TraceFrame& frame : run.frames) {
        const auto sounds = frame.lists.find("sounds");
        const auto music = frame.lists.find("music");
        const size_t soundCount = sounds == frame.lists.end() ? 0 : sounds->second.size();
        const size_t musicCount = music == frame.lists.end() ? 0 : music->second.size();
        EXPECT_EQ(soundCount, &frame == &end ? 1u : 0u) << frame.Int("frame");
        EXPECT_EQ(musicCount, 0u) << frame.Int("frame");
      }
    }
  }
}

TEST(Scenario, BothPenguinsInWebsLoseALife) {
  ScenarioOptions options;
  options.stage = true;
  options.args = {"--round", "1", "--place", "464,240,144,176"};  // on round 1's two webs
  options.maxFrames = 400;
  const ScenarioRun run = RunScenario(options);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const int freeze = run.Find("freeze");
  ASSERT_GT(freeze, 0);
  EXPECT_EQ(run.RunLength(freeze), 120);
  EXPECT_EQ(run.frames[freeze].Int("p1.webState"), 2);
  EXPECT_EQ(run.frames[freeze].Int("p2.webState"), 2);
  const int nets = freeze + 120;
  EXPECT_EQ(run.frames[nets].Str("screen"), "nets");
  EXPECT_EQ(run.RunLength(nets), 150);
  EXPECT_TRUE(run.frames[nets].HasText("oops, how clumsy!"));
  EXPECT_TRUE(run.frames[nets].HasText("caught in the nets!"));
  EXPECT_TRUE(run.frames[nets].HasText("you've lost a life!"));
  const TraceFrame& again = run.frames[nets + 150];
  EXPECT_EQ(again.Str("screen"), "round");
  EXPECT_EQ(again.Int("round"), 1);
  EXPECT_EQ(again.Int("lives"), 2);
  EXPECT_EQ(again.Int("p1.webState") + again.Int("p2.webState"), 0);
}

TEST(Scenario, ASpiderCatchesAPenguin) {
  ScenarioOptions options;
  options.stage = true;
  options.args = {"--round", "1", "--place", "464,176,144,368"};  // on the spider's cell
  options.maxFrames = 400;
  const ScenarioRun run = RunScenario(options);
  ASSERT_EQ(run.exitStatus, 0) << run.errorOutput;
  const int freeze = run.Find("freeze");
  ASSERT_GT(freeze, 0);
  EXPECT_EQ(run.frames[freeze].Int("lossReason"), 4);
  EXPECT_EQ(run.RunLength(freeze), 120);
  const int caught = freeze + 120;
  EXPECT_EQ(run.frames[caught].Str("screen"), "caught");
  EXPECT_EQ(run.RunLength(caught), 150);
  EXPECT_TRUE(run.frames[caught].HasText("caught by a spider!"));
  EXPECT_TRUE(run.frames[caught].HasText("you've lost a life!"));
  EXPECT_EQ(run.frames[caught + 150].Int("lives"), 2);
}

}  // namespace
}  // namespace tundrel::scenarios
