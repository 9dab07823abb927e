// The input script: what a good script becomes, and what a bad line is told.
#include <gtest/gtest.h>

#include "engine/platform/input_script.h"

namespace zrb::platform {
namespace {

using Kind = ScriptEvent::Kind;

TEST(InputScript, ParsesEveryKindOfLineInTimeOrder) {
  const char* text =
      "# a comment line\n"
      "\n"
      "1000 close\n"
      "  250.5\tkey Space down   # trailing comment\n"
      "250.5 key 57 up\n"
      "10 joy x -32768\r\n"
      "10 joy y 32768\n"
      "20 joy button1 128\n"
      "20 joy button2 0\n"
      "30 focus lost\n"
      "40 focus gained\n"
      "50 key y down";  // no newline at the end
  std::vector<ScriptEvent> events;
  std::string error;
  ASSERT_TRUE(ParseInputScript(text, "s.txt", &events, &error)) << error;
  ASSERT_EQ(events.size(), 10u);

  EXPECT_EQ(events[0].kind, Kind::kJoyAxis);
  EXPECT_EQ(events[0].code, 0);
  EXPECT_EQ(events[0].value, -32768);
  EXPECT_EQ(events[0].line, 6);
  EXPECT_EQ(events[1].code, 1);
  EXPECT_EQ(events[1].value, 32768);
  EXPECT_EQ(events[2].kind, Kind::kJoyButton);
  EXPECT_EQ(events[2].code, 1);
  EXPECT_EQ(events[2].value, 128);
  EXPECT_EQ(events[3].code, 2);
  EXPECT_EQ(events[4].kind, Kind::kFocus);
  EXPECT_FALSE(events[4].on);
  EXPECT_TRUE(events[5].on);
  EXPECT_EQ(events[6].kind, Kind::kKey);
  EXPECT_EQ(events[6].code, 21);
  EXPECT_DOUBLE_EQ(events[7].ms, 250.5);
  EXPECT_EQ(events[7].code, 57);
  EXPECT_TRUE(events[7].on);  // same time: file order kept
  EXPECT_FALSE(events[8].on);
  EXPECT_EQ(events[9].kind, Kind::kClose);
  EXPECT_EQ(events[9].line, 3);
}

TEST(InputScript, EmptyScriptIsFine) {
  std::vector<ScriptEvent> events{ScriptEvent{}};
  std::string error;
  EXPECT_TRUE(ParseInputScript("", "e.txt", &events, &error));
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(ParseInputScript("# nothing\n\n   \n", "e.txt", &events, &error));
  EXPECT_TRUE(events.empty());
}

TEST(InputScript, BadLinesAreNamedByFileAndLine) {
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"x key Space down", "bad.txt:1: expected a time in milliseconds, not 'x'"},
      {"# ok\n-5 close", "bad.txt:2: expected a time in milliseconds, not '-5'"},
      {"\n\n100", "bad.txt:3: nothing to do at 100 ms"},
      {"100 jump", "bad.txt:1: unknown action 'jump' (key, joy, close or focus)"},
      {"100 close now", "bad.txt:1: 'close' takes nothing after it"},
      {"100 key Space", "bad.txt:1: expected '<ms> key <name|code> down|up'"},
      {"100 key Spacebar down", "bad.txt:1: unknown key name 'Spacebar'"},
      {"100 key 256 down", "bad.txt:1: key code '256' is outside 0..255"},
      {"100 key Space pressed", "bad.txt:1: expected 'down' or 'up', not 'pressed'"},
      {"100 joy x 40000", "bad.txt:1: joypad axis value outside -32768..32768"},
      {"100 joy x left", "bad.txt:1: joypad value 'left' is not a whole number"},
      {"100 joy button1 1", "bad.txt:1: joypad button value must be 0 or 128"},
      {"100 joy z 0", "bad.txt:1: unknown joypad input 'z' (x, y, button1 or button2)"},
      {"100 focus", "bad.txt:1: expected 'focus lost' or 'focus gained'"},
      {"100 focus away", "bad.txt:1: expected 'focus lost' or 'focus gained'"},
      {"1e3 close", "bad.txt:1: expected a time in milliseconds, not '1e3'"},
  };
  for (const auto& c : cases) {
    std::vector<ScriptEvent> events;
    std::string error;
    EXPECT_FALSE(ParseInputScript(c.text, "bad.txt", &events, &error)) << c.text;
    EXPECT_EQ(error, c.message) << c.text;
  }
}

TEST(InputScript, DeliversEachEventOnceWhenItIsDue) {
  std::vector<ScriptEvent> events;
  std::string error;
  ASSERT_TRUE(ParseInputScript("10 key 1 down\n20 key 1 up\n20 close\n", "s", &events, &error));
  SetInputScript(events);
  ScriptEvent event;
  EXPECT_FALSE(InputScriptExhausted());
  EXPECT_FALSE(TakeDueScriptEvent(9.99, &event));
  EXPECT_TRUE(TakeDueScriptEvent(10, &event));
  EXPECT_EQ(event.line, 1);
  EXPECT_FALSE(TakeDueScriptEvent(10, &event));
  EXPECT_TRUE(TakeDueScriptEvent(50, &event));
  EXPECT_TRUE(TakeDueScriptEvent(50, &event));
  EXPECT_EQ(event.kind, Kind::kClose);
  EXPECT_TRUE(InputScriptExhausted());
  EXPECT_FALSE(TakeDueScriptEvent(1e9, &event));
  ClearInputScript();
  EXPECT_TRUE(InputScriptExhausted());
}

TEST(InputScript, AMissingFileIsReported) {
  std::string error;
  EXPECT_FALSE(LoadInputScript("/nonexistent/dir/script.txt", &error));
  EXPECT_NE(error.find("/nonexistent/dir/script.txt"), std::string::npos);
}

}  // namespace
}  // namespace zrb::platform
