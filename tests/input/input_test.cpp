// KeyState and JoystickState on the headless backend: scripted input on the virtual clock.
#include <gtest/gtest.h>

#include "engine/input/input.h"
#include "engine/input/input_system.h"
#include "engine/platform/clock.h"
#include "engine/platform/input_script.h"
#include "engine/platform/live_input.h"

namespace zrb {
namespace {

class HeadlessInputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::SetHeadless(true);
    platform::ClearInputScript();
    input::InitInput({});
  }
  void TearDown() override {
    input::ShutdownInput();
    platform::ClearInputScript();
    input::SetStalledInputHandler(nullptr);
    platform::SetHeadless(false);
  }
  void Script(const char* text) {
    std::vector<platform::ScriptEvent> events;
    std::string error;
    ASSERT_TRUE(platform::ParseInputScript(text, "test", &events, &error)) << error;
    platform::SetInputScript(events);
  }
  // A presented frame, as far as input is concerned.
  void Frame(double ms) {
    platform::AdvanceVirtualClockTo(ms);
    input::NoteWait();
    input::SampleForFrame();
  }
};

TEST_F(HeadlessInputTest, OnlyTheLowEightBitsOfTheCodeCount) {
  Script("0 key Left down");
  EXPECT_EQ(KeyState(203), 1);
  EXPECT_EQ(KeyState(256 + 203), 1);
  EXPECT_EQ(KeyState(-256 + 203), 1);
  EXPECT_EQ(KeyState(205), 0);
}

TEST_F(HeadlessInputTest, AShortTapBetweenTwoLooksStillReadsAsOnePress) {
  Script("10 key Y down\n10.5 key Y up");
  Frame(20);  // both events were taken before the game looked
  EXPECT_EQ(KeyState(21), 1);
  EXPECT_EQ(KeyState(21), 0);  // read once
}

TEST_F(HeadlessInputTest, AnUnreadTapExpiresAfterAFrameSoItCannotAnswerALaterQuestion) {
  Script("10 key Y down\n10.5 key Y up");
  Frame(16);  // the tap is taken here...
  Frame(33);  // ...survives one whole frame...
  Frame(50);  // ...and is gone after that
  EXPECT_EQ(KeyState(21), 0);
}

TEST_F(HeadlessInputTest, ATapSurvivesTheFrameBoundaryItCameBefore) {
  Script("20 key N down\n21 key N up");
  Frame(16);
  Frame(33);  // taken in this frame's pump
  EXPECT_EQ(KeyState(49), 1);
}

TEST_F(HeadlessInputTest, WhileTheWindowIsInactiveTheAnswersStayAsTheyWere) {
  Script("0 key Left down\n10 focus lost\n20 key Left up\n20 key Right down\n40 focus gained");
  EXPECT_EQ(KeyState(203), 1);
  Frame(30);
  EXPECT_EQ(KeyState(203), 1);
  EXPECT_EQ(KeyState(205), 0);
  Frame(50);
  EXPECT_EQ(KeyState(203), 0);
  EXPECT_EQ(KeyState(205), 1);
}

TEST_F(HeadlessInputTest, FrameSampleSeesHeldKeysAndPressesWithoutUsingThemUp) {
  Script("5 key Escape down\n6 key Escape up\n7 key LAlt down");
  Frame(10);
  EXPECT_TRUE(input::KeyDownInFrameSample(1));
  EXPECT_TRUE(input::KeyDownInFrameSample(56));
  EXPECT_TRUE(input::KeyDownInFrameSample(256 + 56));
  EXPECT_FALSE(input::KeyDownInFrameSample(62));
  EXPECT_EQ(KeyState(1), 1);  // still there for the game
}

TEST_F(HeadlessInputTest, JoystickAxesAreCutTowardZeroAtThirtyThousand) {
  double x = 9, y = 9, b1 = 9, b2 = 9;
  JoystickState(x, y, b1, b2);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(b1, 0);
  EXPECT_EQ(b2, 0);

  Script(
      "0 joy x 30000\n0 joy y -30000\n0 joy button1 128\n"
      "10 joy x 29999\n10 joy y -29999\n10 joy button1 0\n10 joy button2 128\n"
      "20 joy x 32768\n20 joy y -32768\n30 focus lost");
  JoystickState(x, y, b1, b2);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, -1);
  EXPECT_EQ(b1, 128);
  EXPECT_EQ(b2, 0);
  Frame(10);
  JoystickState(x, y, b1, b2);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(b1, 0);
  EXPECT_EQ(b2, 128);
  Frame(20);
  JoystickState(x, y, b1, b2);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, -1);
  Frame(30);  // in the background the joypad reads as centred
  JoystickState(x, y, b1, b2);
  EXPECT_EQ(x, 0);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(b2, 0);
}

}  // namespace
}  // namespace zrb
